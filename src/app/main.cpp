#include "app/Application.h"
#include "app/DocumentController.h"
#include "app/EInvoiceRecording.h"
#include "app/Translations.h"
#include "einvoice/EInvoiceBatch.h"
#include "einvoice/UblValidation.h"
#include "ledger/IssueLedger.h"
#include "ledger/LedgerCommandLine.h"
#include "ledger/MonthlyInvoice.h"
#include "ledger/SharedNumberHook.h"
#include "output/BatchExport.h"
#include "output/GlyphLookup.h"
#include "update/UpdateChecker.h"
#include "widgets/Prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <thread>

namespace {

/// Whether the command line writes e-invoices, which are validated against a schema that takes a
/// while to compile.
bool writesEInvoices(int argc, char *argv[])
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--export-ubl") == 0 || std::strncmp(argv[i], "--export-ubl=", 13) == 0 ||
            std::strcmp(argv[i], "--attach-ubl") == 0)
            return true;
    }
    return false;
}

/// Whether the command line asks for something that needs no window: the headless export, or
/// only the help or version text. Checked before the application object exists, because that is
/// when the windowing platform is chosen.
bool needsNoWindow(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!seikyu::misplacedLedgerOption(arguments).isEmpty())
        return true; // told on the command line, as the ledger's own options are
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            break;
        if (std::strcmp(arg, "--export-pdf") == 0 || std::strncmp(arg, "--export-pdf=", 13) == 0 ||
            std::strcmp(arg, "--export-ubl") == 0 || std::strncmp(arg, "--export-ubl=", 13) == 0 ||
            std::strcmp(arg, "--attach-ubl") == 0 || std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0 ||
            std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "-v") == 0 || std::strcmp(arg, "--ledger") == 0 ||
            std::strcmp(arg, "--monthly-invoice") == 0 || std::strncmp(arg, "--ledger-setup", 14) == 0)
            return true;
    }
    return false;
}

QtMessageHandler platformHandler = nullptr;

/// Qt's platform chatter (no runtime folder, what the offscreen platform cannot do) says nothing
/// about the invoices; printed by a window-less run, a script's user takes it for errors.
bool isPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        return false;
    if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0)
        return true;
    // On the command line every failure is told as one line of its own; the ledger's log of the
    // same failure would only repeat it (QT_LOGGING_RULES brings it back for a diagnosis).
    if (context.category && std::strncmp(context.category, "seikyu.", 7) == 0 &&
        !qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        return true;
    for (const char *noise :
         {"QStandardPaths: XDG_RUNTIME_DIR not set", "QStandardPaths: runtime directory",
          "QStandardPaths: wrong permissions on runtime directory", "This plugin does not support",
          // The driver's own word on a statement of a transaction the server refused, which is told.
          "Unable to free statement"}) {
        if (message.startsWith(QLatin1String(noise)))
            return true;
    }
    return false;
}

/// A command-line export makes and frees a PDF's buffers, its font's subset among them, for each
/// invoice on each worker thread: glibc gave that memory back to the system after each and faulted
/// it in again for the next (a sixth of a batch's processor time went into the kernel). The process
/// ends with its batch, so it keeps what it freed.
void keepFreedMemory()
{
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TOP_PAD, 64 * 1024 * 1024);
#endif
}

void withoutPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isPlatformNoise(type, context, message))
        return;
    if (platformHandler)
        platformHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char *argv[])
{
    const bool headless = needsNoWindow(argc, argv);
    if (headless)
        platformHandler = qInstallMessageHandler(withoutPlatformNoise);
    if (headless && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        // Exporting draws into PDF only: the offscreen platform renders the same page and needs no
        // display, so an accountant's script runs on a server, over ssh or from cron alike.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    const bool hasDisplay = qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                            qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!hasDisplay) {
        // Told in the user's language, which needs an application object but no display.
        QCoreApplication core(argc, argv);
        seikyu::installTranslations(core);
        std::fprintf(stderr, "%s\n",
                     QCoreApplication::translate("main",
                                                 "Seikyu needs a graphical display, and none was found (DISPLAY and "
                                                 "WAYLAND_DISPLAY are not set).\nStart it from a desktop session, or "
                                                 "under a virtual display: xvfb-run -a seikyu\nTo turn invoice files "
                                                 "into PDFs without a display: seikyu --export-pdf OUT FILE…")
                         .toLocal8Bit()
                         .constData());
        return 1;
    }

    // A run without a window makes no widget: the lighter application object for the GUI is all the
    // export needs (fonts and painting), and a widget made by mistake fails loudly.
    std::unique_ptr<QGuiApplication> application =
        headless ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    QGuiApplication &app = *application;
    // Compiled on a core of its own while the application sets itself up (after the application
    // object, which must be made on this thread, the main one); joined before the program ends.
    std::jthread schema;
    if (writesEInvoices(argc, argv))
        schema = std::jthread([] { seikyu::ublSchemaCompiles(); });
    seikyu::configureApplication(app);
    seikyu::installSharedNumbers();
    // The administrator's command concerns the server alone, not this computer's ledger.
    if (seikyu::isLedgerSetupCommand(QCoreApplication::arguments()))
        return seikyu::runLedgerSetupCommand(QCoreApplication::arguments());
    // What an earlier run left half done (killed while issuing, or the ledger busy) is completed
    // first, whatever is asked now.
    seikyu::IssueLedger::instance().settlePending();
    if (seikyu::isMonthlyInvoiceCommand(QCoreApplication::arguments()))
        return seikyu::runMonthlyInvoiceCommand(QCoreApplication::arguments());
    if (seikyu::isLedgerCommand(QCoreApplication::arguments()))
        return seikyu::runLedgerCommand(QCoreApplication::arguments());
    if (const QString misplaced = seikyu::misplacedLedgerOption(QCoreApplication::arguments()); !misplaced.isEmpty()) {
        std::fprintf(stderr, "seikyu: %s\n", misplaced.toLocal8Bit().constData());
        return 2;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("main", "Japanese invoices (請求書) as PDF"));
    // Qt's own help option describes itself in English whatever the language.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QCoreApplication::translate("main", "Show this help and exit."));
    parser.addOption(helpOption);
    parser.addVersionOption();
    const QCommandLineOption exportOption(
        QStringLiteral("export-pdf"),
        QCoreApplication::translate("main", "Export each invoice FILE as a PDF into the folder OUT (OUT/<name>.pdf), "
                                            "without opening a window. With one FILE, OUT may be the PDF's name."),
        QStringLiteral("OUT"));
    parser.addOption(exportOption);
    const QCommandLineOption attachOption(
        QStringLiteral("attach-ubl"),
        QCoreApplication::translate("main",
                                    "With --export-pdf: write PDF/A-3 files that carry the JP PINT e-invoice."));
    parser.addOption(attachOption);
    const QCommandLineOption ublOption(
        QStringLiteral("export-ubl"),
        QCoreApplication::translate("main", "Export each invoice FILE as a JP PINT e-invoice into the folder OUT "
                                            "(OUT/<name>.xml), without opening a window. With one FILE, OUT may be the "
                                            "XML's name."),
        QStringLiteral("OUT"));
    parser.addOption(ublOption);
    const QCommandLineOption reissueOption(
        QStringLiteral("reissue"),
        QCoreApplication::translate("main",
                                    "With --export-pdf or --export-ubl: an invoice whose number the ledger holds "
                                    "for another invoice is issued as the correction of that invoice. Without "
                                    "it, such a file is not exported."));
    parser.addOption(reissueOption);
    parser.addOption(QCommandLineOption(
        QStringLiteral("ledger"),
        QCoreApplication::translate(
            "main", "Print the ledger of issued invoices, newest first, and exit. Narrowed by "
                    "--from YYYY-MM-DD, --to YYYY-MM-DD, --customer TEXT, --min YEN, --max YEN, "
                    "--unpaid and --kind invoice|quote|delivery|receipt; --csv prints CSV, --verify checks the "
                    "ledger instead; --recover FILE "
                    "brings the readable entries of a damaged ledger back.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("ledger-setup"),
        QCoreApplication::translate("main", "Set up the shared ledger on its PostgreSQL server, connecting with the "
                                            "administrator's connection text ADMIN_URI: the tables belong to the "
                                            "administrator's role, and the office's role (the next argument) may only "
                                            "read them, add entries and take numbers. Takes an existing ledger over, "
                                            "keeping every entry."),
        QStringLiteral("ADMIN_URI")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("monthly-invoice"),
        QCoreApplication::translate("main",
                                    "Write the month's statement (合計請求書) of a customer as the invoice file "
                                    "OUT, from the ledger: --customer NAME --period YYYY-MM-DD..YYYY-MM-DD, "
                                    "with --one-line-per-slip to list each delivery slip as one line."),
        QStringLiteral("OUT")));
    parser.addPositionalArgument(QStringLiteral("FILE"), QCoreApplication::translate("main", "Invoice files to open."),
                                 QStringLiteral("[FILE…]"));
    parser.process(app);
    if (parser.isSet(helpOption))
        parser.showHelp(0);

    if (parser.isSet(attachOption) && !parser.isSet(exportOption)) {
        std::fprintf(
            stderr, "seikyu: %s\n",
            QCoreApplication::translate("main", "--attach-ubl goes with --export-pdf OUT.").toLocal8Bit().constData());
        return 2;
    }
    if (parser.isSet(reissueOption) && !parser.isSet(exportOption) && !parser.isSet(ublOption)) {
        std::fprintf(stderr, "seikyu: %s\n",
                     QCoreApplication::translate("main", "--reissue goes with --export-pdf OUT or --export-ubl OUT.")
                         .toLocal8Bit()
                         .constData());
        return 2;
    }
    if (parser.isSet(exportOption) || parser.isSet(ublOption)) {
        seikyu::useGlyphLookupTables();
        keepFreedMemory();
        seikyu::recordEInvoicesInLedger(true);
        seikyu::IssueLedger::instance().setReissues(parser.isSet(reissueOption));
        QStringList messages;
        const int status =
            parser.isSet(ublOption)
                ? seikyu::exportInvoicesAsUbl(parser.value(ublOption), parser.positionalArguments(), &messages)
                : seikyu::exportInvoicesAsPdf(parser.value(exportOption), parser.positionalArguments(), &messages,
                                              parser.isSet(attachOption));
        for (const QString &line : std::as_const(messages))
            std::fprintf(stderr, "seikyu: %s\n", line.toLocal8Bit().constData());
        return status;
    }
    if (headless) {
        // Only reachable when the platform was chosen for a window-less run that then asked for
        // nothing to do; opening windows on the offscreen platform would show nothing.
        return 0;
    }

    seikyu::recordEInvoicesInLedger(false);
    seikyu::DocumentController controller;
    const int recovered = controller.recoverDocuments();
    int opened = 0;
    for (const QString &path : parser.positionalArguments()) {
        if (controller.openFile(path))
            ++opened;
    }
    if (opened == 0 && recovered == 0)
        controller.newDocument();
    if (recovered > 0) {
        QTimer::singleShot(0, &controller, [recovered] {
            seikyu::Prompter::instance().inform(
                nullptr,
                QCoreApplication::translate("main", "Seikyu recovered %n unsaved invoice(s).", nullptr, recovered),
                QCoreApplication::translate("main", "Seikyu did not close properly last time. The invoices you had not "
                                                    "saved are open again; save the ones you want to keep."));
        });
    }

    auto *updates = new seikyu::UpdateChecker(&app);
    updates->start();

    if (qEnvironmentVariableIsSet("SEIKYU_QUIT_WHEN_SHOWN")) {
        // Used by the benchmark: the first invoice window is up, so stop here.
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QCoreApplication::exec();
}
