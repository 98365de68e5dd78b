// The table panel's tax choices: the invoice's rate, each row's tax class, and withholding.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/TableState.h"
#include "invoice/ItemTableModel.h"
#include "table/SumsRows.h"
#include "widgets/Prompter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QToolButton>

namespace seikyu {

void Document::buildTaxControls(QBoxLayout *row)
{
    QDialog *panel = gridCtrl.get();
    auto *tax = new QCheckBox(tr("Include Tax"), panel);
    tax->setObjectName(QStringLiteral("gridXtax"));
    tax->setToolTip(tr("On: the consumption tax is added on top of the prices. Off: the prices include it."));
    connect(tax, &QCheckBox::clicked, this, [this](bool checked) {
        TableState before = tableState();
        before.includeTax = !checked;
        pushTableSettings(QCoreApplication::translate("Document", "Include Tax"), before);
    });
    gridXtax = tax;

    auto *rate = new QComboBox(panel);
    rate->setObjectName(QStringLiteral("gridRate"));
    rate->addItem(tr("10 %"), StandardRate);
    rate->addItem(tr("8 %"), ReducedRate);
    rate->setToolTip(tr("The invoice's consumption-tax rate: 10 % is the standard rate since October 2019, 8 % "
                        "the rate of earlier invoices. Rows of food, drink or newspapers are marked reduced (8 %)."));
    rate->setAccessibleName(tr("Tax rate"));
    connect(rate, &QComboBox::activated, this, [this, rate] {
        const int chosen = rate->currentData().toInt();
        if (chosen == m_model->taxRate())
            return;
        const TableState before = tableState();
        setTaxRate(chosen);
        pushTableSettings(QCoreApplication::translate("Document", "Change Tax Rate"), before);
    });
    gridRate = rate;
    auto *rateLabel = new QLabel(tr("&Rate:"), panel);
    rateLabel->setBuddy(rate);

    auto *marks = new QToolButton(panel);
    marks->setObjectName(QStringLiteral("gridMarks"));
    marks->setText(tr("Tax Class"));
    marks->setToolTip(tr("How the selected rows are taxed"));
    marks->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(marks);
    const auto addMark = [&](const QString &text, const char *name, TaxClass taxClass, const QKeySequence &keys) {
        QAction *action = menu->addAction(text, this, [this, taxClass] { markRows(taxClass); });
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        panel->addAction(action); // the shortcut works wherever the focus is in the panel
        return action;
    };
    markReduced =
        addMark(tr("Reduced Rate 8 % (※)"), "markReduced", TaxClass::Reduced, QKeySequence(Qt::CTRL | Qt::Key_R));
    addMark(tr("Not Taxable (非課税)"), "markExempt", TaxClass::Exempt, QKeySequence(Qt::CTRL | Qt::Key_E));
    addMark(tr("Standard Rate"), "markStandard", TaxClass::Standard, QKeySequence());
    marks->setMenu(menu);

    auto *hold = new QCheckBox(tr("Withhold Income Tax (源泉徴収)"), panel);
    hold->setObjectName(QStringLiteral("gridHold"));
    hold->setToolTip(tr("For fees paid to an individual: the sums end with the income tax the customer withholds "
                        "and the amount they pay."));
    connect(hold, &QCheckBox::clicked, this, [this](bool checked) {
        TableState before = tableState();
        before.withholding = !checked;
        pushTableSettings(QCoreApplication::translate("Document", "Withhold Income Tax"), before);
    });
    gridHold = hold;

    row->addWidget(tax);
    row->addWidget(rateLabel);
    row->addWidget(rate);
    row->addWidget(marks);
    row->addWidget(hold);
    row->addStretch();
    setTaxRate(m_model->taxRate());
}

void Document::setTaxRate(int rate)
{
    m_model->setTaxRate(rate == StandardRate ? StandardRate : ReducedRate);
    if (gridRate)
        gridRate->setCurrentIndex(gridRate->findData(m_model->taxRate()));
    // Reduced-rate rows are told apart only where there is another rate.
    if (m_model->table())
        m_model->table()->setMarksReducedRows(m_model->taxRate() == StandardRate);
}

void Document::markRows(TaxClass taxClass)
{
    if (!grid)
        return;
    const QList<bool> items = itemRowMask(m_model->table()->rows());
    QList<RowPtr> marked;
    for (const QModelIndex &index : grid->selectionModel()->selectedRows()) {
        if (items.value(index.row()))
            marked.append(m_model->table()->row(index.row()));
    }
    if (marked.isEmpty())
        return;
    // The reduced rate stands apart only on an invoice at the standard rate: on an 8 % invoice
    // every row is taxed at 8 % already, so the user is told, and offered today's rate.
    const bool switchRate = taxClass == TaxClass::Reduced && m_model->taxRate() != StandardRate;
    if (switchRate &&
        !Prompter::instance().askToProceed(
            gridCtrl && gridCtrl->isVisible() ? static_cast<QWidget *>(gridCtrl.get()) : m_window.get(),
            tr("This invoice is taxed at 8 %."),
            tr("On an invoice at 8 %, the rate of invoices before October 2019, every row is taxed at 8 % and no "
               "row is marked. Switch the invoice to the standard rate of 10 % and mark the selected rows as "
               "reduced rate (8 %)?"),
            tr("Switch to 10 %")))
        return;
    // Marking rows that all carry the mark already takes it off again.
    const bool all = !switchRate && std::all_of(marked.begin(), marked.end(),
                                                [&](const RowPtr &r) { return r->taxClass() == taxClass; });
    const TaxClass chosen = all ? TaxClass::Standard : taxClass;
    const TableState before = tableState();
    if (switchRate)
        setTaxRate(StandardRate);
    for (const RowPtr &r : std::as_const(marked))
        r->setTaxClass(chosen);
    m_model->table()->rowsChangedInPlace(0, m_model->table()->count() - 1);
    refreshSums();
    const char *name = chosen == TaxClass::Reduced  ? QT_TRANSLATE_NOOP("Document", "Mark Reduced Rate")
                       : chosen == TaxClass::Exempt ? QT_TRANSLATE_NOOP("Document", "Mark Not Taxable")
                                                    : QT_TRANSLATE_NOOP("Document", "Mark Standard Rate");
    m_model->undoStack()->push(
        new TableStateCommand(this, QCoreApplication::translate("Document", name), before, tableState()));
}

} // namespace seikyu
