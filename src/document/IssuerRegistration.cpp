// The issuer's registration number (登録番号), which makes the invoice a qualified invoice.
#include "document/Document.h"
#include "sections/ListFamily.h"
#include "sections/RegistrationNumber.h"
#include "widgets/PageButton.h"
#include "widgets/Prompter.h"

#include <QLineEdit>

namespace seikyu {

namespace {
/// The issuer's fields before the registration number: every entry keeps these five lines.
constexpr int IssuerLines = 5;
} // namespace

void Document::setUpRegistrationNumber()
{
    ListFamily &issuer = family(QStringLiteral("from"));
    issuer.requiredFields = IssuerLines;
    for (const QList<QPointer<QLineEdit>> *fields : {&issuer.newsFields, &issuer.editFields}) {
        if (QLineEdit *field = fields->value(IssuerLines))
            field->setPlaceholderText(tr("T and 13 digits, if you have one"));
    }
    issuer.acceptFields = [this](QStringList fields, QWidget *parent) -> std::optional<QStringList> {
        if (fields.size() <= IssuerLines)
            return fields;
        const QString typed = fields.at(IssuerLines);
        const std::optional<QString> number = normalizedRegistrationNumber(typed);
        if (!number) {
            Prompter::instance().alert(parent, tr("“%1” is not a registration number.").arg(typed.trimmed()),
                                       tr("A registration number is the letter T followed by 13 digits, such as "
                                          "T1234567890123. Leave the field empty if you have none."));
            return std::nullopt;
        }
        if (!number->isEmpty() && !hasCorporateCheckDigit(*number) &&
            !Prompter::instance().askToProceed(
                parent, tr("%1 is not a corporation's number.").arg(*number),
                tr("Its first digit is not the check digit of a corporate number. An individual business's number "
                   "from the tax office need not have one; check the number against your notice of registration."),
                tr("Use This Number")))
            return std::nullopt;
        fields[IssuerLines] = *number;
        return fields;
    };
    if (home) {
        home->setPresentation(issuerPageText);
    }
}

} // namespace seikyu
