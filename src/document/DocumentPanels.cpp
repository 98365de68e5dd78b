// The panels that the page's regions open (the list sections build their own).
#include "document/ChoicePanel.h"
#include "document/DatePanel.h"
#include "document/Document.h"
#include "document/DueDatePanel.h"
#include "document/InvoiceWindow.h"
#include "document/NoticePanel.h"
#include "document/NumberPanel.h"
#include "document/RemarksPanel.h"
#include "document/StampPanel.h"
#include "document/TablePanel.h"
#include "invoice/ItemTableModel.h"

#include <QDialog>
#include <QTableView>

namespace seikyu {

void Document::buildPanels()
{
    buildListPanels();
    buildSmallPanels();
    buildTablePanels();
    buildFreelancePanels();
}

void Document::buildSmallPanels()
{
    QWidget *window = m_window.get();
    dateCtrl = new DatePanel(window);
    connect(dateCtrl, &PanelSheet::confirmed, this, [this] { dateCopy(); });

    pushCtrl = new StampPanel(window);
    connect(pushCtrl, &StampPanel::chooseAsked, this, [this] { pushChoose(); });
    connect(pushCtrl, &StampPanel::noneAsked, this, [this] { pushKillExec(); });
    connect(pushCtrl, &PanelSheet::confirmed, this, [this] { pushCopy(); });

    // The amount box's question and notice, then the totals' (asked from the table panel).
    sumsCtrl = new NoticePanel(window, QStringLiteral("sumsCtrl"), tr("Invoice Amount"), tr("OK"), true);
    sumsCtrl->setText(tr("Put the total of the item table into the invoice amount box?"));
    connect(sumsCtrl, &PanelSheet::confirmed, this, [this] { sumsCopy(); });
    sumsFail = new NoticePanel(window, QStringLiteral("sumsFail"), tr("No Total"), tr("OK"), false);
    connect(sumsFail, &PanelSheet::confirmed, this, [this] { sumsFailClose(); });
    gridSums = new NoticePanel(window, QStringLiteral("gridSums"), tr("Add Sum"), tr("Add Sum"), true);
    gridSums->setText(tr("Add the subtotal, the consumption tax and the total at the bottom of the table?"));
    connect(gridSums, &PanelSheet::confirmed, this, [this] { gridCalc(); });
    gridFail = new NoticePanel(window, QStringLiteral("gridFail"), tr("No Sums Added"), tr("OK"), false);
    connect(gridFail, &PanelSheet::confirmed, this, [this] { gridFailClose(); });
}

void Document::buildTablePanels()
{
    gridCtrl = new TablePanel(m_window.get(), m_model->table(), grid()->selectionModel(), m_model->undoStack());
    connect(gridCtrl, &TablePanel::rowClicked, this, &Document::gridNeat);
    connect(m_model->table(), &ItemTableModel::cellEditRequested, this, &Document::editCell);
    connect(gridCtrl, &TablePanel::addRowAsked, this, [this] { tblePlus(); });
    connect(gridCtrl, &TablePanel::removeRowsAsked, this, [this] { tbleKill(); });
    connect(gridCtrl, &TablePanel::addSumAsked, this, [this] { gridSumsShow(); });
    connect(gridCtrl, &TablePanel::removeSumAsked, this, [this] { tbleBack(); });
    connect(gridCtrl, &TablePanel::finalizeAsked, this, [this] { done(); });
    connect(gridCtrl, &TablePanel::priceAsked, this, [this] { gridNeatCurrent(); });
    connect(gridCtrl, &TablePanel::pasteAsked, this, [this] { gridPaste(); });
    connect(gridCtrl, &TablePanel::includeTaxClicked, this, &Document::changeTaxOnTop);
    connect(gridCtrl, &TablePanel::withholdingClicked, this, &Document::changeWithholding);
    connect(gridCtrl, &TablePanel::rateChosen, this, &Document::changeTaxRate);
    connect(gridCtrl, &TablePanel::markAsked, this, &Document::markRows);
    connect(gridCtrl, &PanelSheet::confirmed, this, [this] { gridCopy(); });
    // The panel's tax settings show the invoice's, however they change (a file shown, undo).
    const auto followTaxSettings = [this] {
        gridCtrl->showTaxSettings(m_model->taxOnTop(), m_model->taxRate(), m_model->withholding());
    };
    connect(m_model.get(), &InvoiceModel::valuesChanged, gridCtrl, followTaxSettings);
    followTaxSettings();
}

void Document::buildFreelancePanels()
{
    QWidget *window = m_window.get();
    numbCtrl = new NumberPanel(window);
    connect(numbCtrl, &NumberPanel::nextNumberAsked, this, [this] { numbNext(); });
    connect(numbCtrl, &PanelSheet::confirmed, this, [this] { numbCopy(); });
    duesCtrl = new DueDatePanel(window);
    connect(duesCtrl, &PanelSheet::confirmed, this, [this] { duesCopy(); });
    noteCtrl = new RemarksPanel(window);
    connect(noteCtrl, &PanelSheet::confirmed, this, [this] { noteCopy(); });
    paperCtrl = new ChoicePanel(window, ChoicePanel::paperWords());
    connect(paperCtrl, &PanelSheet::confirmed, this, [this] { paperCopy(); });
    amountsCtrl = new ChoicePanel(window, ChoicePanel::amountsWords());
    connect(amountsCtrl, &PanelSheet::confirmed, this, [this] { amountsCopy(); });
}

} // namespace seikyu
