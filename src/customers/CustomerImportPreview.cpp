#include "customers/CustomerImportPreview.h"

#include "import/SkippedLines.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace seikyu {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(CustomerImportPreview)
};

} // namespace

QString describeSkippedLines(const QList<SkippedLine> &skipped)
{
    return skippedLinesText(Text::tr("Lines left out:"), skipped);
}

bool confirmCustomerImport(QWidget *parent, const CustomerImport &read)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("customerImportPreview"));
    dialog.setWindowTitle(Text::tr("Import Customers"));
    dialog.resize(760, 480);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(Text::tr("%n customer(s) to add, read as %1:", nullptr, int(read.customers.size()))
                                     .arg(encodingName(read.encoding)),
                                 &dialog));
    const QStringList headers{Text::tr("Name"),        Text::tr("Reading"), Text::tr("Honorific"),
                              Text::tr("Postal code"), Text::tr("Address"), Text::tr("Payment terms")};
    auto *table = new QTableWidget(int(read.customers.size()), int(headers.size()), &dialog);
    table->setObjectName(QStringLiteral("customersToAdd"));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < read.customers.size(); ++row) {
        const Customer &c = read.customers.at(row);
        const QStringList cells{c.name,
                                c.kana,
                                c.honorific == 1 ? QStringLiteral("様") : QStringLiteral("御中"),
                                c.postalCode,
                                QStringList{c.address1, c.address2}.join(QLatin1Char(' ')).trimmed(),
                                c.terms ? paymentTermsText(*c.terms) : QString()};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    layout->addWidget(table, 1);
    QStringList notes;
    if (!read.skipped.isEmpty())
        notes.append(describeSkippedLines(read.skipped));
    if (!read.ignoredColumns.isEmpty())
        notes.append(Text::tr("Columns not read: %1").arg(read.ignoredColumns.join(QStringLiteral("、"))));
    if (!notes.isEmpty()) {
        auto *left = new QLabel(notes.join(QStringLiteral("\n\n")), &dialog);
        left->setObjectName(QStringLiteral("linesLeftOut"));
        left->setWordWrap(true);
        left->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(left);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    QPushButton *add = buttons->addButton(Text::tr("Add %n Customer(s)", nullptr, int(read.customers.size())),
                                          QDialogButtonBox::AcceptRole);
    add->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace seikyu
