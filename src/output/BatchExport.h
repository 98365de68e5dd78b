#pragma once

#include <QString>
#include <QStringList>

namespace seikyu {

/// Exports invoice files as PDFs without showing a window: each file is opened as its window
/// would open it, without teaching the user's lists, and its page is written to
/// `out`/<file name without extension>.pdf. With one file, `out` may also name the PDF itself
/// (ending in .pdf). Inputs are never written to.
///
/// Every input that fails adds one line to `messages`, naming the input when it could not be read
/// and the PDF when that could not be written, and saying why; the others are still exported. A page that
/// will not read well (see outputWarnings) is exported too, with a "warning:" line. Returns the
/// process exit status: 0 when every file was exported, 1 when some failed, 2 when nothing could
/// be attempted (no files, or `out` unusable).
///
/// With `attachEInvoice`, each PDF is a PDF/A-3 that carries the invoice's JP PINT e-invoice; an
/// invoice that cannot be one is reported on its own line and not exported.
int exportInvoicesAsPdf(const QString &out, const QStringList &files, QStringList *messages,
                        bool attachEInvoice = false);

} // namespace seikyu
