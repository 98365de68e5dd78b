#include "import/SkippedLines.h"

#include <QCoreApplication>
#include <QStringList>

namespace seikyu {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(SkippedLines)
};

/// How many lines a message lists one by one: enough to see what went wrong, few enough to read.
constexpr int LinesListed = 20;

} // namespace

QString skippedLinesText(const QString &heading, const QList<SkippedLine> &lines)
{
    if (lines.isEmpty())
        return {};
    QStringList texts{heading};
    for (qsizetype i = 0; i < lines.size() && i < LinesListed; ++i)
        texts.append(Text::tr("Line %1: %2").arg(lines.at(i).line).arg(lines.at(i).reason));
    if (lines.size() > LinesListed)
        texts.append(Text::tr("… and %1 more lines.").arg(lines.size() - LinesListed));
    return texts.join(u'\n');
}

} // namespace seikyu
