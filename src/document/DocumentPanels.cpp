// The panels that the page's regions open, and the popovers of the saved lists.
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
#include "sections/ListFamily.h"
#include "sections/ListStore.h"
#include "sections/PanelSnapshot.h"
#include "widgets/PageButton.h"
#include "widgets/Popover.h"
#include "widgets/RoomBox.h"
#include "widgets/SegmentedControl.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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
        QPointer<QComboBox> *dial; // null when nothing outside the section reads it
        QPointer<QDialog> *panel;
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
         nullptr,
         &headCtrl},
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
         &whomCtrl},
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
         nullptr,
         &homeCtrl},
    };

    for (const Section &section : sections) {
        auto f = std::make_unique<ListFamily>();
        ListFamily *family = f.get();
        family->key = section.key;
        family->store = listStoreFor(section.key);
        auto *panel = new PanelSheet(window, section.prefix + QStringLiteral("Ctrl"), section.title);
        panel->addHint(section.hint);
        if (family->store->searchable()) {
            auto *search = named(new QLineEdit(panel), section.prefix + QStringLiteral("Find"));
            search->setPlaceholderText(tr("Search by name or reading"));
            search->setClearButtonEnabled(true);
            // Put back before the popup when the panel is cancelled: the chosen entry is one of
            // the entries the search found when the panel opened.
            search->setProperty(PanelSnapshot::NarrowsChoicesProperty, true);
            family->search = search;
            panel->column()->addWidget(search);
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
        panel->column()->addLayout(row);

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
            panel->column()->addLayout(tailRow);
            tail = honorific;
            family->honorific = [this] { return tail ? tail->labelForSegment(tail->selectedSegment()) : QString(); };
        }
        panel->addButtons(tr("OK"));
        connect(panel, &PanelSheet::confirmed, this, [this, family] { listCopy(*family); });

        family->pageButton = *section.button;
        family->room = *section.room;
        if (section.dial)
            *section.dial = dial;
        *section.panel = panel;
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
    gridCtrl = new TablePanel(m_window.get(), m_model->table(), grid->selectionModel(), m_model->undoStack());
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
}

} // namespace seikyu
