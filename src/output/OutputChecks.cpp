#include "output/OutputChecks.h"

#include "app/Prompter.h"
#include "document/Document.h"

#include <QCoreApplication>

namespace seikyu {

namespace {
/// The texts of this file share the translation context "OutputChecks", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(OutputChecks)
};
} // namespace

QStringList outputWarnings(const Document &document)
{
    QStringList warnings;
    if (const QString table = document.pageTableWarning(); !table.isEmpty())
        warnings.append(table);
    return warnings;
}

bool confirmOutput(Document &document, QWidget *parent)
{
    const QStringList warnings = outputWarnings(document);
    if (warnings.isEmpty())
        return true;
    return Prompter::instance().askToProceed(parent, Text::tr("This invoice may not read as you expect."),
                                             warnings.join(QStringLiteral("\n\n")), Text::tr("Continue"));
}

} // namespace seikyu
