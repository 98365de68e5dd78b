#include "sections/UnkeptTexts.h"

#include "invoice/KeptText.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "UnkeptTexts", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(UnkeptTexts)
};

} // namespace

bool refusesUnkeptText(QWidget *parent, const QStringList &texts)
{
    for (const QString &text : texts) {
        if (const std::optional<qsizetype> at = unkeptCharacterAt(text)) {
            Prompter::instance().alert(parent, Text::tr("This entry holds a character that cannot be kept."),
                                       Text::tr("It holds %1, which an invoice file cannot keep as it is (a pasted "
                                                "text can bring it in unseen). Remove it and try again.")
                                           .arg(unkeptCharacterName(text.at(*at))));
            return true;
        }
    }
    return false;
}

} // namespace seikyu
