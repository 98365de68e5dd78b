#pragma once

#include "invoice/Invoice.h"
#include "ledger/LedgerChain.h"
#include "ledger/LedgerEntry.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace seikyu {

/// What the ledger gives a month's statement for one customer and period: the balance carried from
/// the previous statement and the delivery slips still to bill.
struct StatementPlan
{
    StatementFacts facts;
    QList<LedgerEntry> slips;     ///< the slips' issues, by date and number
    qint64 previousStatement = 0; ///< the previous statement's issue; 0 for the customer's first
    /// A statement already recorded for the customer whose period overlaps this one: made again,
    /// the balance it carried would be billed twice.
    std::optional<LedgerEntry> overlapping;
};

/// The plan from every entry of the ledger.
///
/// 前回御請求額 is what the customer owed when the previous statement (the latest closing before
/// `from`) was recorded: every invoice recorded up to it, less the payments recorded before it.
/// 御入金額 is what was paid against those invoices since. A customer's first statement carries
/// nothing. The slips are the customer's delivery slips dated in the period that no statement bills
/// (a voided statement bills nothing); a slip issued again counts once, as its latest issue.
/// Customers are the same when their names fold to the same text without spaces.
StatementPlan planStatement(const QList<LedgerEntry> &entries, const QString &customer, const QDate &from,
                            const QDate &to);

/// Standing monthly invoices of one customer that bill part of the same period: each
/// later one (entryId) with the earlier it overlaps (otherEntryId). Both were recorded when two were
/// issued at the same moment, or one was issued while another waited to be sent to the ledger; the
/// deliveries are then owed twice until one is voided.
QList<ChainProblem> statementOverlaps(const QList<LedgerEntry> &entries);

/// How a statement's issue names what it bills in its entry: the period on the first line, then
/// each slip's number (or #id for a slip without one) on a line of its own.
QString statementNote(const StatementFacts &statement);
/// The period and slips a statement's note names; nothing for any other note.
std::optional<StatementFacts> statementOfNote(const QString &note);

/// How an issue names the document it was made from: "見積書 No. Q2026-0001 から".
QString madeFromNote(const QString &document);

/// How a statement names a slip: its number, or "#" and its entry's id when it has none.
QString slipReference(const LedgerEntry &slip);

/// A slip as the ledger recorded it, as a one-line-per-rate document: its date and number, and for
/// each rate a line "納品書 No. …" of that rate's amount. A slip recorded without its sums is one
/// line of its amount at the standard rate, the tax added.
Invoice slipFromEntry(const LedgerEntry &slip);

} // namespace seikyu
