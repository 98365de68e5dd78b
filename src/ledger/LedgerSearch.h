#pragma once

#include "ledger/LedgerEntry.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <optional>

namespace seikyu {

/// Where an issued invoice stands with its payments.
enum class PaymentStatus {
    Unpaid,
    PartlyPaid,
    Paid,
    Voided,
    NotOwed, ///< a quotation, delivery slip or receipt: recorded, never paid
};

/// The status the payments give: Voided when the issue was voided; NotOwed for a document that is
/// no invoice; Paid once the payments reach the amount (an invoice that asks for nothing is Paid);
/// PartlyPaid with some payment; else Unpaid.
PaymentStatus statusOf(qint64 amount, qint64 paid, bool voided, DocumentKind document = DocumentKind::Invoice);
/// 未入金, 一部入金, 入金済, 取消, 請求対象外 (translated).
QString statusText(PaymentStatus status);
/// 請求書, 見積書, 納品書, 領収書 (translated).
QString documentKindName(DocumentKind kind);
/// Unpaid or partly paid, with a due date before `today`.
bool isPastDue(PaymentStatus status, const QDate &dueDate, const QDate &today);

/// What a search asks for; every condition given must hold. Ranges include both ends. Every member
/// has an initializer, so that a filter written with designated initializers names only what it asks.
struct LedgerFilter
{
    std::optional<QDate> from{}; ///< invoice date on or after
    std::optional<QDate> to{};   ///< invoice date on or before
    std::optional<qint64> minAmount{};
    std::optional<qint64> maxAmount{};
    QString customer{};                     ///< part of the customer's name, folded (foldForSearch), spaces ignored
    QString number{};                       ///< part of the invoice number, compared the same way
    QSet<PaymentStatus> statuses{};         ///< empty: any status
    std::optional<DocumentKind> document{}; ///< only issues of this kind of document
    bool pastDueOnly = false;
    bool latestIssuesOnly = false; ///< leaves out issues superseded by a later issue of the same invoice
    qint64 issueId = 0;            ///< only the issue entry of this id, when not 0
    QDate today{};                 ///< for past due; the current date when invalid

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
    qint64 clashesWith = 0; ///< the first issue of another invoice that carries the same number
};

/// The sums of what a search shows. An invoice issued more than once counts once (its latest
/// issue), and voided issues count for nothing. The amount is the invoices' unless the search asks
/// for one kind of document: a quotation, a delivery slip or a receipt repeats what an invoice bills.
struct LedgerTotals
{
    int count = 0;
    qint64 amount = 0;
    qint64 outstanding = 0; ///< what is still to be paid of the unpaid and partly paid
};

/// One page of what a search found in the database, with the sums over everything it found.
struct LedgerPage
{
    QList<IssuedInvoice> rows; ///< in the order asked for, at most the limit asked for
    QList<qint64> paid;        ///< what was received against each row's invoice
    LedgerTotals totals;       ///< over every issue found, not only this page
    /// Numbers taken and never used, with why, in the dates and numbers searched (first page only;
    /// none when the search asks for customers, amounts or a payment status, which they have not).
    QList<LedgerEntry> unused;
};

/// What a search's rows are ordered by. Ties go newest recorded first, whichever way.
enum class LedgerOrder { Recorded, Date, Number, Customer, Amount, Due, Paid, Status, Document };

/// Which rows of a search to read: `limit` rows from `offset`, in this order.
struct LedgerSlice
{
    LedgerOrder order = LedgerOrder::Recorded;
    bool descending = true;
    int offset = 0;
    int limit = 200;
};

} // namespace seikyu
