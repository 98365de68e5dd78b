#pragma once

#include "document/PanelSheet.h"
#include "table/ItemRow.h"

#include <QPointer>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QItemSelectionModel;
class QPushButton;
class QTableView;
class QUndoStack;

namespace seikyu {

class ItemTableModel;

/// The item table panel: the rows to edit, the tools that add, remove, total and finalize them,
/// the invoice's tax settings, and its own Undo and Redo (the panel is window-modal, so the
/// window's Edit menu cannot be reached while it is open). What the user asks for is announced;
/// the document does it.
class TablePanel : public PanelSheet
{
    Q_OBJECT

public:
    /// Shows `table`, selecting through `selection` (the page's table shares it), and undoes on `undo`.
    TablePanel(QWidget *window, ItemTableModel *table, QItemSelectionModel *selection, QUndoStack *undo);

    /// Shows the invoice's tax settings without announcing a change.
    void showTaxSettings(bool taxOnTop, int rate, bool withholding);
    /// Ends the typing into a cell as leaving it would, keeping what was typed; the current row,
    /// -1 when there is none.
    int commitTyping();

signals:
    void addRowAsked();
    void removeRowsAsked();
    void addSumAsked();
    void removeSumAsked();
    void finalizeAsked();
    /// Work Out Price, or Ctrl+Return: the current row's price.
    void priceAsked();
    void pasteAsked();
    /// A row was clicked: its price is worked out.
    void rowClicked(int row);
    void includeTaxClicked(bool on);
    void withholdingClicked(bool on);
    void rateChosen(int rate);
    void markAsked(TaxClass taxClass);

private:
    void addTaxControls(QBoxLayout *row);
    void followUndoStack(QPushButton *undo, QPushButton *redo);

    QPointer<QTableView> m_cells;
    QPointer<QCheckBox> m_taxOnTop;
    QPointer<QComboBox> m_rate;
    QPointer<QCheckBox> m_withholding;
    QPointer<QUndoStack> m_undo;
};

} // namespace seikyu
