#include "ledger/MonthlyInvoice.h"

#include "customers/CustomerBook.h"
#include "customers/PaymentTerms.h"
#include "document/AtomicWrite.h"
#include "invoice/InvoiceFile.h"
#include "kinds/MonthlyStatement.h"
#include "ledger/FilterText.h"
#include "ledger/IssueLedger.h"
#include "ledger/IssuedFile.h"
#include "ledger/LedgerCommandLine.h"
#include "ledger/LedgerCsv.h"
#include "ledger/LedgerStore.h"
#include "ledger/SearchFolding.h"
#include "ledger/StatementPlan.h"
#include "sections/DateText.h"
#include "table/Amounts.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace seikyu {

namespace {

struct Text
{
    Q_DECLARE_TR_FUNCTIONS(MonthlyInvoice)
};

/// The due date the customer's terms give for a statement closing on `closing`; invalid when the
/// customer book has no terms for the customer (or cannot be read: the user then gives the date).
QDate dueFromTerms(const QString &customer, const QDate &closing)
{
    const Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(CustomerBook::defaultPath());
    if (!book)
        return {};
    const Result<QList<Customer>> customers = (*book)->all();
    if (!customers)
        return {};
    const QString key = spacelessName(foldForSearch(customer));
    for (const Customer &known : *customers) {
        if (spacelessName(foldForSearch(known.name)) == key && known.terms)
            return dueDateFromTerms(closing, *known.terms);
    }
    return {};
}

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

Result<MonthlyOutcome> makeMonthlyInvoice(const MonthlyRequest &request)
{
    IssueLedger &ledger = IssueLedger::instance();
    const Result<Result<QList<LedgerEntry>>> read =
        ledger.withStore<Result<QList<LedgerEntry>>>(false, [](LedgerStore &store) { return store.entries(); });
    if (!read)
        return read.fault();
    if (!*read)
        return read->fault();
    const StatementPlan plan = planStatement(**read, request.customer, request.from, request.to);
    if (plan.overlapping)
        return Fault(FaultKind::Refused,
                     Text::tr("The ledger already holds a monthly invoice to %1 for a period that overlaps this one "
                              "(No. %2 of %3): void it in Issued Invoices first to make it again.")
                         .arg(request.customer, plan.overlapping->number, fileDateText(plan.overlapping->invoiceDate)));
    if (plan.slips.isEmpty() && plan.facts.carried() == 0)
        return Fault(FaultKind::Refused,
                     Text::tr("Nothing to bill to %1 for %2 to %3: the ledger holds no delivery slip of theirs "
                              "in that period that is not billed yet, and no balance carried.")
                         .arg(request.customer, fileDateText(request.from), fileDateText(request.to)));

    MonthlyOutcome outcome;
    outcome.slipCount = int(plan.slips.size());
    QList<StatementSlip> slips;
    std::optional<Invoice> newestFile;
    int asRecorded = 0;
    for (const LedgerEntry &entry : plan.slips) {
        const std::optional<Invoice> file = issuedFileOf(entry);
        if (file)
            newestFile = file;
        if (request.itemised && file) {
            slips.append({*file, true});
        } else {
            slips.append({slipFromEntry(entry), false});
            asRecorded += request.itemised ? 1 : 0;
        }
    }
    if (asRecorded > 0)
        outcome.notes.append(Text::tr("%n slip(s) listed as one line per rate, as the ledger recorded them: their "
                                      "files are gone or no longer bill what was issued.",
                                      nullptr, asRecorded));

    // The customer as the newest slip addressed them, and the issuer as it was given on it.
    Invoice base = newestFile.value_or(request.base.value_or(Invoice()));
    if (!newestFile) {
        base.customer = plan.slips.isEmpty() ? request.customer : plan.slips.constLast().customer;
        const QString honorific = plan.slips.isEmpty() ? QString() : plan.slips.constLast().honorific;
        base.honorificChoice = honorific == honorificLabel(0) ? 0 : honorific == honorificLabel(1) ? 1 : -1;
        base.honorificShown = honorificLabel(base.honorificChoice);
        base.customerAddress = {};
        base.customerElectronicAddress.clear();
    }
    const Result<Invoice> statement =
        monthlyInvoice(base, plan.facts, slips, dueFromTerms(request.customer, request.to));
    if (!statement)
        return statement.fault();
    outcome.statement = *statement;
    return outcome;
}

bool isMonthlyInvoiceCommand(const QStringList &arguments)
{
    return commandLineAsks(arguments, QLatin1String("--monthly-invoice"));
}

int runMonthlyInvoiceCommand(const QStringList &arguments)
{
    QString out;
    QString period;
    MonthlyRequest request;
    const auto wrong = [](const QString &why) {
        print(stderr, QStringLiteral("seikyu: %1").arg(visiblyEscaped(why)));
        return 2;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &option = arguments.at(i);
        if (option == QLatin1String("--one-line-per-slip")) {
            request.itemised = false;
            continue;
        }
        QString *value = option == QLatin1String("--monthly-invoice") ? &out
                         : option == QLatin1String("--customer")      ? &request.customer
                         : option == QLatin1String("--period")        ? &period
                                                                      : nullptr;
        if (!value)
            return wrong(Text::tr("--monthly-invoice does not take %1").arg(option));
        if (i + 1 >= arguments.size())
            return wrong(Text::tr("%1 needs a value").arg(option));
        *value = arguments.at(++i);
    }
    if (out.isEmpty() || request.customer.trimmed().isEmpty() || period.isEmpty())
        return wrong(Text::tr("usage: seikyu --monthly-invoice OUT.seikyu --customer NAME --period "
                              "YYYY-MM-DD..YYYY-MM-DD [--one-line-per-slip]"));
    const QStringList ends = period.split(QStringLiteral(".."));
    bool fromOk = false;
    bool toOk = false;
    const std::optional<QDate> from = ends.size() == 2 ? readFilterDate(ends.at(0), &fromOk) : std::nullopt;
    const std::optional<QDate> to = ends.size() == 2 ? readFilterDate(ends.at(1), &toOk) : std::nullopt;
    if (!from || !to || *to < *from)
        return wrong(Text::tr("--period is two dates, the first not after the second: 2026-11-01..2026-11-30"));
    request.from = *from;
    request.to = *to;

    IssueLedger::instance().setWaitsForServer(true);
    const Result<MonthlyOutcome> made = makeMonthlyInvoice(request);
    if (const auto told = IssueLedger::instance().takeMessage())
        print(stderr, QStringLiteral("seikyu: %1").arg(*told));
    if (!made) {
        print(stderr, QStringLiteral("seikyu: %1").arg(made.message().simplified()));
        return 1;
    }
    if (const Result<void> written = writeFileAtomically(out, writeInvoice(made->statement)); !written) {
        print(stderr, QStringLiteral("seikyu: %1: %2").arg(QDir::toNativeSeparators(out), written.message()));
        return 1;
    }
    for (const QString &note : made->notes)
        print(stdout, note);
    print(stdout, Text::tr("%1: %n delivery slip(s), %2 billed.", nullptr, made->slipCount)
                      .arg(QDir::toNativeSeparators(out),
                           made->statement.amountBox.value_or(QString()).section(QLatin1Char('\n'), 1)));
    return 0;
}

} // namespace seikyu
