#include "output/BatchExport.h"

#include "document/Document.h"
#include "document/InvoiceFile.h"
#include "output/OutputChecks.h"
#include "output/PdfExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <memory>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "BatchExport", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(BatchExport)
};

/// One line per failure: a reason with line breaks would read as several.
QString oneLine(const QString &path, const QString &reason)
{
    QString text = reason.simplified();
    if (text.isEmpty())
        text = Text::tr("unknown error");
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), text);
}

/// Identifies a file independent of how its path was written, for files that may not exist yet.
QString identity(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

QString pdfNameFor(const QString &input)
{
    const QString name = QFileInfo(input).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot > 0 ? name.left(dot) : name) + QStringLiteral(".pdf");
}

bool exportOne(const QString &input, const QString &target, QString *reason, QStringList *warnings)
{
    QByteArray bytes;
    if (!readInvoiceFile(input, &bytes, reason))
        return false;
    auto document = std::make_unique<Document>();
    // Opened only to be printed: the user's lists are left alone and the page shows the file's
    // own title, customer and issuer.
    document->setTeachesLists(false);
    if (!document->readFromData(bytes, reason))
        return false;
    document->setFilePath(QFileInfo(input).absoluteFilePath());
    document->windowControllerDidLoadNib();
    // Nobody is there to ask: the file is exported all the same, and the warnings are printed.
    *warnings = outputWarnings(*document);
    const QByteArray pdf = renderPagePdf(*document, pdfSuggestedName(*document));
    return writePdfFile(pdf, target, reason);
}

} // namespace

int exportInvoicesAsPdf(const QString &out, const QStringList &files, QStringList *messages)
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
        files.size() == 1 && !outInfo.isDir() && out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    if (!singleTarget) {
        if (outInfo.exists() && !outInfo.isDir()) {
            lines.append(
                oneLine(out, Text::tr("is not a folder (a single file may be exported to a name ending in .pdf)")));
            return 2;
        }
        if (!outInfo.exists() && !QDir().mkpath(out)) {
            lines.append(oneLine(out, Text::tr("the folder could not be created")));
            return 2;
        }
    }

    QHash<QString, QString> inputs; // identity → path as given
    for (const QString &file : files)
        inputs.insert(identity(file), file);
    QHash<QString, QString> written; // target identity → the input that claimed it

    int failures = 0;
    for (const QString &file : files) {
        const QString target = singleTarget ? out : QDir(out).filePath(pdfNameFor(file));
        const QString targetId = identity(target);
        QString reason;
        if (inputs.contains(targetId)) {
            reason = Text::tr("not exported: its PDF would replace the input file %1")
                         .arg(QDir::toNativeSeparators(inputs.value(targetId)));
        } else if (written.contains(targetId)) {
            reason = Text::tr("not exported: %1 would replace the PDF of %2")
                         .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(written.value(targetId)));
        } else if (QFileInfo(file).isDir()) {
            reason = Text::tr("is a folder, not an invoice file");
        } else {
            QStringList warnings;
            const bool exported = exportOne(file, target, &reason, &warnings);
            for (const QString &warning : std::as_const(warnings))
                lines.append(oneLine(file, Text::tr("warning: %1").arg(warning)));
            if (exported) {
                written.insert(targetId, file);
                continue;
            }
        }
        lines.append(oneLine(file, reason));
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace seikyu
