#pragma once

#include <QDate>
#include <QString>

namespace seikyu {

/// The pattern new invoice numbers follow unless the user sets another: the year of the invoice
/// date and a sequence of four digits, "2026-0012".
inline const QString DefaultNumberPattern = QStringLiteral("{yyyy}-{0000}");

/// A number proposed for an invoice, and where it counts.
struct NumberProposal
{
    QString text;        ///< the number as the page shows it after "No.", "2026-0012"
    QString counter;     ///< the sequence it belongs to (see numberCounter)
    qint64 sequence = 1; ///< its place in that sequence
    bool shared = false; ///< taken from the office's sequence on the shared ledger's server
};

/// The sequence a number for an invoice dated `date` counts in. A pattern that holds the year
/// counts each year of the invoice date on its own ("2026"), so the first invoice dated in a new
/// year starts again at 1, and one dated back in the old year goes on with the old year's count.
/// A pattern without the year counts on for ever ("all").
QString numberCounter(const QString &pattern, const QDate &date);

/// The number that follows `lastUsed` in the date's sequence. The pattern's fields, in braces:
///   {yyyy}  the invoice date's year, four digits      {yy}  its last two digits
///   {0000}  the sequence, padded with zeros to as many digits as there are zeros ({0}: unpadded)
/// Every other character, braces that make no field included, is kept as written. A pattern
/// without a sequence field gets {0000} at its end, so that no two proposals are alike; an empty
/// pattern is the default one.
NumberProposal proposeNumber(const QString &pattern, const QDate &date, qint64 lastUsed);

} // namespace seikyu
