#pragma once

#include "ledger/LedgerEntry.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace seikyu {

/// Where an issued invoice stands with its payments.
enum class PaymentStatus { Unpaid, PartlyPaid, Paid, Voided };

/// The status the payments give: Voided when the issue was voided; Paid once the payments reach
/// the amount (an invoice that asks for nothing is Paid); PartlyPaid with some payment; else Unpaid.
PaymentStatus statusOf(qint64 amount, qint64 paid, bool voided);
/// 未入金, 一部入金, 入金済, 取消 (translated).
QString statusText(PaymentStatus status);
/// Unpaid or partly paid, with a due date before `today`.
bool isPastDue(PaymentStatus status, const QDate &dueDate, const QDate &today);

/// What a search asks for; every condition given must hold. Ranges include both ends.
struct LedgerFilter
{
    std::optional<QDate> from; ///< invoice date on or after
    std::optional<QDate> to;   ///< invoice date on or before
    std::optional<qint64> minAmount;
    std::optional<qint64> maxAmount;
    QString customer;             ///< part of the customer's name, compared as foldForSearch compares
    QString number;               ///< part of the invoice number, compared the same way
    QSet<PaymentStatus> statuses; ///< empty: any status
    bool pastDueOnly = false;
    qint64 issueId = 0; ///< only the issue entry of this id, when not 0
    QDate today;        ///< for past due; the current date when invalid

    /// Unpaid or partly paid.
    static QSet<PaymentStatus> outstanding() { return {PaymentStatus::Unpaid, PaymentStatus::PartlyPaid}; }
};

/// One issue entry with what later entries say of it.
struct IssuedInvoice
{
    LedgerEntry issue;
    QDate date;          ///< the invoice date, or the day it was recorded when it has none
    bool voided = false; ///< this issue entry was voided
    QString voidReason;
    bool superseded = false; ///< the same invoice was issued again later
    QString numberFolded;
};

/// The sums of what a search shows. An invoice issued more than once counts once (its latest
/// issue), and voided issues count for nothing.
struct LedgerTotals
{
    int count = 0;
    qint64 amount = 0;
    qint64 outstanding = 0; ///< what is still to be paid of the unpaid and partly paid
};

/// Every issued invoice of a ledger with its payments, fed the entries in the order recorded.
/// As entries are never changed, feeding the ones recorded since keeps it up to date.
class LedgerIndex
{
public:
    void add(const LedgerEntry &entry);
    qint64 lastId() const { return m_lastId; }
    int size() const { return int(m_rows.size()); }
    const IssuedInvoice &at(int position) const { return m_rows[size_t(position)]; }
    /// The position of an issue entry, or -1.
    int positionOfIssue(qint64 id) const { return m_positionOfIssue.value(id, -1); }

    /// The amount received against the invoice the issue belongs to, voided payments left out.
    qint64 paid(const IssuedInvoice &row) const { return m_paidByInvoice.value(row.issue.invoiceId); }
    PaymentStatus status(const IssuedInvoice &row) const;
    /// The payments recorded against the invoice, oldest first, voided ones left out.
    QList<LedgerEntry> payments(const IssuedInvoice &row) const;

    /// The positions of the issues that match, newest first.
    QList<int> search(const LedgerFilter &filter) const;
    LedgerTotals totals(const QList<int> &positions) const;

private:
    std::vector<IssuedInvoice> m_rows;
    QHash<qint64, int> m_positionOfIssue;
    QHash<qint64, qint64> m_paidByInvoice;
    QHash<qint64, LedgerEntry> m_payments; ///< by id, until voided
    qint64 m_lastId = 0;
};

} // namespace seikyu
