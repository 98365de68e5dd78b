#include "FuzzSupport.h"

#include "app/Application.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace seikyu::fuzz {

namespace {

void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // Millions of inputs would otherwise drown the fuzzer's own report in Qt's warnings about
    // malformed images; only a fatal message matters, and it must still end the run.
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

void startApplication()
{
    static QTemporaryDir *home = nullptr;
    if (home)
        return;
    home = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/seikyu-fuzz-XXXXXX"));
    if (!home->isValid())
        std::abort();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home->filePath(QStringLiteral("data"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home->filePath(QStringLiteral("cache"))));
    qputenv("HOME", QFile::encodeName(home->path()));
    if (!qEnvironmentVariableIsSet("SEIKYU_FUZZ_VERBOSE"))
        qInstallMessageHandler(quietMessages);

    // The application object must outlive every input; libFuzzer never returns to a point where
    // it could be destroyed cleanly, so it is deliberately left alive until the process ends.
    static int argc = 1;
    static char name[] = "seikyu-fuzz";
    static char *argv[] = {name, nullptr};
    auto *app = new QApplication(argc, argv);
    configureApplication(*app);
    forgetSettings();
}

void forgetSettings()
{
    QSettings settings;
    settings.clear();
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace seikyu::fuzz
