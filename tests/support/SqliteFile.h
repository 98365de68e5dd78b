// A ledger's SQLite file worked on straight, as another program or a failing disk could.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace seikyu::test {

/// Runs `statements` on the file at `path` in turn: the first error, or empty. `value`, when given,
/// takes the first column of the last statement's first row.
QString onSqliteFile(const QString &path, const QStringList &statements, qint64 *value = nullptr);
/// The first column of the first row `statement` gives on the file, or 0.
qint64 sqliteValue(const QString &path, const QString &statement);
/// Overwrites the page of the index on invoice numbers, but for its header, with `bytes`: the
/// file is damaged while every entry still reads.
void overwriteIndexPage(const QString &path, const QByteArray &bytes);

} // namespace seikyu::test
