#include "support/SeikyuRun.h"

#include <QProcess>

namespace seikyu::test {

QString seikyuBinary()
{
    return qEnvironmentVariable("SEIKYU_BINARY");
}

SeikyuRun runSeikyu(const QStringList &arguments, const QHash<QString, QString> &environment)
{
    QProcess process;
    QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.cbegin(); it != environment.cend(); ++it) {
        if (it.value().isNull())
            changed.remove(it.key());
        else
            changed.insert(it.key(), it.value());
    }
    process.setProcessEnvironment(changed);
    process.start(seikyuBinary(), arguments);
    SeikyuRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.rawOut = process.readAllStandardOutput();
    run.out = QString::fromLocal8Bit(run.rawOut);
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

SeikyuRun runSeikyuWithoutDisplay(const QStringList &arguments, QHash<QString, QString> environment)
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.insert(QString::fromLatin1(name), QString());
    return runSeikyu(arguments, environment);
}

} // namespace seikyu::test
