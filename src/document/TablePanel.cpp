#include "document/TablePanel.h"

#include "invoice/ItemTableModel.h"
#include "table/PageTableDelegate.h"
#include "table/SumsRows.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace seikyu {

namespace {

/// Cells edit on a double click, F2, and also on Enter, as in a spreadsheet.
class EnterEdits : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *view = qobject_cast<QTableView *>(watched);
        if (view && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && view->currentIndex().isValid() &&
                (view->model()->flags(view->currentIndex()) & Qt::ItemIsEditable)) {
                // The Return that commits a cell comes on from its editor, which is still open: it
                // ends here rather than opening the editor again or pressing the panel's default button.
                if (view->hasFocus())
                    view->edit(view->currentIndex());
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

QString keysText(QKeySequence::StandardKey key)
{
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

} // namespace

TablePanel::TablePanel(QWidget *window, ItemTableModel *table, QItemSelectionModel *selection, QUndoStack *undo)
    : PanelSheet(window, QStringLiteral("gridCtrl"), tr("Items")), m_undo(undo)
{
    resize(720, 520);
    m_cells = new QTableView(this);
    m_cells->setObjectName(QStringLiteral("gridCore"));
    m_cells->setModel(table);
    m_cells->setSelectionModel(selection);
    auto *delegate = new PageTableDelegate(m_cells);
    delegate->setPixelSize(13);
    m_cells->setItemDelegate(delegate);
    m_cells->horizontalHeader()->hide();
    m_cells->verticalHeader()->hide();
    m_cells->setShowGrid(false);
    m_cells->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_cells->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_cells->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_cells->installEventFilter(new EnterEdits(m_cells));
    // Tab moves on to the panel's buttons; the arrow keys move between cells.
    m_cells->setTabKeyNavigation(false);
    m_cells->verticalHeader()->setDefaultSectionSize(22);
    m_cells->setColumnWidth(0, 80);
    m_cells->setColumnWidth(1, 260);
    m_cells->setColumnWidth(2, 110);
    m_cells->setColumnWidth(3, 80);
    m_cells->horizontalHeader()->setStretchLastSection(true);
    connect(m_cells, &QTableView::clicked, this, [this](const QModelIndex &index) { emit rowClicked(index.row()); });
    column()->addWidget(m_cells, 1);

    auto *tools = new QHBoxLayout;
    const auto addTool = [this, &tools](const QString &name, const QString &text, void (TablePanel::*asked)()) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        if (asked)
            connect(button, &QPushButton::clicked, this, asked);
        tools->addWidget(button);
        return button;
    };
    addTool(QStringLiteral("rowsPlus"), tr("Add a Row"), &TablePanel::addRowAsked);
    addTool(QStringLiteral("tbleKill"), tr("Remove Rows"), &TablePanel::removeRowsAsked);
    addTool(QStringLiteral("gridSumsButton"), tr("Add Sum"), &TablePanel::addSumAsked);
    addTool(QStringLiteral("tbleBack"), tr("Remove Sum"), &TablePanel::removeSumAsked);
    addTool(QStringLiteral("done"), tr("Finalize"), &TablePanel::finalizeAsked);
    tools->addStretch();
    column()->addLayout(tools);
    auto *taxRow = new QHBoxLayout;
    addTaxControls(taxRow);
    column()->addLayout(taxRow);

    auto *more = new QHBoxLayout;
    tools = more;
    QPushButton *price = addTool(QStringLiteral("gridNeat"), tr("Work Out Price"), &TablePanel::priceAsked);
    const QKeySequence priceKeys(Qt::CTRL | Qt::Key_Return);
    price->setToolTip(tr("Works out the current row's price: unit price × quantity (%1). Clicking a row does the same.")
                          .arg(priceKeys.toString(QKeySequence::NativeText)));
    more->addStretch();
    QPushButton *undoButton = addTool(QStringLiteral("gridUndo"), tr("Undo"), nullptr);
    QPushButton *redoButton = addTool(QStringLiteral("gridRedo"), tr("Redo"), nullptr);
    connect(undoButton, &QPushButton::clicked, undo, &QUndoStack::undo);
    connect(redoButton, &QPushButton::clicked, undo, &QUndoStack::redo);
    followUndoStack(undoButton, redoButton);
    column()->addLayout(more);
    const auto addKeys = [this](const QList<QKeySequence> &keys, auto receiver, auto action) {
        auto *shortcut = new QAction(this);
        shortcut->setShortcuts(keys);
        shortcut->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QAction::triggered, receiver, action);
        addAction(shortcut);
    };
    addKeys(QKeySequence::keyBindings(QKeySequence::Undo), undo, &QUndoStack::undo);
    addKeys(QKeySequence::keyBindings(QKeySequence::Redo), undo, &QUndoStack::redo);
    addKeys({priceKeys, QKeySequence(Qt::CTRL | Qt::Key_Enter)}, this, &TablePanel::priceAsked);
    addKeys(QKeySequence::keyBindings(QKeySequence::Paste), this, &TablePanel::pasteAsked);
    addButtons(tr("OK"));
}

void TablePanel::addTaxControls(QBoxLayout *row)
{
    m_taxOnTop = new QCheckBox(tr("Include Tax"), this);
    m_taxOnTop->setObjectName(QStringLiteral("gridXtax"));
    m_taxOnTop->setToolTip(tr("On: the consumption tax is added on top of the prices. Off: the prices include it."));
    connect(m_taxOnTop, &QCheckBox::clicked, this, &TablePanel::includeTaxClicked);

    m_rate = new QComboBox(this);
    m_rate->setObjectName(QStringLiteral("gridRate"));
    m_rate->addItem(tr("10 %"), StandardRate);
    m_rate->addItem(tr("8 %"), ReducedRate);
    m_rate->setToolTip(tr("The invoice's consumption-tax rate: 10 % is the standard rate since October 2019, 8 % "
                          "the rate of earlier invoices. Rows of food, drink or newspapers are marked reduced (8 %)."));
    m_rate->setAccessibleName(tr("Tax rate"));
    connect(m_rate, &QComboBox::activated, this, [this] { emit rateChosen(m_rate->currentData().toInt()); });
    auto *rateLabel = new QLabel(tr("&Rate:"), this);
    rateLabel->setBuddy(m_rate);

    auto *marks = new QToolButton(this);
    marks->setObjectName(QStringLiteral("gridMarks"));
    marks->setText(tr("Tax Class"));
    marks->setToolTip(tr("How the selected rows are taxed"));
    marks->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(marks);
    const auto addMark = [&](const QString &text, const char *name, TaxClass taxClass, const QKeySequence &keys) {
        QAction *action = menu->addAction(text, this, [this, taxClass] { emit markAsked(taxClass); });
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action); // the shortcut works wherever the focus is in the panel
    };
    addMark(tr("Reduced Rate 8 % (※)"), "markReduced", TaxClass::Reduced, QKeySequence(Qt::CTRL | Qt::Key_R));
    addMark(tr("Not Taxable (非課税)"), "markExempt", TaxClass::Exempt, QKeySequence(Qt::CTRL | Qt::Key_E));
    addMark(tr("Standard Rate"), "markStandard", TaxClass::Standard, QKeySequence());
    marks->setMenu(menu);

    m_withholding = new QCheckBox(tr("Withhold Income Tax (源泉徴収)"), this);
    m_withholding->setObjectName(QStringLiteral("gridHold"));
    m_withholding->setToolTip(tr("For fees paid to an individual: the sums end with the income tax the customer "
                                 "withholds and the amount they pay."));
    connect(m_withholding, &QCheckBox::clicked, this, &TablePanel::withholdingClicked);

    row->addWidget(m_taxOnTop);
    row->addWidget(rateLabel);
    row->addWidget(m_rate);
    row->addWidget(marks);
    row->addWidget(m_withholding);
    row->addStretch();
}

void TablePanel::showTaxSettings(bool taxOnTop, int rate, bool withholding)
{
    m_taxOnTop->setChecked(taxOnTop);
    m_rate->setCurrentIndex(m_rate->findData(rate));
    m_withholding->setChecked(withholding);
}

int TablePanel::commitTyping()
{
    QAbstractItemDelegate *delegate = m_cells->itemDelegate();
    for (QWidget *editor : m_cells->viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!editor->isVisible())
            continue;
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    return m_cells->currentIndex().row();
}

void TablePanel::followUndoStack(QPushButton *undo, QPushButton *redo)
{
    const auto follow = [this, undo, redo] {
        const bool canUndo = m_undo->canUndo(), canRedo = m_undo->canRedo();
        undo->setEnabled(canUndo);
        redo->setEnabled(canRedo);
        undo->setToolTip(canUndo ? tr("Undo “%1” (%2)").arg(m_undo->undoText(), keysText(QKeySequence::Undo))
                                 : tr("Nothing to undo"));
        redo->setToolTip(canRedo ? tr("Redo “%1” (%2)").arg(m_undo->redoText(), keysText(QKeySequence::Redo))
                                 : tr("Nothing to redo"));
        undo->setAccessibleDescription(undo->toolTip());
        redo->setAccessibleDescription(redo->toolTip());
    };
    connect(m_undo, &QUndoStack::indexChanged, undo, follow);
    connect(m_undo, &QUndoStack::undoTextChanged, undo, follow);
    connect(m_undo, &QUndoStack::redoTextChanged, undo, follow);
    follow();
}

} // namespace seikyu
