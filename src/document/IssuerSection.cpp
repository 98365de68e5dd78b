// The issuer's registration number (登録番号), which makes the invoice a qualified invoice, and the
// issuer's bank account typed as fields rather than as one line: the fields are read from the
// chosen entry's bank line and written back into it as a line the page prints and the e-invoice
// reads.
#include "document/IssuerSection.h"

#include "einvoice/BankAccount.h"
#include "sections/RegistrationNumber.h"
#include "widgets/Popover.h"
#include "widgets/Prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {

/// The issuer's fields before the registration number: every entry keeps these five lines.
constexpr int IssuerLines = 5;

/// The popover's fields in the order of BankAccount's members, the type (a chooser) apart.
const QStringList FieldNames = {QStringLiteral("bankName"),   QStringLiteral("bankCode"),
                                QStringLiteral("branchName"), QStringLiteral("branchCode"),
                                QStringLiteral("bankNumber"), QStringLiteral("bankHolder")};
const QStringList AccountTypes = {QStringLiteral("普通"), QStringLiteral("当座"), QStringLiteral("貯蓄")};

QLineEdit *fieldOf(Popover *popover, int index)
{
    return popover ? popover->findChild<QLineEdit *>(FieldNames.at(index)) : nullptr;
}

QComboBox *typeOf(Popover *popover)
{
    return popover ? popover->findChild<QComboBox *>(QStringLiteral("bankType")) : nullptr;
}

} // namespace

IssuerSection::IssuerSection(const Shape &shape, ListStore *store, QWidget *window, ListSectionHost host)
    : ListSection(shape, store, window, std::move(host))
{
    setRequiredFields(IssuerLines);
    setFieldPlaceholder(IssuerLines, tr("T and 13 digits, if you have one"));
    setFieldCheck([this](const QStringList &fields, QWidget *parent) { return checkedRegistration(fields, parent); });
    if (QPushButton *open = addWayOut(tr("Bank Account…"), QStringLiteral("homeBankButton"),
                                      tr("Type the chosen entry's bank account as fields: bank and branch with "
                                         "their codes, type, number and holder.")))
        connect(open, &QPushButton::clicked, this, [this, open] { openBank(open); });
    buildBankPopover();
}

std::optional<QStringList> IssuerSection::checkedRegistration(QStringList fields, QWidget *parent) const
{
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
}

void IssuerSection::buildBankPopover()
{
    m_bank = new Popover(window());
    m_bank->setObjectName(QStringLiteral("homeBank"));
    auto *box = new QVBoxLayout(m_bank);
    auto *form = new QFormLayout;
    box->addLayout(form);
    const QStringList labels = {tr("Bank"),        tr("Bank code"),      tr("Branch"),
                                tr("Branch code"), tr("Account number"), tr("Holder (kana)")};
    const QStringList descriptions = {
        tr("The bank's name as it ends: 銀行, 信用金庫, 信用組合, 労働金庫 or 農協."),
        tr("The bank's four-digit code (金融機関コード); may be left empty."),
        tr("The branch's name as it ends: 支店, 本店, 営業部, 出張所 or 店."),
        tr("The branch's three-digit code (支店コード); may be left empty."),
        tr("The account's seven-digit number."),
        tr("The account holder's name in kana, as the bank writes it; may be left empty.")};
    const QStringList placeholders = {
        QStringLiteral("みずほ銀行"),  tr("4 digits"), QStringLiteral("丸の内支店"), tr("3 digits"), tr("7 digits"),
        QStringLiteral("ヤマダタロウ")};
    auto *type = new QComboBox(m_bank);
    type->setObjectName(QStringLiteral("bankType"));
    type->addItems(AccountTypes);
    type->setAccessibleName(tr("Type"));
    type->setAccessibleDescription(tr("The account's type: 普通, 当座 or 貯蓄."));
    for (int i = 0; i < FieldNames.size(); ++i) {
        auto *field = new QLineEdit(m_bank);
        field->setObjectName(FieldNames.at(i));
        field->setPlaceholderText(placeholders.at(i));
        field->setAccessibleName(labels.at(i));
        field->setAccessibleDescription(descriptions.at(i));
        field->setMinimumWidth(i % 2 == 1 ? 80 : 220);
        form->addRow(labels.at(i), field);
        connect(field, &QLineEdit::returnPressed, this, &IssuerSection::bankExec);
        if (FieldNames.at(i) == QLatin1String("branchCode"))
            form->addRow(tr("Type"), type);
    }
    auto *change = new QPushButton(tr("Change"), m_bank);
    change->setObjectName(QStringLiteral("homeBankExec"));
    change->setDefault(true);
    change->setAccessibleDescription(tr("Writes the account into the chosen entry as its bank line."));
    connect(change, &QPushButton::clicked, this, &IssuerSection::bankExec);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(change);
    box->addLayout(buttons);
}

void IssuerSection::openBank(QWidget *anchor)
{
    const std::optional<ListEntry> entry = chosenEntry();
    if (!m_bank || !entry)
        return; // nothing chosen: there is no bank line to edit
    const BankAccount account = bankAccountOf(entry->text).value_or(BankAccount{});
    const QStringList texts = {account.bank,       account.bankCode, account.branch,
                               account.branchCode, account.number,   account.holder};
    for (int i = 0; i < FieldNames.size(); ++i) {
        if (QLineEdit *field = fieldOf(m_bank, i))
            field->setText(texts.at(i));
    }
    if (QComboBox *type = typeOf(m_bank))
        type->setCurrentIndex(std::max(0, static_cast<int>(AccountTypes.indexOf(account.type))));
    present(m_bank, anchor);
    if (QLineEdit *first = fieldOf(m_bank, 0)) {
        first->setFocus(Qt::PopupFocusReason);
        first->selectAll();
    }
}

void IssuerSection::bankExec()
{
    const std::optional<ListEntry> entry = chosenEntry();
    if (!m_bank || !entry)
        return;
    BankAccount typed;
    QString *members[] = {&typed.bank, &typed.bankCode, &typed.branch, &typed.branchCode, &typed.number, &typed.holder};
    for (int i = 0; i < FieldNames.size(); ++i) {
        if (QLineEdit *field = fieldOf(m_bank, i))
            *members[i] = field->text();
    }
    if (QComboBox *type = typeOf(m_bank))
        typed.type = type->currentText();
    const Result<BankAccount> account = checkedBankAccount(typed);
    if (!account) {
        // The message box takes the popover away; it comes back with what was typed.
        const QPointer<QWidget> anchor = m_bank->anchor();
        Prompter::instance().alert(window(), tr("The bank account cannot be used as typed."), account.message());
        if (!m_bank->isVisible())
            present(m_bank, anchor);
        return;
    }
    const QString changed = withBankLine(entry->text, formatBankAccount(*account));
    if (changed != entry->text) {
        if (const Result<void> renamed = store()->rename(entry->key, changed); !renamed)
            report(renamed.fault());
    }
    load(entry->key);
    dismiss();
}

} // namespace seikyu
