#include "output/BatchTargets.h"

#include "ledger/NumberSequence.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "BatchExport" with the exports that use it.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(BatchExport)
};

} // namespace

QString BatchTargets::targetFor(const QString &input) const
{
    if (single)
        return out;
    const QString name = QFileInfo(input).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return QDir(out).filePath((dot > 0 ? name.left(dot) : name) + extension);
}

std::optional<BatchTargets> batchTargets(const QString &out, const QStringList &files, const QString &extension,
                                         const QString &notAFolder, QStringList &lines)
{
    if (files.isEmpty()) {
        lines.append(Text::tr("No invoice files to export."));
        return std::nullopt;
    }
    if (out.isEmpty()) {
        lines.append(Text::tr("No output folder given."));
        return std::nullopt;
    }
    BatchTargets targets;
    targets.out = out;
    targets.extension = extension;
    const QFileInfo outInfo(out);
    targets.single = files.size() == 1 && !outInfo.isDir() && out.endsWith(extension, Qt::CaseInsensitive);
    if (!targets.single) {
        if (outInfo.exists() && !outInfo.isDir()) {
            lines.append(batchMessageLine(out, notAFolder));
            return std::nullopt;
        }
        if (!outInfo.exists() && !QDir().mkpath(out)) {
            lines.append(batchMessageLine(out, Text::tr("the folder could not be created")));
            return std::nullopt;
        }
    }
    for (const QString &file : files)
        targets.inputs.insert(batchFileIdentity(file), file);
    return targets;
}

QString refusedExportText(const Fault &refusal)
{
    if (!isNumberTaken(refusal))
        return refusal.message;
    return refusal.message + QLatin1Char(' ') +
           Text::tr("Not exported; --reissue issues it as the correction of that invoice.");
}

QString batchMessageLine(const QString &path, const QString &reason)
{
    // One line per failure: a reason with line breaks would read as several.
    QString text = reason.simplified();
    if (text.isEmpty())
        text = Text::tr("unknown error");
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), text);
}

QString batchFileIdentity(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace seikyu
