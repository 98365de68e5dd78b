#include "einvoice/EInvoiceBatch.h"

#include "einvoice/EInvoiceExport.h"
#include "invoice/InvoiceFile.h"
#include "output/BatchTargets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "BatchExport" with the PDF export's, whose
/// words they repeat.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(BatchExport)
};

} // namespace

int exportInvoicesAsUbl(const QString &out, const QStringList &files, QStringList *messages)
{
    QStringList sink;
    QStringList &lines = messages ? *messages : sink;
    const std::optional<BatchTargets> targets =
        batchTargets(out, files, QStringLiteral(".xml"),
                     Text::tr("is not a folder (a single file may be exported to a name ending in .xml)"), lines);
    if (!targets)
        return 2;

    QHash<QString, QString> written; // target identity → the input written there

    int failures = 0;
    for (const QString &file : files) {
        const QString target = targets->targetFor(file);
        const QString targetId = batchFileIdentity(target);
        QString reason;
        if (targets->inputs.contains(targetId)) {
            reason = Text::tr("not exported: its XML would replace the input file %1")
                         .arg(QDir::toNativeSeparators(targets->inputs.value(targetId)));
        } else if (written.contains(targetId)) {
            reason = Text::tr("not exported: %1 would replace the XML of %2")
                         .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(written.value(targetId)));
        } else if (QFileInfo(file).isDir()) {
            reason = Text::tr("is a folder, not an invoice file");
        } else if (const Result<QByteArray> bytes = readInvoiceFile(file); !bytes) {
            reason = bytes.message();
        } else if (const EInvoice invoice = eInvoiceOfFile(*bytes); !invoice.ok()) {
            reason = Text::tr("cannot be an e-invoice: %1").arg(invoice.refusals.join(QLatin1Char(' ')));
        } else {
            for (const QString &warning : invoice.warnings)
                lines.append(batchMessageLine(file, Text::tr("warning: %1").arg(warning)));
            const Result<IssuedEInvoice> issued =
                issueEInvoiceFile({target, QFileInfo(target).fileName(), eInvoiceXml(invoice), false, *bytes, file});
            if (issued) {
                written.insert(targetId, file);
                failures += issued->unrecorded ? 1 : 0; // the issuer said which
                continue;
            }
            reason = issued.message();
        }
        lines.append(batchMessageLine(file, reason));
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace seikyu
