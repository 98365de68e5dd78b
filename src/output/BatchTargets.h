#pragma once

#include "base/Result.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// Where a batch export writes the file made from each input: into a folder, or, with a single
/// input, to the one file `out` names.
struct BatchTargets
{
    QString out;
    QString extension;              ///< of the files written, ".pdf"
    bool single = false;            ///< `out` names the one input's file itself
    QHash<QString, QString> inputs; ///< identity of each input → its path as given

    /// The file the input is written to: `out` itself, or `out`/<file name without extension><extension>.
    QString targetFor(const QString &input) const;
};

/// Checks what a batch export writing files ending in `extension` was given, and creates the
/// folder `out` when it does not exist yet. Nothing, and one line in `lines` saying why, when no
/// file can be attempted: no inputs, no `out`, `out` a file (`notAFolder` says so) or a folder
/// that cannot be created.
std::optional<BatchTargets> batchTargets(const QString &out, const QStringList &files, const QString &extension,
                                         const QString &notAFolder, QStringList &lines);

/// The line for an invoice the ledger refused: when its number is another invoice's, saying how to
/// issue it as that invoice's correction; any other refusal says itself what to do.
QString refusedExportText(const Fault &refusal);

/// The line a batch export prints about one file: "path: reason", the reason on one line.
QString batchMessageLine(const QString &path, const QString &reason);
/// A file's identity however its path is written, for files that may not exist yet.
QString batchFileIdentity(const QString &path);

} // namespace seikyu
