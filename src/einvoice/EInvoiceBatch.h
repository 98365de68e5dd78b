#pragma once

#include <QString>
#include <QStringList>

namespace seikyu {

/// Writes each invoice file's JP PINT e-invoice as `out`/<file name without extension>.xml,
/// from the file alone (no window). With one file, `out` may also name the XML itself (ending in
/// .xml). Inputs are never written to.
///
/// Every input that fails, or cannot be an e-invoice, adds one line to `messages` saying why; the
/// others are still written. A warning (withholding) adds a "warning:" line. Returns the process
/// exit status: 0 when every file was written, 1 when some failed, 2 when nothing could be
/// attempted (no files, or `out` unusable) — as the PDF export does.
int exportInvoicesAsUbl(const QString &out, const QStringList &files, QStringList *messages);

} // namespace seikyu
