#include "ledger/MonthlyInvoiceDialog.h"

#include "customers/CustomerBook.h"
#include "ledger/SearchFolding.h"
#include "widgets/Prompter.h"

#include <QCompleter>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {

struct Text
{
    Q_DECLARE_TR_FUNCTIONS(MonthlyInvoiceDialog)
};

QDateEdit *periodEnd(QWidget *parent, const QString &name)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return edit;
}

} // namespace

std::optional<MonthlyOutcome> askMonthlyInvoice(QWidget *parent, MonthlyRequest request)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("monthlyInvoice"));
    dialog.setWindowTitle(Text::tr("Make Monthly Invoice"));
    auto *customer = new QLineEdit(request.customer, &dialog);
    customer->setObjectName(QStringLiteral("customer"));
    customer->setMinimumWidth(customer->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
    QList<Customer> known;
    if (const Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(CustomerBook::defaultPath())) {
        if (const Result<QList<Customer>> all = (*book)->all())
            known = *all;
    }
    QStringList names;
    for (const Customer &entry : std::as_const(known))
        names.append(entry.name);
    auto *completer = new QCompleter(names, customer);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    customer->setCompleter(completer);
    QDateEdit *from = periodEnd(&dialog, QStringLiteral("from"));
    QDateEdit *to = periodEnd(&dialog, QStringLiteral("to"));
    // The customer's last closing: the month's end unless the book says another closing day.
    const auto followClosing = [&known, customer, from, to] {
        int closingDay = MonthEndDay;
        const QString key = spacelessName(foldForSearch(customer->text()));
        for (const Customer &entry : std::as_const(known)) {
            if (entry.terms && spacelessName(foldForSearch(entry.name)) == key)
                closingDay = entry.terms->closingDay;
        }
        const auto [first, last] = lastClosedPeriod(QDate::currentDate(), closingDay);
        from->setDate(first);
        to->setDate(last);
    };
    followClosing();
    QObject::connect(customer, &QLineEdit::editingFinished, &dialog, followClosing);

    auto *itemised = new QRadioButton(Text::tr("Each slip's items"), &dialog);
    itemised->setObjectName(QStringLiteral("itemised"));
    auto *oneLine = new QRadioButton(Text::tr("One line per slip"), &dialog);
    oneLine->setObjectName(QStringLiteral("oneLine"));
    (request.itemised ? itemised : oneLine)->setChecked(true);

    auto *form = new QFormLayout;
    form->addRow(Text::tr("&Customer:"), customer);
    form->addRow(Text::tr("&From:"), from);
    form->addRow(Text::tr("&To (closing day):"), to);
    auto *lines = new QVBoxLayout;
    lines->addWidget(itemised);
    lines->addWidget(oneLine);
    form->addRow(Text::tr("List:"), lines);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(Text::tr("Make"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    std::optional<MonthlyOutcome> made;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        request.customer = customer->text().trimmed();
        request.from = from->date();
        request.to = to->date();
        request.itemised = itemised->isChecked();
        if (request.customer.isEmpty()) {
            customer->setFocus();
            return;
        }
        if (request.to < request.from) {
            Prompter::instance().alert(&dialog, Text::tr("The period ends before it starts."),
                                       Text::tr("Give a closing day on or after the first day."));
            return;
        }
        const Result<MonthlyOutcome> outcome = makeMonthlyInvoice(request);
        if (!outcome) {
            Prompter::instance().alert(&dialog, Text::tr("The monthly invoice could not be made."), outcome.message());
            return;
        }
        made = *outcome;
        dialog.accept();
    });
    dialog.exec();
    return made;
}

} // namespace seikyu
