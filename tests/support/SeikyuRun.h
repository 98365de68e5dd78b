// Runs the seikyu program the build made, as a person would from a terminal.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace seikyu::test {

/// What one run of seikyu did: its exit status (-1 when it did not finish) and what it wrote.
struct SeikyuRun
{
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray rawOut; ///< the standard output as written, a byte order mark and all
};

/// The seikyu to run (SEIKYU_BINARY), or empty where the test environment names none.
QString seikyuBinary();
/// Runs seikyu with `arguments`, the test's environment changed by `environment` (a null value
/// removes the variable), for a minute at most.
SeikyuRun runSeikyu(const QStringList &arguments, const QHash<QString, QString> &environment = {});

/// The same with no display to show a window on, as from a terminal without one.
SeikyuRun runSeikyuWithoutDisplay(const QStringList &arguments, QHash<QString, QString> environment = {});

} // namespace seikyu::test
