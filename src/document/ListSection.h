#pragma once

#include "base/Result.h"
#include "document/PanelSheet.h"
#include "sections/ListStore.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace seikyu {

class PanelSnapshot;
class Popover;

/// What a list section asks of the window that shows it.
struct ListSectionHost
{
    /// Shows a popover at the control that asked for it; the window closes it again.
    std::function<void(Popover *popover, QWidget *anchor)> present;
    /// Closes the popover shown.
    std::function<void()> dismiss;
    /// Tells the user why the store could not keep a change.
    std::function<void(const Fault &fault)> report;
    /// The shown panel's controls as they were when it opened, when a panel is open.
    std::function<PanelSnapshot *()> panelAtOpen;
};

/// One list section of the page: the title, the customer or the issuer. Its panel chooses an entry
/// of a saved list (narrowed by a search where the store offers one), and its popovers add,
/// remove and edit entries. The section keeps its widgets to itself; the document hears which
/// entry was chosen and puts it on the page.
class ListSection : public QObject
{
    Q_OBJECT

public:
    /// What tells one section from another.
    struct Shape
    {
        QString prefix; ///< the start of every object name: "head", "whom" or "home"
        QString key;    ///< the saved list: "head", "whom" or "from"
        QString title;
        QStringList newsNames; ///< the add popover's fields: one, or the issuer's six
        QStringList editNames;
        QStringList labels;
        QString hint;
    };

    /// Builds the panel and popovers in `window`, which owns them; the section owns `store`.
    ListSection(const Shape &shape, ListStore *store, QWidget *window, ListSectionHost host);
    ~ListSection() override;

    QString key() const { return m_shape.key; }
    QString title() const { return m_shape.title; }
    ListStore *store() const { return m_store; }
    PanelSheet *panel() const { return m_panel; }
    /// The add, remove and edit popovers.
    QList<Popover *> popovers() const;

    /// Refills the chooser from the store (narrowed by the search, if any) and selects the entry of
    /// `selectKey`: the first entry when none is given, no entry when the key names none.
    void load(std::optional<qint64> selectKey = std::nullopt);
    /// The key of the chosen entry; nothing when no entry is chosen.
    std::optional<qint64> chosenKey() const;
    /// The chosen entry, read from the store as it is now; nothing when no entry is chosen or the
    /// store no longer holds it (another window may have removed it).
    std::optional<ListEntry> chosenEntry() const;
    /// The entry was put on the page: the next time the panel opens it shows every entry again,
    /// the chosen one selected.
    void settleChoice(qint64 key);

    void openPlus(QWidget *anchor);
    void openKill(QWidget *anchor);
    /// Opens the edit popover filled with the chosen entry; nothing when none is chosen.
    void openEdit(QWidget *anchor);
    void plusExec();
    void killExec();
    void editExec();

    /// How many fields every entry keeps, empty or not; empty fields after them are left out, so
    /// an entry without the optional ones stays as entries always were.
    void setRequiredFields(int count) { m_requiredFields = count; }
    /// Checks and tidies the fields of an entry before it is stored; nothing keeps the popover
    /// open (the user was told why).
    using FieldCheck = std::function<std::optional<QStringList>(const QStringList &fields, QWidget *parent)>;
    void setFieldCheck(FieldCheck check) { m_fieldCheck = std::move(check); }
    /// The question the remove popover asks.
    void setRemoveQuestion(const QString &question);
    /// A placeholder for the add and the edit popover's field `index`.
    void setFieldPlaceholder(int index, const QString &text);
    /// Names each popover field for screen readers by its label, with what Return does there.
    void describeFields(const QString &newsDescription, const QString &editDescription);

signals:
    /// The panel's OK.
    void confirmed();
    /// The user chose an entry in the chooser (not a refill, not Cancel putting it back).
    void entryActivated();
    /// The chosen entry changed, however it did.
    void choiceChanged();

protected:
    QWidget *window() const { return m_window; }
    /// Puts a row of controls into the panel above its closing buttons.
    void addAboveButtons(QLayout *row);
    /// Adds a button beside the closing buttons, for a way out of the panel.
    QPushButton *addWayOut(const QString &text, const QString &objectName, const QString &toolTip);
    /// Shows a popover through the window, so that the window closes it again.
    void present(Popover *popover, QWidget *anchor);
    void dismiss();
    void report(const Fault &fault);

private:
    void buildPanel();
    void buildPopovers();
    void search();
    void follow(const ListChange &change);
    /// The entry the popover's fields make, once the section accepts them; the fields are emptied
    /// then. Nothing when the section refused them (the popover shows again with what was typed).
    std::optional<QString> acceptedEntry(Popover *popover, const QList<QPointer<QLineEdit>> &fields);
    /// Empties the search without refilling the chooser; the caller loads it.
    void clearSearch();

    Shape m_shape;
    QPointer<ListStore> m_store;
    QPointer<QWidget> m_window;
    ListSectionHost m_host;
    QPointer<PanelSheet> m_panel;
    QPointer<QLineEdit> m_search;
    QPointer<QComboBox> m_chooser;
    QPointer<Popover> m_plus;
    QPointer<Popover> m_kill;
    QPointer<Popover> m_edit;
    QList<QPointer<QLineEdit>> m_newsFields;
    QList<QPointer<QLineEdit>> m_editFields;
    int m_requiredFields = 0;
    FieldCheck m_fieldCheck;
};

} // namespace seikyu
