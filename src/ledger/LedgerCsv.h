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
/// integers, dates as yyyy-MM-dd; the status as issueStatusText gives it on `today`.
QStringList ledgerRowCells(const IssuedInvoice &row, qint64 paid, const QDate &today = QDate::currentDate());

/// The status of an issue as the window, the download and the listing all show it: what the
/// payments give, past due on `today`, issued again, and its number clash if any.
QString issueStatusText(const IssuedInvoice &row, qint64 paid, const QDate &today);
/// The cells of a number taken and never used, in the columns of ledgerColumnTitles.
QStringList unusedNumberCells(const LedgerEntry &unused);

/// One CSV field: quoted when it holds a comma, a quote, a line break or leading/trailing space,
/// with quotes doubled.
QString csvField(const QString &text);
/// A text cell a spreadsheet will not take for a formula: one that begins with =, +, -, @, a tab
/// or a carriage return gets a leading apostrophe, as spreadsheet makers recommend.
QString inertCell(const QString &text);
/// The text with what a terminal would obey rather than show made visible: control characters
/// as \x1b, format controls (bidi overrides) and line separators as \u202e.
QString visiblyEscaped(const QString &text);
/// The rows found as CSV: a UTF-8 byte order mark (so spreadsheet programs read it as UTF-8),
/// the header line, then one line per issue, lines ended by CRLF. Text cells are made inert;
/// amounts, entry numbers and dates stay plain.
QByteArray ledgerCsv(const LedgerPage &found, const QDate &today = QDate::currentDate());

/// The same rows as a plain text table for a terminal, columns padded to their display width,
/// every cell visibly escaped.
QString ledgerTextTable(const LedgerPage &found, const QDate &today = QDate::currentDate());

} // namespace seikyu
