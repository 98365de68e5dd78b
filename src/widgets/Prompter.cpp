#include "widgets/Prompter.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {
std::unique_ptr<Prompter> &current()
{
    static std::unique_ptr<Prompter> prompter = std::make_unique<Prompter>();
    return prompter;
}
} // namespace

Prompter &Prompter::instance()
{
    return *current();
}

void Prompter::setInstance(std::unique_ptr<Prompter> prompter)
{
    current() = prompter ? std::move(prompter) : std::make_unique<Prompter>();
}

QStringList Prompter::openFileNames(QWidget *parent, const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parent, caption, QString(), filter);
}

QString Prompter::openFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString Prompter::saveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                               const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, caption, proposedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

Prompter::SaveChoice Prompter::askSaveChanges(QWidget *parent, const QString &documentName)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setText(QObject::tr("Do you want to save the changes made to “%1”?").arg(documentName));
    box.setInformativeText(QObject::tr("Your changes will be lost if you don’t save them."));
    QPushButton *save = box.addButton(QMessageBox::Save);
    QPushButton *discard = box.addButton(QObject::tr("Don’t Save"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    if (box.clickedButton() == discard)
        return SaveChoice::DontSave;
    return SaveChoice::Cancel;
}

bool Prompter::askToProceed(QWidget *parent, const QString &text, const QString &informative, const QString &proceed)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setText(text);
    box.setInformativeText(informative);
    QPushButton *go = box.addButton(proceed, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == go;
}

int Prompter::askToChoose(QWidget *parent, const QString &text, const QString &informative, const QStringList &choices)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setText(text);
    box.setInformativeText(informative);
    QList<QAbstractButton *> buttons;
    for (const QString &choice : choices)
        buttons.append(box.addButton(choice, QMessageBox::AcceptRole));
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

std::optional<Prompter::DuplicateChoice> Prompter::askDuplicate(QWidget *parent, const DuplicateChoice &offered)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("duplicateDialog"));
    dialog.setWindowTitle(QObject::tr("Duplicate"));
    auto *text = new QLabel(QObject::tr("A new invoice with the same customer and items, dated as set below (this "
                                        "one is dated %1). Its due date moves on by as many months as its date; "
                                        "where this one has a number, the copy gets the next number for its date.")
                                .arg(offered.from.toString(QStringLiteral("yyyy/MM/dd"))),
                            &dialog);
    text->setWordWrap(true);
    auto *date = new QDateEdit(offered.date.isValid() ? offered.date : QDate::currentDate(), &dialog);
    date->setObjectName(QStringLiteral("duplicateDate"));
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    auto *dateRow = new QFormLayout;
    dateRow->addRow(QObject::tr("Invoice date of the copy:"), date);
    auto *keep = new QCheckBox(QObject::tr("Keep the sums rows and the invoice amount"), &dialog);
    keep->setObjectName(QStringLiteral("duplicateKeepsSums"));
    keep->setChecked(offered.keepSums);
    auto *move = new QCheckBox(QObject::tr("Move the rows' dates with the invoice date"), &dialog);
    move->setObjectName(QStringLiteral("duplicateMovesRowDates"));
    move->setToolTip(QObject::tr("A row dated 4/30 becomes 5/30 when the invoice moves on by one month; the 31st "
                                 "becomes the last day of a shorter month."));
    move->setChecked(offered.moveRowDates);
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QObject::tr("Duplicate"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addLayout(dateRow);
    layout->addWidget(keep);
    layout->addWidget(move);
    layout->addWidget(buttons);
    dialog.resize(420, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return DuplicateChoice{keep->isChecked(), move->isChecked(), date->date(), offered.from};
}

namespace {
void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &informative)
{
    QMessageBox box(parent);
    box.setIcon(icon);
    box.setText(text);
    box.setInformativeText(informative);
    box.exec();
}
} // namespace

void Prompter::alert(QWidget *parent, const QString &text, const QString &informative)
{
    showMessage(parent, QMessageBox::Warning, text, informative);
}

void Prompter::inform(QWidget *parent, const QString &text, const QString &informative)
{
    showMessage(parent, QMessageBox::Information, text, informative);
}

} // namespace seikyu
