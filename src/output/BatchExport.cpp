#include "output/BatchExport.h"

#include "einvoice/EInvoiceExport.h"
#include "invoice/InvoiceFile.h"
#include "ledger/IssueIntents.h"
#include "ledger/IssueLedger.h"
#include "output/BatchTargets.h"
#include "output/OutputChecks.h"
#include "output/PdfExport.h"
#include "output/SavedPageDefaults.h"
#include "page/InvoiceSheets.h"
#include "sections/DateText.h"
#include "table/UserLocale.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QThreadPool>
#include <future>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "BatchExport", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(BatchExport)
};

/// A PDF made on a worker, and its digest for the ledger, taken there too.
struct MadePdf
{
    QByteArray bytes;
    QString sha256;
};

/// One input on its way to its PDF.
struct Job
{
    QString file;
    QStringList warnings;
    QString reason; ///< why it was not exported
    QByteArray xml; ///< the e-invoice the PDF carries, when it carries one
    QString target; ///< the PDF, once the input is read and its PDF is being made
    Invoice issued; ///< what the ledger records once the PDF is written
    /// The PDF, or why it could not be made; while a worker makes it, the answer to come.
    std::variant<Result<MadePdf>, std::future<Result<MadePdf>>> pdf = Result<MadePdf>(MadePdf());
    std::optional<bool> exported; ///< whether its PDF was written, once that was tried
    QString told;                 ///< what the ledger has to say about it
    bool unrecorded = false;      ///< written, but neither recorded nor kept to be recorded (or refused)
    bool refused = false;         ///< not written: its number is another invoice's

    /// Waits for the worker making the PDF, if one still does.
    void awaitPdf()
    {
        if (auto *pending = std::get_if<std::future<Result<MadePdf>>>(&pdf))
            pdf = pending->get();
    }

    /// Writes the PDF once it is made and records it in the ledger, on its own.
    bool settle()
    {
        if (exported)
            return *exported;
        awaitPdf();
        const Result<MadePdf> made = std::get<Result<MadePdf>>(pdf);
        if (!made) {
            reason = made.message();
            exported = false;
            return false;
        }
        const QByteArray &bytes = made->bytes;
        Result<void> written;
        const Result<IssueOutcome> outcome = IssueLedger::instance().issue(
            issued, file, IssueChannel::Batch, target, bytes,
            [&] {
                written = writePdfFile(bytes, target);
                return written.ok();
            },
            made->sha256);
        take(outcome, written.message());
        return *exported;
    }

    /// What issuing it came to; `unwritten` says why its PDF could not be written, when it could not.
    void take(const Result<IssueOutcome> &outcome, const QString &unwritten)
    {
        refused = !outcome && outcome.fault().kind == FaultKind::Refused;
        if (refused)
            reason = refusedExportText(outcome.fault());
        else if (!outcome)
            reason = outcome.message();
        else if (!outcome->written)
            reason = Text::tr("could not be written: %1").arg(unwritten);
        told = outcome ? outcome->message.value_or(QString()) : QString();
        unrecorded =
            outcome && (outcome->recording == IssueRecording::Lost || outcome->recording == IssueRecording::Refused);
        pdf = Result<MadePdf>(MadePdf()); // the bytes are on disk now
        exported = outcome && outcome->written;
    }
};

/// The jobs whose PDFs are issued together once made, as one group: their intents, files and
/// entries each made durable at once.
class JobGroup
{
public:
    explicit JobGroup(std::vector<Job> &jobs) : m_jobs(jobs) {}

    void add(qsizetype job) { m_waiting.push_back(job); }
    qsizetype size() const { return qsizetype(m_waiting.size()); }

    /// Issues the jobs added since the last time, their PDFs made first.
    void issue()
    {
        QList<GroupedIssue> issues;
        std::vector<qsizetype> issued;
        for (const qsizetype index : std::exchange(m_waiting, {})) {
            Job &job = m_jobs[size_t(index)];
            job.awaitPdf();
            const Result<MadePdf> &made = std::get<Result<MadePdf>>(job.pdf);
            if (!made) {
                job.reason = made.message();
                job.exported = false;
                continue;
            }
            issues.append({job.issued, job.file, job.target, made->bytes, made->sha256});
            issued.push_back(index);
        }
        if (issues.isEmpty())
            return;
        const GroupIssuing done = IssueLedger::instance().issueGroup(issues, IssueChannel::Batch);
        for (size_t k = 0; k < issued.size(); ++k)
            m_jobs[issued[k]].take(done.each[k].outcome, done.each[k].unwritten);
        if (done.message) {
            QString &told = m_jobs[size_t(issued.back())].told;
            told = told.isEmpty() ? *done.message : told + QLatin1Char('\n') + *done.message;
        }
    }

private:
    std::vector<Job> &m_jobs;
    std::vector<qsizetype> m_waiting;
};

/// What a window newly opened on a file shows where the file says nothing. The customer book is
/// opened only for a file that names no customer: most name theirs, and opening it (making it, on a
/// new computer) is a good part of a one-invoice export.
class OpeningDefaults
{
public:
    OpeningDefaults() : m_defaults(savedPageDefaults(false)) {}

    const PageDefaults &forFile(const Invoice &file)
    {
        if (!file.customer && !m_customerRead) {
            m_defaults.customer = savedCustomer();
            m_customerRead = true;
        }
        return m_defaults;
    }

private:
    PageDefaults m_defaults;
    bool m_customerRead = false;
};

/// The part of an export that needs the GUI thread: the invoice as a window newly opened on the
/// file would show it (in job.issued), and the PDF's title. Nothing when the file is no invoice.
std::optional<QString> openFile(Job &job, OpeningDefaults &defaults, bool attachEInvoice)
{
    const Result<QByteArray> read = readInvoiceFile(job.file);
    if (!read) {
        job.reason = read.message();
        return std::nullopt;
    }
    const QByteArray &bytes = *read;
    if (attachEInvoice) {
        const EInvoice invoice = eInvoiceOfFile(bytes);
        if (!invoice.ok()) {
            job.reason = Text::tr("cannot be an e-invoice: %1").arg(invoice.refusals.join(QLatin1Char(' ')));
            return std::nullopt;
        }
        job.xml = eInvoiceXml(invoice);
        job.warnings.append(invoice.warnings);
    }
    const Result<Invoice> invoice = readInvoiceBytes(bytes);
    if (!invoice) {
        job.reason = invoice.message();
        return std::nullopt;
    }
    job.issued = openedInvoice(*invoice, defaults.forFile(*invoice));
    // Nobody is there to ask: the file is exported all the same, and the warnings are printed.
    job.warnings = outputWarnings(job.issued) + job.warnings;
    return pdfNameForFile(QFileInfo(job.file).absoluteFilePath());
}

/// The PDF drawn from the laid-out pages, or why it cannot be.
Result<QByteArray> pdfOfPages(const PageLayout &pages, const QString &title, const QString &target,
                              const QByteArray &xml)
{
    QByteArray pdf = pdfFromLayout(pages, title);
    if (pdf.isEmpty())
        return Fault{FaultKind::Unwritable,
                     Text::tr("could not be written: %1")
                         .arg(QCoreApplication::translate("PdfExport", "the page could not be rendered"))};
    if (!xml.isEmpty())
        return pdfWithEInvoice(pdf, xml, QFileInfo(target).completeBaseName() + QStringLiteral(".xml"));
    return pdf;
}

/// The rest, on any thread: the pages laid out and drawn, on the thread whose fonts measured them
/// (each thread sets up fonts of its own), and the PDF's digest, which the ledger would otherwise
/// take for the whole batch at its end, on the thread that issues it.
Result<MadePdf> makePdf(const Invoice &invoice, const SheetLook &look, const QString &title, const QString &target,
                        const QByteArray &xml)
{
    Result<QByteArray> pdf = pdfOfPages(layOutInvoice(invoice, look), title, target, xml);
    if (!pdf)
        return pdf.fault();
    return MadePdf{*pdf, bytesSha256(*pdf)};
}

} // namespace

int exportInvoicesAsPdf(const QString &out, const QStringList &files, QStringList *messages, bool attachEInvoice)
{
    QStringList sink;
    QStringList &lines = messages ? *messages : sink;
    const std::optional<BatchTargets> targets =
        batchTargets(out, files, QStringLiteral(".pdf"),
                     Text::tr("is not a folder (a single file may be exported to a name ending in .pdf)"), lines);
    if (!targets)
        return 2;

    QHash<QString, QString> written;   // target identity → the input that claimed it
    QHash<QString, qsizetype> writing; // target identity → the job still writing it

    // The GUI thread reads each invoice as its window would open it while workers lay out and draw
    // the ones read before: most of a PDF's time goes into embedding its font.
    std::vector<Job> jobs(size_t(files.size()));
    OpeningDefaults defaults;
    const SheetLook look = savedSheetLook();
    QThreadPool workers;                                       // ends before the jobs, which its tasks write to
    const qsizetype maxWaiting = 2 * workers.maxThreadCount(); // invoices read ahead, held in memory
    qsizetype oldestRunning = 0;
    // Issued as groups: a few syncs for each group, not a dozen for each invoice. A group is as
    // large as a usual batch; larger ones are cut, so that the PDFs waiting stay few in memory.
    constexpr qsizetype GroupSize = 128;
    JobGroup group(jobs);

    for (qsizetype i = 0; i < files.size(); ++i) {
        Job &job = jobs[size_t(i)];
        job.file = files[i];
        const QString target = targets->targetFor(job.file);
        const QString targetId = batchFileIdentity(target);
        if (const auto claimed = writing.find(targetId); claimed != writing.end()) {
            // Whether an earlier input got this name depends on whether its PDF was written.
            Job &earlier = jobs[size_t(*claimed)];
            if (!earlier.exported)
                group.issue();
            if (earlier.settle())
                written.insert(targetId, earlier.file);
            writing.erase(claimed);
        }
        if (targets->inputs.contains(targetId)) {
            job.reason = Text::tr("not exported: its PDF would replace the input file %1")
                             .arg(QDir::toNativeSeparators(targets->inputs.value(targetId)));
        } else if (written.contains(targetId)) {
            job.reason = Text::tr("not exported: %1 would replace the PDF of %2")
                             .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(written.value(targetId)));
        } else if (QFileInfo(job.file).isDir()) {
            job.reason = Text::tr("is a folder, not an invoice file");
        } else if (const std::optional<QString> title = openFile(job, defaults, attachEInvoice)) {
            writing.insert(targetId, i);
            job.target = target;
            auto done = std::make_shared<std::promise<Result<MadePdf>>>();
            job.pdf = done->get_future();
            workers.start([done, invoice = job.issued, look, title = *title, target, xml = job.xml] {
                done->set_value(makePdf(invoice, look, title, target, xml));
            });
            if (files.size() == 1) {
                // A single file: its era dates' formatter is made and the ledger opens while its
                // PDF is made (the layout takes the formatter once it has planned the table).
                if (job.issued.japaneseEra)
                    prepareEraDates(userLocaleName());
                IssueLedger::instance().prepareToIssue();
                job.settle();
                continue;
            }
            group.add(i);
            if (group.size() >= GroupSize)
                group.issue();
            for (; oldestRunning < i - maxWaiting; ++oldestRunning)
                jobs[size_t(oldestRunning)].awaitPdf();
        }
    }
    group.issue();

    int failures = 0;
    for (Job &job : jobs) {
        const bool exported = !job.target.isEmpty() && job.settle();
        for (const QString &warning : std::as_const(job.warnings))
            lines.append(batchMessageLine(job.file, Text::tr("warning: %1").arg(warning)));
        if (!job.told.isEmpty())
            lines.append(job.told);
        if (exported) {
            if (!job.xml.isEmpty())
                announceEInvoice({job.target, QFileInfo(job.target).completeBaseName() + QStringLiteral(".xml"),
                                  job.xml, true, QByteArray(), job.file});
            failures += job.unrecorded ? 1 : 0;
            continue;
        }
        // A PDF that could not be written is named itself: the input was read well.
        lines.append(batchMessageLine(job.target.isEmpty() || job.refused ? job.file : job.target, job.reason));
        ++failures;
    }
    // What waited for a busy ledger meanwhile is recorded before the command ends.
    IssueLedger::instance().settlePending();
    return failures == 0 ? 0 : 1;
}

} // namespace seikyu
