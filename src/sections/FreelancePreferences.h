#pragma once

#include "sections/DueDate.h"
#include "sections/InvoiceNumber.h"

namespace seikyu {

/// The user's settings for the parts of an invoice that freelancers use: the invoice-number pattern
/// and its counters, the usual payment term, and whether Duplicate keeps the sums. Kept in the
/// per-user settings; a missing or damaged value reads as the default.
namespace FreelancePreferences {

/// The longest pattern kept; a longer stored one is taken for damage.
inline constexpr int MaximumPatternLength = 64;
/// The largest sequence number kept; a larger stored one is taken for damage.
inline constexpr qint64 MaximumSequence = 999999999;

QString numberPattern();
void setNumberPattern(const QString &pattern);

/// A sequence of numbers of its own, for a kind of document beside the invoice (quotations,
/// delivery slips, receipts): its name, which prefixes its counters, and the pattern it follows
/// unless the user set another. The invoices' sequence has no name.
struct NumberSequenceName
{
    QString key;
    QString defaultPattern;
};

/// The pattern of a sequence: the invoices' (numberPattern()), or a named one's.
QString numberPatternOf(const NumberSequenceName &sequence);
void setNumberPatternOf(const NumberSequenceName &sequence, const QString &pattern);

/// The number proposed for an invoice (or a document of the sequence) dated `invoiceDate`: the one
/// after the last used in its sequence.
NumberProposal nextNumber(const QDate &invoiceDate, const NumberSequenceName &sequence = {});
/// Records that a proposed number went onto an invoice: its sequence moves on past it (never back).
void useNumber(const NumberProposal &proposal);
/// Gives a used number back to its sequence when it is still the last one used there; false otherwise.
bool giveBackNumber(const NumberProposal &proposal);
/// Sets where the sequence of `invoiceDate` goes on, for a user who starts numbering mid-way.
void setNextSequence(const QDate &invoiceDate, qint64 next);

DueRule dueRule();
void setDueRule(const DueRule &rule);

/// Whether the money the user's receipts acknowledge is received in the course of business, so
/// that a paper receipt may need a revenue stamp (on unless the user is outside business, 営業に関しない).
bool receiptsInBusiness();
void setReceiptsInBusiness(bool inBusiness);

bool duplicateKeepsSums();
void setDuplicateKeepsSums(bool keep);
/// Whether Duplicate moves the rows' dates with the invoice date (on unless the user turned it off).
bool duplicateMovesRowDates();
void setDuplicateMovesRowDates(bool move);

} // namespace FreelancePreferences

} // namespace seikyu
