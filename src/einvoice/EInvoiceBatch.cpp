#include "einvoice/EInvoiceBatch.h"

#include "document/InvoiceFile.h"
#include "einvoice/EInvoiceExport.h"
#include "output/BatchExport.h"

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

QString xmlNameFor(const QString &input)
{
    const QString name = QFileInfo(input).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot > 0 ? name.left(dot) : name) + QStringLiteral(".xml");
}

} // namespace

int exportInvoicesAsUbl(const QString &out, const QStringList &files, QStringList *messages)
{
    QStringList sink;
    QStringList &lines = messages ? *messages : sink;
    if (files.isEmpty()) {
        lines.append(Text::tr("No invoice files to export."));
        return 2;
    }
    if (out.isEmpty()) {
        lines.append(Text::tr("No output folder given."));
        return 2;
    }
    const QFileInfo outInfo(out);
    const bool singleTarget =
        files.size() == 1 && !outInfo.isDir() && out.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
    if (!singleTarget) {
        if (outInfo.exists() && !outInfo.isDir()) {
            lines.append(batchMessageLine(
                out, Text::tr("is not a folder (a single file may be exported to a name ending in .xml)")));
            return 2;
        }
        if (!outInfo.exists() && !QDir().mkpath(out)) {
            lines.append(batchMessageLine(out, Text::tr("the folder could not be created")));
            return 2;
        }
    }

    QHash<QString, QString> inputs; // identity → path as given
    for (const QString &file : files)
        inputs.insert(batchFileIdentity(file), file);
    QHash<QString, QString> written; // target identity → the input written there

    int failures = 0;
    for (const QString &file : files) {
        const QString target = singleTarget ? out : QDir(out).filePath(xmlNameFor(file));
        const QString targetId = batchFileIdentity(target);
        QString reason;
        QByteArray bytes;
        if (inputs.contains(targetId)) {
            reason = Text::tr("not exported: its XML would replace the input file %1")
                         .arg(QDir::toNativeSeparators(inputs.value(targetId)));
        } else if (written.contains(targetId)) {
            reason = Text::tr("not exported: %1 would replace the XML of %2")
                         .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(written.value(targetId)));
        } else if (QFileInfo(file).isDir()) {
            reason = Text::tr("is a folder, not an invoice file");
        } else if (readInvoiceFile(file, &bytes, &reason)) {
            const EInvoice invoice = eInvoiceOfFile(bytes);
            if (!invoice.ok()) {
                reason = Text::tr("cannot be an e-invoice: %1").arg(invoice.refusals.join(QLatin1Char(' ')));
            } else {
                for (const QString &warning : invoice.warnings)
                    lines.append(batchMessageLine(file, Text::tr("warning: %1").arg(warning)));
                const QByteArray xml = eInvoiceXml(invoice);
                if (writeEInvoiceFile(xml, target, &reason)) {
                    written.insert(targetId, file);
                    announceEInvoice({target, QFileInfo(target).fileName(), xml, false, bytes, file});
                    continue;
                }
            }
        }
        lines.append(batchMessageLine(file, reason));
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace seikyu
