#include "app/Application.h"
#include "app/DocumentController.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const bool hasDisplay = qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                            qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!hasDisplay) {
        std::fprintf(stderr, "Seikyu needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are "
                             "not set).\nStart it from a desktop session, or under a virtual display: "
                             "xvfb-run -a seikyu\n");
        return 1;
    }

    QApplication app(argc, argv);
    seikyu::configureApplication(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("main", "Japanese invoices (請求書) as PDF"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"), QApplication::translate("main", "Invoice files to open."),
                                 QStringLiteral("[FILE…]"));
    parser.process(app);

    seikyu::DocumentController controller;
    int opened = 0;
    for (const QString &path : parser.positionalArguments()) {
        if (controller.openFile(path))
            ++opened;
    }
    if (opened == 0)
        controller.newDocument();
    return QApplication::exec();
}
