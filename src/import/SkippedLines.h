#pragma once

#include "import/DelimitedText.h"

#include <QString>

namespace seikyu {

/// The lines a file's reading left out, under a heading, one per line ("Line 4: …"), the first
/// twenty of them and how many more; empty when there are none.
QString skippedLinesText(const QString &heading, const QList<SkippedLine> &lines);

} // namespace seikyu
