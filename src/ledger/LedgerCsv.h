#pragma once

#include "ledger/LedgerSearch.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace seikyu {

/// The columns of the ledger's download and listing, in order.
QStringList ledgerColumnTitles();
/// One issue's cells in those columns, with what was received against it: amounts as plain
/// integers, dates as yyyy-MM-dd.
QStringList ledgerRowCells(const IssuedInvoice &row, qint64 paid);

/// One CSV field: quoted when it holds a comma, a quote, a line break or leading/trailing space,
/// with quotes doubled.
QString csvField(const QString &text);
/// The rows found as CSV: a UTF-8 byte order mark (so spreadsheet programs read it as UTF-8),
/// the header line, then one line per issue, lines ended by CRLF.
QByteArray ledgerCsv(const LedgerPage &found);

/// The same rows as a plain text table for a terminal, columns padded to their display width.
QString ledgerTextTable(const LedgerPage &found);

} // namespace seikyu
