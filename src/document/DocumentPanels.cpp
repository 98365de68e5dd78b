// The panels that the page's regions open, and the popovers of the saved lists.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "invoice/ItemTableModel.h"
#include "sections/ListFamily.h"
#include "sections/ListStore.h"
#include "sections/PanelSnapshot.h"
#include "table/PageTableDelegate.h"
#include "widgets/ImageWell.h"
#include "widgets/PageButton.h"
#include "widgets/Popover.h"
#include "widgets/RoomBox.h"
#include "widgets/SegmentedControl.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {

template <typename T> T *named(T *object, const QString &name)
{
    object->setObjectName(name);
    return object;
}

/// A date chooser with its calendar, over every date the file format can hold.
QDateEdit *makeDatePicker(QWidget *panel, const QString &name)
{
    auto *picker = named(new QDateEdit(panel), name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    return picker;
}

/// A panel of the window, owned by it.
QDialog *makePanel(QWidget *window, const QString &name, const QString &title)
{
    auto *panel = new QDialog(window);
    panel->setObjectName(name);
    panel->setWindowTitle(title);
    new QVBoxLayout(panel);
    return panel;
}

QVBoxLayout *layoutOf(QDialog *panel)
{
    return static_cast<QVBoxLayout *>(panel->layout());
}

/// The panel's closing buttons: Cancel ends the sheet without writing the page; the confirming
/// button runs the region's operation, which ends the sheet itself when it succeeds.
QPushButton *addButtons(QDialog *panel, const QString &confirm, QObject *context, std::function<void()> onConfirm,
                        bool withCancel = true)
{
    auto *buttons = new QDialogButtonBox(panel);
    if (withCancel) {
        QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
        cancel->setObjectName(panel->objectName() + QStringLiteral("Cancel"));
        QObject::connect(cancel, &QPushButton::clicked, panel, &QDialog::reject);
    }
    QPushButton *ok = buttons->addButton(confirm, QDialogButtonBox::AcceptRole);
    ok->setObjectName(panel->objectName() + QStringLiteral("Ok"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    QObject::connect(ok, &QPushButton::clicked, context, [onConfirm = std::move(onConfirm)] { onConfirm(); });
    layoutOf(panel)->addWidget(buttons);
    return ok;
}

Popover *makePopover(QWidget *window, const QString &name)
{
    auto *popover = new Popover(window);
    popover->setObjectName(name);
    new QVBoxLayout(popover);
    return popover;
}

QPushButton *addPopoverButton(Popover *popover, const QString &text, QObject *context, std::function<void()> onClick)
{
    auto *button = named(new QPushButton(text, popover), popover->objectName() + QStringLiteral("Exec"));
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, context, [onClick = std::move(onClick)] { onClick(); });
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    static_cast<QVBoxLayout *>(popover->layout())->addLayout(row);
    return button;
}

QLineEdit *addField(Popover *popover, QFormLayout *form, const QString &name, const QString &label, QObject *context,
                    std::function<void()> onReturn)
{
    auto *field = named(new QLineEdit(popover), name);
    field->setMinimumWidth(260);
    form->addRow(label, field);
    QObject::connect(field, &QLineEdit::returnPressed, context, [onReturn] { onReturn(); });
    return field;
}

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

/// Up and Down in a search field choose the previous or next entry of the popup it narrows.
class ArrowsMoveChoice : public QObject
{
public:
    ArrowsMoveChoice(QComboBox *chooser, QObject *parent) : QObject(parent), m_chooser(chooser) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && m_chooser) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            const int step = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
            if (step != 0) {
                const int next = std::clamp(m_chooser->currentIndex() + step, 0, m_chooser->count() - 1);
                if (next >= 0 && next != m_chooser->currentIndex()) {
                    m_chooser->setCurrentIndex(next);
                    emit m_chooser->activated(next); // the user's own choice, as in the popup
                }
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QComboBox> m_chooser;
};

} // namespace

void Document::buildPanels()
{
    buildListPanels();
    buildSmallPanels();
    buildTablePanels();
    buildFreelancePanels();
}

void Document::buildListPanels()
{
    QWidget *window = m_window.get();
    struct Section
    {
        QString prefix;
        QString key;
        QString title;
        QStringList newsNames;
        QStringList editNames;
        QStringList labels;
        QString hint;
        // Where the section's elements are kept in the document.
        QPointer<PageButton> *button;
        QPointer<RoomBox> *room;
        QPointer<QComboBox> *dial;
        QPointer<QDialog> *panel;
        QPointer<Popover> *plus;
        QPointer<Popover> *kill;
        QPointer<Popover> *edit;
        QList<QPointer<QLineEdit> *> newsMembers;
        QList<QPointer<QLineEdit> *> editMembers;
    };
    const QList<Section> sections = {
        {QStringLiteral("head"),
         QStringLiteral("head"),
         tr("Title"),
         {QStringLiteral("headNewsText")},
         {QStringLiteral("headEditText")},
         {tr("Title")},
         tr("The invoice's title. Add the titles you use with +; OK puts the selected one on the page."),
         &head,
         &headRoom,
         &headDial,
         &headCtrl,
         &headPlusPopover,
         &headKillPopover,
         &headEditPopover,
         {&headNewsText},
         {&headEditText}},
        {QStringLiteral("whom"),
         QStringLiteral("whom"),
         tr("Customer"),
         {QStringLiteral("whomNewsText")},
         {QStringLiteral("whomEditText")},
         {tr("Name")},
         tr("The customer. Add your customers with +, then choose 御中 for a company or 様 for a person."),
         &whom,
         &whomRoom,
         &whomDial,
         &whomCtrl,
         &whomPlusPopover,
         &whomKillPopover,
         &whomEditPopover,
         {&whomNewsText},
         {&whomEditText}},
        {QStringLiteral("home"),
         QStringLiteral("from"),
         tr("Your Details"),
         {QStringLiteral("newsCode"), QStringLiteral("newsMaps"), QStringLiteral("newsName"),
          QStringLiteral("newsCall"), QStringLiteral("newsBank"), QStringLiteral("newsRegn")},
         {QStringLiteral("editCode"), QStringLiteral("editMaps"), QStringLiteral("editName"),
          QStringLiteral("editCall"), QStringLiteral("editBank"), QStringLiteral("editRegn")},
         {tr("Postal code"), tr("Address"), tr("Name"), tr("Telephone"), tr("Bank account"), tr("Registration number")},
         tr("Your own details: postal code, address, name, telephone and bank account, and the registration "
            "number (登録番号) that makes the invoice a qualified invoice."),
         &home,
         &homeRoom,
         &homeDial,
         &homeCtrl,
         &homePlusPopover,
         &homeKillPopover,
         &homeEditPopover,
         {&newsCode, &newsMaps, &newsName, &newsCall, &newsBank, &newsRegn},
         {&editCode, &editMaps, &editName, &editCall, &editBank, &editRegn}},
    };

    for (const Section &section : sections) {
        auto f = std::make_unique<ListFamily>();
        ListFamily *family = f.get();
        family->key = section.key;
        family->store = listStoreFor(section.key);
        QDialog *panel = makePanel(window, section.prefix + QStringLiteral("Ctrl"), section.title);
        auto *hint = new QLabel(section.hint, panel);
        hint->setWordWrap(true);
        layoutOf(panel)->addWidget(hint);
        if (family->store->searchable()) {
            auto *search = named(new QLineEdit(panel), section.prefix + QStringLiteral("Find"));
            search->setPlaceholderText(tr("Search by name or reading"));
            search->setClearButtonEnabled(true);
            // Put back before the popup when the panel is cancelled: the chosen entry is one of
            // the entries the search found when the panel opened.
            search->setProperty(PanelSnapshot::NarrowsChoicesProperty, true);
            family->search = search;
            layoutOf(panel)->addWidget(search);
            connect(search, &QLineEdit::textChanged, this, [this, family] { listSearch(*family); });
        }
        auto *dial = named(new QComboBox(panel), section.prefix + QStringLiteral("Dial"));
        dial->setMinimumWidth(320);
        dial->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        dial->setMinimumContentsLength(24);
        family->dial = dial;
        if (family->search) {
            // The arrows in the search move through what it found, so that the keyboard alone
            // searches and chooses; Return is the panel's OK.
            family->search->installEventFilter(new ArrowsMoveChoice(dial, family->search));
            family->search->setAccessibleName(tr("Search"));
            family->search->setAccessibleDescription(
                tr("Narrows the list to the entries whose name or reading holds what is typed. Up and Down "
                   "choose among them; Return puts the chosen one on the page."));
        }
        auto *row = new QHBoxLayout;
        row->addWidget(dial, 1);
        auto addTool = [&](const QString &suffix, const QString &text, const QString &tip) {
            auto *button = named(new QToolButton(panel), section.prefix + suffix + QStringLiteral("Button"));
            button->setText(text);
            button->setToolTip(tip);
            row->addWidget(button);
            return button;
        };
        QToolButton *plusButton = addTool(QStringLiteral("Plus"), QStringLiteral("+"), tr("Add an entry"));
        QToolButton *killButton = addTool(QStringLiteral("Kill"), QStringLiteral("−"), tr("Remove the selected entry"));
        QToolButton *editButton = addTool(QStringLiteral("Edit"), tr("Edit…"), tr("Edit the selected entry"));
        layoutOf(panel)->addLayout(row);

        // Popovers: add, remove, edit.
        Popover *plus = makePopover(window, section.prefix + QStringLiteral("Plus"));
        Popover *kill = makePopover(window, section.prefix + QStringLiteral("Kill"));
        Popover *edit = makePopover(window, section.prefix + QStringLiteral("Edit"));
        auto *plusForm = new QFormLayout;
        auto *editForm = new QFormLayout;
        static_cast<QVBoxLayout *>(plus->layout())->addLayout(plusForm);
        static_cast<QVBoxLayout *>(edit->layout())->addLayout(editForm);
        for (int i = 0; i < section.newsNames.size(); ++i) {
            family->newsFields.append(addField(plus, plusForm, section.newsNames.at(i), section.labels.at(i), this,
                                               [this, family] { listPlusExec(*family); }));
            family->editFields.append(addField(edit, editForm, section.editNames.at(i), section.labels.at(i), this,
                                               [this, family] { listEditExec(*family); }));
        }
        addPopoverButton(plus, tr("Add"), this, [this, family] { listPlusExec(*family); });
        auto *question = new QLabel(tr("Remove the selected entry from the list?"), kill);
        static_cast<QVBoxLayout *>(kill->layout())->addWidget(question);
        addPopoverButton(kill, tr("Remove"), this, [this, family] { listKillExec(*family); });
        addPopoverButton(edit, tr("Change"), this, [this, family] { listEditExec(*family); });
        family->plusPopover = plus;
        family->killPopover = kill;
        family->editPopover = edit;
        family->panel = panel;

        connect(plusButton, &QToolButton::clicked, this,
                [this, family, plusButton] { listPopover(*family, family->plusPopover, plusButton); });
        connect(killButton, &QToolButton::clicked, this,
                [this, family, killButton] { listPopover(*family, family->killPopover, killButton); });
        connect(editButton, &QToolButton::clicked, this, [this, family, editButton] { listEdit(*family, editButton); });

        if (section.prefix == QLatin1String("whom")) {
            auto *honorific =
                named(new SegmentedControl({honorificLabel(0), honorificLabel(1)}, panel), QStringLiteral("tail"));
            honorific->setSelectedSegment(0);
            auto *tailRow = new QHBoxLayout;
            tailRow->addWidget(new QLabel(tr("Honorific:"), panel));
            tailRow->addWidget(honorific);
            tailRow->addStretch();
            layoutOf(panel)->addLayout(tailRow);
            tail = honorific;
            family->honorific = [this] { return tail ? tail->labelForSegment(tail->selectedSegment()) : QString(); };
        }
        addButtons(panel, tr("OK"), this, [this, family] { listCopy(*family); });

        family->pageButton = *section.button;
        family->room = *section.room;
        *section.dial = dial;
        for (int i = 0; i < section.newsMembers.size(); ++i) {
            *section.newsMembers.at(i) = family->newsFields.value(i);
            *section.editMembers.at(i) = family->editFields.value(i);
        }
        *section.panel = panel;
        *section.plus = plus;
        *section.kill = kill;
        *section.edit = edit;
        m_families.push_back(std::move(f));
    }
    setUpRegistrationNumber();
    followCustomerHonorifics();
    setUpCustomerPeer();
    setUpCustomerBookLink();
    setUpBankAccount();
}

void Document::buildSmallPanels()
{
    QWidget *window = m_window.get();

    // Date.
    dateCtrl = makePanel(window, QStringLiteral("dateCtrl"), tr("Date"));
    QDateEdit *picker = makeDatePicker(dateCtrl.get(), QStringLiteral("dateDial"));
    dateDial = picker;
    auto *era = named(new QCheckBox(tr("Japanese era (令和)"), dateCtrl.get()), QStringLiteral("dateJaps"));
    dateJaps = era;
    auto *dateForm = new QFormLayout;
    dateForm->addRow(tr("Invoice date:"), picker);
    dateForm->addRow(QString(), era);
    layoutOf(dateCtrl.get())->addLayout(dateForm);
    addButtons(dateCtrl.get(), tr("OK"), this, [this] { dateCopy(); });

    // Stamp.
    pushCtrl = makePanel(window, QStringLiteral("pushCtrl"), tr("Stamp"));
    auto *well = named(new ImageWell(pushCtrl.get()), QStringLiteral("pushTest"));
    well->setMinimumSize(200, 200);
    pushTest = well;
    layoutOf(pushCtrl.get())->addWidget(well, 1);
    auto *stampRow = new QHBoxLayout;
    auto *choose = named(new QPushButton(tr("Choose…"), pushCtrl.get()), QStringLiteral("pushChoose"));
    auto *none = named(new QPushButton(tr("No stamp"), pushCtrl.get()), QStringLiteral("pushKillExec"));
    choose->setAutoDefault(false);
    none->setAutoDefault(false);
    stampRow->addWidget(choose);
    stampRow->addWidget(none);
    stampRow->addStretch();
    layoutOf(pushCtrl.get())->addLayout(stampRow);
    connect(choose, &QPushButton::clicked, this, [this, choose] { pushChoose(choose); });
    connect(none, &QPushButton::clicked, this, [this, none] { pushKillExec(none); });
    addButtons(pushCtrl.get(), tr("OK"), this, [this] { pushCopy(); });

    // Amount box.
    sumsCtrl = makePanel(window, QStringLiteral("sumsCtrl"), tr("Invoice Amount"));
    layoutOf(sumsCtrl.get())
        ->addWidget(new QLabel(tr("Put the total of the item table into the invoice amount box?"), sumsCtrl.get()));
    addButtons(sumsCtrl.get(), tr("OK"), this, [this] { sumsCopy(); });
    sumsFail = makePanel(window, QStringLiteral("sumsFail"), tr("No Total"));
    sumsFailText = named(new QLabel(sumsFail.get()), QStringLiteral("sumsFailText"));
    layoutOf(sumsFail.get())->addWidget(sumsFailText);
    addButtons(
        sumsFail.get(), tr("OK"), this, [this] { sumsFailClose(); }, false);

    // Totals confirmation and its notice.
    gridSums = makePanel(window, QStringLiteral("gridSums"), tr("Add Sum"));
    layoutOf(gridSums.get())
        ->addWidget(new QLabel(tr("Add the subtotal, the consumption tax and the total at the bottom of the table?"),
                               gridSums.get()));
    addButtons(gridSums.get(), tr("Add Sum"), this, [this] { gridCalc(); });
    gridFail = makePanel(window, QStringLiteral("gridFail"), tr("No Sums Added"));
    gridFailText = named(new QLabel(gridFail.get()), QStringLiteral("gridFailText"));
    layoutOf(gridFail.get())->addWidget(gridFailText);
    addButtons(
        gridFail.get(), tr("OK"), this, [this] { gridFailClose(); }, false);
}

void Document::buildTablePanels()
{
    QWidget *window = m_window.get();
    gridCtrl = makePanel(window, QStringLiteral("gridCtrl"), tr("Items"));
    gridCtrl->resize(720, 520);
    auto *table = named(new QTableView(gridCtrl.get()), QStringLiteral("gridCore"));
    table->setModel(bank);
    table->setSelectionModel(grid->selectionModel());
    auto *delegate = new PageTableDelegate(table);
    delegate->setPixelSize(13);
    table->setItemDelegate(delegate);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setShowGrid(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table->installEventFilter(new EnterEdits(table));
    // Tab moves on to the panel's buttons; the arrow keys move between cells.
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setDefaultSectionSize(22);
    table->setColumnWidth(0, 80);
    table->setColumnWidth(1, 260);
    table->setColumnWidth(2, 110);
    table->setColumnWidth(3, 80);
    table->horizontalHeader()->setStretchLastSection(true);
    gridCore = table;
    connect(table, &QTableView::clicked, this, [this](const QModelIndex &index) { gridNeat(index.row()); });
    connect(bank, &ItemTableModel::cellEditRequested, this, &Document::editCell);
    layoutOf(gridCtrl.get())->addWidget(table, 1);

    auto *tools = new QHBoxLayout;
    auto addTool = [&](const QString &name, const QString &text, std::function<void()> action) {
        auto *button = named(new QPushButton(text, gridCtrl.get()), name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
        tools->addWidget(button);
        return button;
    };
    rowsPlus = addTool(QStringLiteral("rowsPlus"), tr("Add a Row"), [this] { tblePlus(); });
    addTool(QStringLiteral("tbleKill"), tr("Remove Rows"), [this] { tbleKill(); });
    addTool(QStringLiteral("gridSumsButton"), tr("Add Sum"), [this] { gridSumsShow(); });
    addTool(QStringLiteral("tbleBack"), tr("Remove Sum"), [this] { tbleBack(); });
    addTool(QStringLiteral("done"), tr("Finalize"), [this] { done(); });
    tools->addStretch();
    layoutOf(gridCtrl.get())->addLayout(tools);
    auto *taxRow = new QHBoxLayout;
    buildTaxControls(taxRow);
    layoutOf(gridCtrl.get())->addLayout(taxRow);

    // The panel is window-modal, so the window's Edit menu cannot be reached while it is open: it
    // carries its own Undo and Redo, with the usual keys.
    auto *more = new QHBoxLayout;
    tools = more;
    QPushButton *price = addTool(QStringLiteral("gridNeat"), tr("Work Out Price"), [this] { gridNeatCurrent(); });
    const QKeySequence priceKeys(Qt::CTRL | Qt::Key_Return);
    price->setToolTip(tr("Works out the current row's price: unit price × quantity (%1). Clicking a row does the same.")
                          .arg(priceKeys.toString(QKeySequence::NativeText)));
    more->addStretch();
    QPushButton *undo = addTool(QStringLiteral("gridUndo"), tr("Undo"), [this] { m_model->undoStack()->undo(); });
    QPushButton *redo = addTool(QStringLiteral("gridRedo"), tr("Redo"), [this] { m_model->undoStack()->redo(); });
    followUndoStack(undo, redo);
    layoutOf(gridCtrl.get())->addLayout(more);
    const auto addKeys = [this](const QList<QKeySequence> &keys, std::function<void()> action) {
        auto *shortcut = new QAction(gridCtrl.get());
        shortcut->setShortcuts(keys);
        shortcut->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QAction::triggered, this, [action = std::move(action)] { action(); });
        gridCtrl->addAction(shortcut);
    };
    addKeys(QKeySequence::keyBindings(QKeySequence::Undo), [this] { m_model->undoStack()->undo(); });
    addKeys(QKeySequence::keyBindings(QKeySequence::Redo), [this] { m_model->undoStack()->redo(); });
    addKeys({priceKeys, QKeySequence(Qt::CTRL | Qt::Key_Enter)}, [this] { gridNeatCurrent(); });
    addKeys(QKeySequence::keyBindings(QKeySequence::Paste), [this] { gridPaste(); });

    addButtons(gridCtrl.get(), tr("OK"), this, [this] { gridCopy(); });
}

void Document::buildFreelancePanels()
{
    QWidget *window = m_window.get();
    const auto addHint = [](QDialog *panel, const QString &text) {
        auto *hint = new QLabel(text, panel);
        hint->setWordWrap(true);
        layoutOf(panel)->addWidget(hint);
        return hint;
    };

    // Invoice number.
    numbCtrl = makePanel(window, QStringLiteral("numbCtrl"), tr("Invoice Number"));
    named(
        addHint(numbCtrl.get(), tr("The invoice's number, shown under the date. The next number of your sequence is "
                                   "offered (Preferences set its pattern); type any other if you like. Leave it empty "
                                   "for an invoice without a number.")),
        QStringLiteral("numbHint"));
    numbText = named(new QLineEdit(numbCtrl.get()), QStringLiteral("numbText"));
    numbText->setMinimumWidth(220);
    numbText->setMaxLength(100);
    auto *next = named(new QPushButton(tr("Next Number"), numbCtrl.get()), QStringLiteral("numbNext"));
    next->setAutoDefault(false);
    next->setToolTip(tr("Puts the next number of your sequence into the field."));
    connect(next, &QPushButton::clicked, this, [this] { numbNext(); });
    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(numbText, 1);
    numberRow->addWidget(next);
    auto *numberForm = new QFormLayout;
    numberForm->addRow(tr("Invoice number:"), numberRow);
    layoutOf(numbCtrl.get())->addLayout(numberForm);
    // What the office's server says of the number, when the ledger is shared.
    auto *server = named(new QLabel(numbCtrl.get()), QStringLiteral("numbServer"));
    server->setWordWrap(true);
    server->hide();
    layoutOf(numbCtrl.get())->addWidget(server);
    addButtons(numbCtrl.get(), tr("OK"), this, [this] { numbCopy(); });

    // Payment due date.
    duesCtrl = makePanel(window, QStringLiteral("duesCtrl"), tr("Payment Due Date"));
    addHint(duesCtrl.get(), tr("When the customer is to pay, shown under the invoice amount. It is proposed from "
                               "the invoice date by your usual terms (Preferences)."));
    duesUsed = named(new QCheckBox(tr("Show a payment due date"), duesCtrl.get()), QStringLiteral("duesUsed"));
    duesDial = makeDatePicker(duesCtrl.get(), QStringLiteral("duesDial"));
    connect(duesUsed, &QCheckBox::toggled, duesDial, &QWidget::setEnabled);
    auto *dueForm = new QFormLayout;
    dueForm->addRow(QString(), duesUsed);
    dueForm->addRow(tr("Pay by:"), duesDial);
    layoutOf(duesCtrl.get())->addLayout(dueForm);
    addButtons(duesCtrl.get(), tr("OK"), this, [this] { duesCopy(); });

    // Remarks.
    noteCtrl = makePanel(window, QStringLiteral("noteCtrl"), tr("Remarks"));
    addHint(noteCtrl.get(), tr("A few lines under the item table: who pays the transfer fee, the project's name. "
                               "Leave it empty for an invoice without remarks."));
    noteText = named(new QPlainTextEdit(noteCtrl.get()), QStringLiteral("noteText"));
    noteText->setTabChangesFocus(true); // Tab goes on to the buttons; Return starts a new line
    noteText->setMinimumSize(420, 110);
    layoutOf(noteCtrl.get())->addWidget(noteText, 1);
    addButtons(noteCtrl.get(), tr("OK"), this, [this] { noteCopy(); });
}

} // namespace seikyu
