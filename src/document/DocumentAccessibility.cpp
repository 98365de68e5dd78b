// The page and its panels for a person who uses the keyboard or a screen reader: every region and
// every control has a name and a description, a region announces what it holds ("Customer:
// 株式会社テスト商事 御中"), and every region, the item table included, opens from the keyboard.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "document/ListSection.h"
#include "page/PageFonts.h"
#include "widgets/ImageWell.h"
#include "widgets/PageButton.h"
#include "widgets/Popover.h"
#include "widgets/SegmentedControl.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <optional>

namespace seikyu {

namespace {

/// The texts of this file share the translation context "Accessibility", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(Accessibility)
};

/// A page region as a screen reader meets it: a button named by the region and what it holds
/// now, read afresh each time (setting a button's text already tells assistive technology that
/// its name changed).
class PageRegionAccessible : public QAccessibleWidget
{
public:
    explicit PageRegionAccessible(PageButton *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const auto *button = static_cast<const PageButton *>(widget());
        QString content = printableText(button->shownText()).simplified();
        if (content.isEmpty() && !button->image().isNull())
            content = Text::tr("image");
        if (content.isEmpty())
            return Text::tr("%1: empty").arg(button->accessibleName());
        return QStringLiteral("%1: %2").arg(button->accessibleName(), content);
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<PageButton *>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *pageRegionInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String(PageButton::staticMetaObject.className()))
        if (auto *button = qobject_cast<PageButton *>(object))
            return new PageRegionAccessible(button);
    return nullptr;
}

/// The page's item table opens its panel from the keyboard as the other regions do, and takes no
/// other key: the page is not where rows are chosen or edited.
class KeysOpenTable : public QObject
{
public:
    KeysOpenTable(QObject *parent, std::function<void()> open) : QObject(parent), m_open(std::move(open)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_open();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            return true;
        }
    }

private:
    std::function<void()> m_open;
};

void describe(QWidget *widget, const QString &name, const QString &description)
{
    if (!widget)
        return;
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
}

/// A control's visible words as its name: "Edit…" is read as "Edit".
QString visibleName(const QWidget *widget)
{
    QString text;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    text.remove(QLatin1Char('&'));
    text.remove(QStringLiteral("…"));
    return text.trimmed();
}

struct ControlText
{
    QString name; ///< empty: the control's visible words
    QString description;
};

/// What the controls of the title, customer and issuer panels say, by their names less the
/// section's prefix: the panel's own title tells the three apart.
QHash<QString, ControlText> listPanelTexts()
{
    return {
        {QStringLiteral("Dial"), {QString(), Text::tr("Your saved entries. OK puts the chosen one on the page.")}},
        {QStringLiteral("PlusButton"),
         {Text::tr("Add an entry"), Text::tr("Adds an entry to this list, which every invoice shares.")}},
        {QStringLiteral("KillButton"),
         {Text::tr("Remove the entry"), Text::tr("Removes the chosen entry from this list.")}},
        {QStringLiteral("EditButton"),
         {Text::tr("Edit the entry"), Text::tr("Changes the chosen entry of this list.")}},
        {QStringLiteral("CtrlOk"), {QString(), Text::tr("Puts the chosen entry on the page and closes the panel.")}},
        {QStringLiteral("PlusExec"), {QString(), Text::tr("Adds the new entry to the list.")}},
        {QStringLiteral("KillExec"), {QString(), Text::tr("Removes the chosen entry from the list.")}},
        {QStringLiteral("EditExec"), {QString(), Text::tr("Keeps the changed entry in the list.")}},
    };
}

QHash<QString, QString> otherControlTexts()
{
    return {
        {QStringLiteral("tail"), Text::tr("御中 for a company or an organisation, 様 for a person.")},
        {QStringLiteral("segment0"), Text::tr("Addresses a company or an organisation.")},
        {QStringLiteral("segment1"), Text::tr("Addresses a person.")},
        {QStringLiteral("dateDial"), Text::tr("The day the invoice is issued.")},
        {QStringLiteral("dateJaps"), Text::tr("Shows the date in the Japanese era, as 令和8年12月5日.")},
        {QStringLiteral("dateCtrlOk"), Text::tr("Puts the date on the page and closes the panel.")},
        {QStringLiteral("pushTest"), Text::tr("The stamp to use. Drop or paste an image of your seal here.")},
        {QStringLiteral("pushChoose"), Text::tr("Chooses an image file for the stamp.")},
        {QStringLiteral("pushKillExec"), Text::tr("Empties the preview; OK then removes your stamp.")},
        {QStringLiteral("pushCtrlOk"), Text::tr("Puts the stamp on the page and keeps it for every invoice.")},
        {QStringLiteral("sumsCtrlOk"), Text::tr("Puts the item table's total into the invoice amount.")},
        {QStringLiteral("sumsFailOk"), Text::tr("Closes this notice.")},
        {QStringLiteral("gridSumsOk"), Text::tr("Appends the subtotal, the consumption tax and the total.")},
        {QStringLiteral("gridSumsCancel"), Text::tr("Goes back to the table without adding the sums.")},
        {QStringLiteral("gridFailOk"), Text::tr("Closes this notice.")},
        {QStringLiteral("gridCore"),
         Text::tr("The invoice's rows. Arrow keys move, Return or F2 edits a cell, Ctrl+Return works out the "
                  "row's price, Tab goes on to the buttons.")},
        {QStringLiteral("rowsPlus"), Text::tr("Adds a row at the end of the table.")},
        {QStringLiteral("tbleKill"), Text::tr("Removes the selected rows.")},
        {QStringLiteral("gridSumsButton"), Text::tr("Appends the subtotal, the consumption tax and the total.")},
        {QStringLiteral("tbleBack"), Text::tr("Takes the sums rows away again.")},
        {QStringLiteral("done"), Text::tr("Writes every amount in the table as currency.")},
        {QStringLiteral("gridXtax"),
         Text::tr("Adds 8 % consumption tax to the subtotal. Turn it off when your prices include tax.")},
        {QStringLiteral("gridCtrlOk"), Text::tr("Keeps the table as it is and closes the panel.")},
        {QStringLiteral("numbText"),
         Text::tr("The invoice's number. Empty: the invoice has none. Return puts it on the page.")},
        {QStringLiteral("numbNext"), Text::tr("Puts the next number of your sequence into the field.")},
        {QStringLiteral("numbCtrlOk"), Text::tr("Puts the number on the page and closes the panel.")},
        {QStringLiteral("duesUsed"), Text::tr("Whether the invoice shows when it is to be paid.")},
        {QStringLiteral("duesDial"), Text::tr("The day by which the customer is to pay.")},
        {QStringLiteral("duesCtrlOk"), Text::tr("Puts the due date on the page and closes the panel.")},
        {QStringLiteral("noteText"), Text::tr("The remarks, a few lines. Tab goes on to the buttons.")},
        {QStringLiteral("noteCtrlOk"), Text::tr("Puts the remarks under the table and closes the panel.")},
        {QStringLiteral("paperSheet"), Text::tr("The receipt is handed over on paper: a revenue stamp may be due.")},
        {QStringLiteral("paperSent"), Text::tr("The receipt is sent electronically: no revenue stamp is due.")},
        {QStringLiteral("paperCtrlOk"), Text::tr("Keeps the choice and closes the panel.")},
        {QStringLiteral("amountsShown"), Text::tr("The slip's paper shows the unit prices, prices, sums and amount.")},
        {QStringLiteral("amountsHidden"), Text::tr("The slip's paper shows the items and quantities only.")},
        {QStringLiteral("amountsCtrlOk"), Text::tr("Keeps the choice and closes the panel.")},
        {QStringLiteral("gridCtrlCancel"),
         Text::tr("Puts the table back as it was when the panel opened, as one step that Undo can take back.")},
    };
}

/// The texts of the panels' controls by object name, translated once for all the controls of a window.
struct PanelControlTexts
{
    QHash<QString, ControlText> listPanel = listPanelTexts();
    QHash<QString, QString> others = otherControlTexts();
};

/// The name and description a panel control gets; nothing for a control Qt made for itself.
std::optional<ControlText> textsFor(const QWidget *control, const PanelControlTexts &all)
{
    static const QStringList listPrefixes{QStringLiteral("head"), QStringLiteral("whom"), QStringLiteral("home")};
    const QString name = control->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return std::nullopt;
    if (listPrefixes.contains(name.left(4))) {
        const auto found = all.listPanel.constFind(name.mid(4));
        if (found != all.listPanel.constEnd())
            return ControlText{found->name.isEmpty() ? visibleName(control) : found->name, found->description};
    }
    if (const auto found = all.others.constFind(name); found != all.others.constEnd())
        return ControlText{visibleName(control), *found};
    if (name.endsWith(QLatin1String("Cancel")))
        return ControlText{visibleName(control), Text::tr("Closes the panel and leaves the invoice as it was.")};
    if (!control->toolTip().isEmpty())
        return ControlText{visibleName(control), control->toolTip()};
    return std::nullopt;
}

} // namespace

void Document::announceRegionsByContent()
{
    // Before any region exists: a region's first title already asks for its interface.
    static const bool installed = [] {
        QAccessible::installFactory(pageRegionInterface);
        return true;
    }();
    Q_UNUSED(installed)
}

void Document::describeForAssistiveTechnology()
{
    const auto opens = [](const QString &what) { return Text::tr("%1 Press Space or Return to change it.").arg(what); };
    describe(region(SheetRegion::Title), Text::tr("Title"), opens(Text::tr("The invoice's title.")));
    describe(region(SheetRegion::Date), Text::tr("Date"), opens(Text::tr("The invoice date.")));
    describe(region(SheetRegion::Customer), Text::tr("Customer"),
             opens(Text::tr("The customer's name with 御中 or 様.")));
    describe(region(SheetRegion::Amount), Text::tr("Invoice amount"),
             opens(Text::tr("The amount billed, taken from the item table.")));
    describe(region(SheetRegion::Issuer), Text::tr("Your details"),
             opens(Text::tr("Your postal code, address, name, telephone and bank account.")));
    describe(region(SheetRegion::Stamp), Text::tr("Stamp"), opens(Text::tr("Your seal over your details.")));
    QTableView *grid = this->grid();
    describe(grid, Text::tr("Items"), opens(Text::tr("The item table.")));
    describe(region(SheetRegion::Number), Text::tr("Invoice number"),
             opens(Text::tr("The invoice's number, under the date; optional.")));
    describe(region(SheetRegion::DueDate), Text::tr("Payment due date"),
             opens(Text::tr("When the customer is to pay, under the invoice amount; optional.")));
    describe(region(SheetRegion::Remarks), Text::tr("Remarks"),
             opens(Text::tr("A few lines under the item table; optional.")));
    describe(region(SheetRegion::StampDuty), Text::tr("Revenue stamp"),
             opens(Text::tr("Whether the receipt is handed over on paper, and the revenue stamp it then needs.")));
    if (grid) {
        grid->setFocusPolicy(Qt::TabFocus);
        grid->setTabKeyNavigation(false);
        grid->installEventFilter(new KeysOpenTable(grid, [this, grid] { gridShow(grid); }));
    }

    QList<QWidget *> boxes;
    for (QDialog *panel : panels()) {
        describe(panel, panel->windowTitle(), Text::tr("A panel of the invoice page. Esc or Cancel closes it."));
        boxes.append(panel);
    }
    for (ListSection *section : listSections()) {
        for (Popover *popover : section->popovers())
            boxes.append(popover);
    }
    const PanelControlTexts texts;
    for (QWidget *box : std::as_const(boxes)) {
        for (QWidget *control : box->findChildren<QWidget *>()) {
            if (!control->accessibleName().isEmpty())
                continue; // already described, or named as it changes (Undo, Redo)
            if (const std::optional<ControlText> found = textsFor(control, texts))
                describe(control, found->name, found->description);
        }
    }
    // Controls without visible words of their own: the popovers' fields by their labels, the
    // chooser by its panel's title.
    for (ListSection *section : listSections())
        section->describeFields(Text::tr("The new entry. Return adds it to the list."),
                                Text::tr("The chosen entry. Return keeps the change."));
    const std::pair<const char *, QString> unworded[] = {
        {"tail", Text::tr("Honorific")},          {"dateDial", Text::tr("Invoice date")},
        {"numbText", Text::tr("Invoice number")}, {"duesDial", Text::tr("Payment due date")},
        {"noteText", Text::tr("Remarks")},        {"pushTest", Text::tr("Stamp preview")},
        {"gridCore", Text::tr("Items")}};
    for (const auto &[name, spoken] : unworded) {
        if (auto *control = m_window->findChild<QWidget *>(QLatin1String(name)))
            control->setAccessibleName(spoken);
    }
}

} // namespace seikyu
