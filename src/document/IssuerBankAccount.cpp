// The issuer's bank account typed as fields rather than as one line: the fields are read from the
// chosen issuer entry's bank line and written back into it as a line the page prints and the
// e-invoice reads.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "einvoice/BankAccount.h"
#include "sections/ListFamily.h"
#include "sections/ListStore.h"
#include "widgets/PanelExtraButton.h"
#include "widgets/Popover.h"
#include "widgets/Prompter.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {

const QString IssuerKey = QStringLiteral("from");

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

void Document::setUpBankAccount()
{
    QPushButton *open = addButtonAbovePanelButtons(
        homeCtrl, tr("Bank Account…"), QStringLiteral("homeBankButton"),
        tr("Type the chosen entry's bank account as fields: bank and branch with their codes, "
           "type, number and holder."));
    if (!open)
        return;
    connect(open, &QPushButton::clicked, this, [this, open] { homeBank(open); });

    homeBankPopover = new Popover(m_window.get());
    Popover *popover = homeBankPopover.get();
    popover->setObjectName(QStringLiteral("homeBank"));
    auto *box = new QVBoxLayout(popover);
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
    auto *type = new QComboBox(popover);
    type->setObjectName(QStringLiteral("bankType"));
    type->addItems(AccountTypes);
    type->setAccessibleName(tr("Type"));
    type->setAccessibleDescription(tr("The account's type: 普通, 当座 or 貯蓄."));
    for (int i = 0; i < FieldNames.size(); ++i) {
        auto *field = new QLineEdit(popover);
        field->setObjectName(FieldNames.at(i));
        field->setPlaceholderText(placeholders.at(i));
        field->setAccessibleName(labels.at(i));
        field->setAccessibleDescription(descriptions.at(i));
        field->setMinimumWidth(i % 2 == 1 ? 80 : 220);
        form->addRow(labels.at(i), field);
        connect(field, &QLineEdit::returnPressed, this, [this] { homeBankExec(); });
        if (FieldNames.at(i) == QLatin1String("branchCode"))
            form->addRow(tr("Type"), type);
    }
    auto *change = new QPushButton(tr("Change"), popover);
    change->setObjectName(QStringLiteral("homeBankExec"));
    change->setDefault(true);
    change->setAccessibleDescription(tr("Writes the account into the chosen entry as its bank line."));
    connect(change, &QPushButton::clicked, this, [this] { homeBankExec(); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(change);
    box->addLayout(buttons);
}

void Document::homeBank(QObject *sender)
{
    ListFamily &issuer = family(IssuerKey);
    Popover *popover = homeBankPopover.get();
    if (!popover || !issuer.dial || issuer.dial->currentIndex() < 0 || !issuer.store)
        return; // nothing chosen: there is no bank line to edit
    const std::optional<QString> entry = issuer.store->textOf(issuer.dial->currentData(EntryKeyRole).toLongLong());
    if (!entry)
        return;
    const BankAccount account = bankAccountOf(*entry).value_or(BankAccount{});
    const QStringList texts = {account.bank,       account.bankCode, account.branch,
                               account.branchCode, account.number,   account.holder};
    for (int i = 0; i < FieldNames.size(); ++i) {
        if (QLineEdit *field = fieldOf(popover, i))
            field->setText(texts.at(i));
    }
    if (QComboBox *type = typeOf(popover))
        type->setCurrentIndex(std::max(0, static_cast<int>(AccountTypes.indexOf(account.type))));
    comeOver(popover, qobject_cast<QWidget *>(sender));
    if (QLineEdit *first = fieldOf(popover, 0)) {
        first->setFocus(Qt::PopupFocusReason);
        first->selectAll();
    }
}

void Document::homeBankExec(QObject *)
{
    ListFamily &issuer = family(IssuerKey);
    Popover *popover = homeBankPopover.get();
    if (!popover || !issuer.dial || issuer.dial->currentIndex() < 0 || !issuer.store)
        return;
    const qint64 key = issuer.dial->currentData(EntryKeyRole).toLongLong();
    const std::optional<QString> entry = issuer.store->textOf(key);
    if (!entry)
        return;
    BankAccount typed;
    QString *members[] = {&typed.bank, &typed.bankCode, &typed.branch, &typed.branchCode, &typed.number, &typed.holder};
    for (int i = 0; i < FieldNames.size(); ++i) {
        if (QLineEdit *field = fieldOf(popover, i))
            *members[i] = field->text();
    }
    if (QComboBox *type = typeOf(popover))
        typed.type = type->currentText();
    const Result<BankAccount> account = checkedBankAccount(typed);
    if (!account) {
        // The message box takes the popover away; it comes back with what was typed.
        const QPointer<QWidget> anchor = popover->anchor();
        Prompter::instance().alert(m_window.get(), tr("The bank account cannot be used as typed."), account.message());
        if (!popover->isVisible())
            comeOver(popover, anchor);
        return;
    }
    const QString changed = withBankLine(*entry, formatBankAccount(*account));
    if (changed != *entry) {
        if (const Result<void> renamed = issuer.store->rename(key, changed); !renamed)
            reportListFault(renamed.fault());
    }
    listLoad(issuer, key);
    away();
}

} // namespace seikyu
