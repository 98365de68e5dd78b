#include "ledger/LedgerCommandLine.h"

#include "invoice/InvoiceFile.h"
#include "ledger/FilterText.h"
#include "ledger/IssueLedger.h"
#include "ledger/LedgerCsv.h"
#include "ledger/LedgerRoles.h"
#include "ledger/LedgerSetup.h"
#include "ledger/LedgerSqlSearch.h"
#include "ledger/MonthlyInvoice.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <limits>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "LedgerCommandLine", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(LedgerCommandLine)
};

/// The options that only narrow or change what --ledger does.
const QStringList &ledgerOptions()
{
    static const QStringList options{QStringLiteral("--from"), QStringLiteral("--to"),     QStringLiteral("--customer"),
                                     QStringLiteral("--min"),  QStringLiteral("--max"),    QStringLiteral("--unpaid"),
                                     QStringLiteral("--csv"),  QStringLiteral("--verify"), QStringLiteral("--recover"),
                                     QStringLiteral("--kind")};
    return options;
}

/// Far longer than any customer's name; a longer text is a mistake, refused before the database sees it.
constexpr qsizetype LongestCustomer = 1000;

void print(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

/// seikyu --ledger --recover FILE
int recoverLedger(IssueLedger &ledger, const QString &file)
{
    QString aside;
    const LedgerRecovery done = ledger.recover(file, &aside);
    for (const QString &line : describeRecovery(done, aside))
        print(stdout, (line + QLatin1Char('\n')).toLocal8Bit());
    if (!done.error.isEmpty())
        print(stderr, QStringLiteral("seikyu: %1\n").arg(done.error.simplified()).toLocal8Bit());
    return done.error.isEmpty() && done.notTaken.isEmpty() ? 0 : 1;
}

} // namespace

bool commandLineAsks(const QStringList &arguments, QLatin1String option)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument == option)
            return true;
    }
    return false;
}

bool isLedgerCommand(const QStringList &arguments)
{
    return commandLineAsks(arguments, QLatin1String("--ledger"));
}

QString misplacedLedgerOption(const QStringList &arguments)
{
    if (isMonthlyInvoiceCommand(arguments))
        return {}; // --customer names whom the statement is for
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        const QString option = argument.section(QLatin1Char('='), 0, 0);
        if (ledgerOptions().contains(option))
            return Text::tr("%1 belongs after --ledger: seikyu --ledger %1").arg(option);
    }
    return {};
}

Result<LedgerRequest> parseLedgerRequest(const QStringList &arguments)
{
    LedgerRequest request;
    // What the user typed is quoted escaped: a line break in it must not break the message's line.
    auto fail = [](const QString &reason) { return Fault{FaultKind::BadInput, visiblyEscaped(reason)}; };
    const QStringList valued{QStringLiteral("--from"), QStringLiteral("--to"),  QStringLiteral("--customer"),
                             QStringLiteral("--min"),  QStringLiteral("--max"), QStringLiteral("--recover"),
                             QStringLiteral("--kind")};
    int others = 0; // options beside --ledger and --recover
    QStringList given;
    bool filtered = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString option = arguments[i];
        QString value;
        bool hasValue = false;
        if (const qsizetype equals = option.indexOf(QLatin1Char('='));
            option.startsWith(QLatin1String("--")) && equals > 2) {
            value = option.mid(equals + 1);
            option = option.left(equals);
            hasValue = true;
        }
        if (valued.contains(option)) {
            if (!hasValue) {
                if (i + 1 >= arguments.size())
                    return fail(Text::tr("%1 needs a value").arg(option));
                value = arguments[++i];
            }
        } else if (hasValue) {
            return fail(Text::tr("%1 takes no value").arg(option));
        }
        if (option.startsWith(QLatin1Char('-'))) {
            if (given.contains(option))
                return fail(Text::tr("%1 is given more than once").arg(option));
            given.append(option);
            filtered = filtered || (option != QLatin1String("--ledger") && option != QLatin1String("--verify") &&
                                    option != QLatin1String("--recover"));
        }
        if (option == QLatin1String("--ledger")) {
            continue; // the command itself
        }
        if (option == QLatin1String("--recover")) {
            if (value.isEmpty())
                return fail(Text::tr("--recover needs the damaged ledger's file"));
            request.recover = value;
            continue;
        }
        ++others;
        if (option == QLatin1String("--csv")) {
            request.csv = true;
        } else if (option == QLatin1String("--unpaid")) {
            request.filter.statuses = LedgerFilter::outstanding();
            // What is owed is asked of an invoice's latest issue only, as the window's sums count it.
            request.filter.latestIssuesOnly = true;
        } else if (option == QLatin1String("--verify")) {
            request.verify = true;
        } else if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
            bool ok = true;
            const std::optional<QDate> date = readFilterDate(value, &ok);
            if (!date)
                return fail(Text::tr("%1: “%2” is not a date in the form YYYY-MM-DD").arg(option, value));
            (option == QLatin1String("--from") ? request.filter.from : request.filter.to) = date;
        } else if (option == QLatin1String("--min") || option == QLatin1String("--max")) {
            bool ok = true;
            const std::optional<qint64> amount = readFilterAmount(value, &ok);
            if (!amount)
                return fail(Text::tr("%1: “%2” is not an amount in whole yen").arg(option, value));
            (option == QLatin1String("--min") ? request.filter.minAmount : request.filter.maxAmount) = amount;
        } else if (option == QLatin1String("--customer")) {
            if (value.size() > LongestCustomer)
                return fail(
                    Text::tr("--customer: more than %1 characters, far longer than any name").arg(LongestCustomer));
            request.filter.customer = value;
        } else if (option == QLatin1String("--kind")) {
            // The file's own words for the kinds; anything else is a mistake, never "every kind".
            const DocumentKind kind = documentKindOf(value);
            if (documentKindText(kind) != value)
                return fail(Text::tr("--kind: “%1” is not invoice, quote, delivery or receipt").arg(value));
            request.filter.document = kind;
        } else if (option.startsWith(QLatin1Char('-'))) {
            return fail(
                Text::tr("unknown option %1 (the ledger takes --from, --to, --customer, --min, --max, --unpaid, "
                         "--kind, --csv, --verify and --recover)")
                    .arg(option));
        } else {
            return fail(Text::tr("unexpected argument “%1”").arg(option));
        }
    }
    if (!request.recover.isEmpty() && others > 0)
        return fail(Text::tr("--recover takes no other option"));
    if (request.verify && filtered)
        return fail(Text::tr("--verify checks the whole ledger and takes no other option"));
    if (request.filter.from && request.filter.to && *request.filter.from > *request.filter.to)
        return fail(Text::tr("--from is after --to"));
    if (request.filter.minAmount && request.filter.maxAmount && *request.filter.minAmount > *request.filter.maxAmount)
        return fail(Text::tr("--min is more than --max"));
    return request;
}

int runLedgerCommand(const QStringList &arguments)
{
    const Result<LedgerRequest> request = parseLedgerRequest(arguments.mid(1));
    if (!request) {
        print(stderr, QStringLiteral("seikyu: %1\n").arg(request.message()).toLocal8Bit());
        return 2;
    }
    QString error;
    IssueLedger &ledger = IssueLedger::instance();
    auto unreadable = [&error, &ledger] {
        // Which file, when it is one.
        if (const QString file = QDir::toNativeSeparators(ledger.databasePath());
            !ledger.shared() && !error.contains(file))
            error = QStringLiteral("%1: %2").arg(file, error);
        print(stderr, QStringLiteral("seikyu: %1\n")
                          .arg(Text::tr("the ledger cannot be read: %1").arg(error.simplified()))
                          .toLocal8Bit());
        return 1;
    };
    ledger.setWaitsForServer(true);
    if (!request->recover.isEmpty())
        return recoverLedger(ledger, request->recover);
    if (request->verify) {
        const Result<LedgerCheck> checked = ledger.verifyLedger();
        if (const auto told = ledger.takeMessage())
            print(stderr, QStringLiteral("seikyu: %1\n").arg(*told).toLocal8Bit());
        if (!checked) {
            error = checked.message();
            return unreadable();
        }
        const LedgerCheck &check = *checked;
        const QList<ChainProblem> &problems = check.problems;
        QString text;
        for (const ChainProblem &problem : problems)
            text += visiblyEscaped(describeProblem(problem, check.names)) + QLatin1Char('\n');
        if (problems.isEmpty())
            text = Text::tr("The ledger is intact: no entry and no archived PDF was changed.") + QLatin1Char('\n');
        if (check.loginMayAlter)
            text += alterableLoginText() + QLatin1Char('\n');
        if (const QString reach = archiveReachText(check); !reach.isEmpty())
            text += reach + QLatin1Char('\n');
        if (const QString fingerprint = fingerprintLine(check); !fingerprint.isEmpty())
            text += fingerprint + QLatin1Char('\n');
        print(stdout, text.toLocal8Bit());
        return problems.isEmpty() ? 0 : 1;
    }
    const Result<Result<LedgerPage>> listed =
        ledger.withStore<Result<LedgerPage>>(false, [filter = request->filter](LedgerStore &store) {
            Result<LedgerPage> found =
                searchLedger(store.database(), filter, {LedgerOrder::Date, true, 0, std::numeric_limits<int>::max()});
            if (found)
                store.noteHead();
            return found;
        });
    if (const auto told = ledger.takeMessage())
        print(stderr, QStringLiteral("seikyu: %1\n").arg(*told).toLocal8Bit());
    error = listed ? listed->message() : listed.message();
    if (!listed || !*listed)
        return unreadable();
    const LedgerPage &found = **listed;
    print(stdout, request->csv ? ledgerCsv(found) : ledgerTextTable(found).toLocal8Bit());
    return 0;
}

bool isLedgerSetupCommand(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument == QLatin1String("--ledger-setup") || argument.startsWith(QLatin1String("--ledger-setup=")))
            return true;
    }
    return false;
}

int runLedgerSetupCommand(const QStringList &arguments)
{
    const QLatin1String withValue("--ledger-setup=");
    QStringList values = arguments.mid(1);
    if (!values.isEmpty() && values.first().startsWith(withValue))
        values.replace(0, values.first().mid(withValue.size()));
    else if (!values.isEmpty() && values.first() == QLatin1String("--ledger-setup"))
        values.removeFirst();
    else
        values.clear(); // another option before it
    if (values.size() != 2 || values.first().startsWith(QLatin1String("--"))) {
        print(stderr, QStringLiteral("seikyu: %1\n")
                          .arg(Text::tr("--ledger-setup takes the administrator's connection text and the office's "
                                        "role, and nothing else: seikyu --ledger-setup ADMIN_URI OFFICE_ROLE"))
                          .toLocal8Bit());
        return 2;
    }
    const LedgerSetupResult result = setUpServerLedger(values.at(0), values.at(1));
    for (const QString &line : result.done)
        print(stdout, (line + QLatin1Char('\n')).toLocal8Bit());
    if (!result.error.isEmpty()) {
        QString said = visiblyEscaped(result.error);
        if (!result.detail.isEmpty())
            said += QStringLiteral(" (%1)").arg(result.detail.simplified());
        print(stderr, QStringLiteral("seikyu: %1\n").arg(said).toLocal8Bit());
    }
    return result.status;
}

} // namespace seikyu
