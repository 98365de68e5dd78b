// A list section's panel and popovers: one implementation for the title, customer and issuer.
#include "document/ListSection.h"

#include "document/PanelSheet.h"
#include "sections/EntryFields.h"
#include "sections/PanelSnapshot.h"
#include "sections/UnkeptTexts.h"
#include "widgets/PanelExtraButton.h"
#include "widgets/Popover.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace seikyu {

namespace {

/// How an entry shows as one chooser item: the issuer's lines side by side.
QString itemTitle(const QString &entry)
{
    QString title = entry;
    title.replace(QLatin1Char('\n'), QStringLiteral("  "));
    return title;
}

QStringList fieldTexts(const QList<QPointer<QLineEdit>> &fields, bool clear)
{
    QStringList texts;
    for (const QPointer<QLineEdit> &field : fields) {
        texts.append(field ? field->text() : QString());
        if (field && clear)
            field->clear();
    }
    return texts;
}

int indexOfKey(const QComboBox *chooser, qint64 key)
{
    return key < 0 ? -1 : chooser->findData(key, EntryKeyRole);
}

Popover *makePopover(QWidget *window, const QString &name)
{
    auto *popover = new Popover(window);
    popover->setObjectName(name);
    new QVBoxLayout(popover);
    return popover;
}

void addPopoverButton(Popover *popover, const QString &text, QObject *context, std::function<void()> onClick)
{
    auto *button = new QPushButton(text, popover);
    button->setObjectName(popover->objectName() + QStringLiteral("Exec"));
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, context, [onClick = std::move(onClick)] { onClick(); });
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    static_cast<QVBoxLayout *>(popover->layout())->addLayout(row);
}

/// Up and Down in a search field choose the previous or next entry of the chooser it narrows.
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

ListSection::ListSection(const Shape &shape, ListStore *store, QWidget *window, ListSectionHost host)
    : m_shape(shape), m_store(store), m_window(window), m_host(std::move(host))
{
    if (store) {
        store->setParent(this);
        connect(store, &ListStore::changed, this, &ListSection::follow);
    }
    buildPanel();
    buildPopovers();
}

ListSection::~ListSection() = default;

void ListSection::buildPanel()
{
    m_panel = new PanelSheet(m_window, m_shape.prefix + QStringLiteral("Ctrl"), m_shape.title);
    m_panel->addHint(m_shape.hint);
    if (m_store && m_store->searchable()) {
        m_search = new QLineEdit(m_panel);
        m_search->setObjectName(m_shape.prefix + QStringLiteral("Find"));
        m_search->setPlaceholderText(tr("Search by name or reading"));
        m_search->setClearButtonEnabled(true);
        // Put back before the chooser when the panel is cancelled: the chosen entry is one of
        // the entries the search found when the panel opened.
        m_search->setProperty(PanelSnapshot::NarrowsChoicesProperty, true);
        m_panel->column()->addWidget(m_search);
        connect(m_search, &QLineEdit::textChanged, this, &ListSection::search);
    }
    m_chooser = new QComboBox(m_panel);
    m_chooser->setObjectName(m_shape.prefix + QStringLiteral("Dial"));
    m_chooser->setMinimumWidth(320);
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_chooser->setMinimumContentsLength(24);
    connect(m_chooser, &QComboBox::activated, this, &ListSection::entryActivated);
    connect(m_chooser, &QComboBox::currentIndexChanged, this, &ListSection::choiceChanged);
    if (m_search) {
        // The arrows in the search move through what it found, so that the keyboard alone
        // searches and chooses; Return is the panel's OK.
        m_search->installEventFilter(new ArrowsMoveChoice(m_chooser, m_search));
        m_search->setAccessibleName(tr("Search"));
        m_search->setAccessibleDescription(
            tr("Narrows the list to the entries whose name or reading holds what is typed. Up and Down "
               "choose among them; Return puts the chosen one on the page."));
    }
    auto *row = new QHBoxLayout;
    row->addWidget(m_chooser, 1);
    const auto addTool = [&](const QString &suffix, const QString &text, const QString &tip,
                             void (ListSection::*open)(QWidget *)) {
        auto *button = new QToolButton(m_panel);
        button->setObjectName(m_shape.prefix + suffix + QStringLiteral("Button"));
        button->setText(text);
        button->setToolTip(tip);
        row->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button, open] { (this->*open)(button); });
    };
    addTool(QStringLiteral("Plus"), QStringLiteral("+"), tr("Add an entry"), &ListSection::openPlus);
    addTool(QStringLiteral("Kill"), QStringLiteral("−"), tr("Remove the selected entry"), &ListSection::openKill);
    addTool(QStringLiteral("Edit"), tr("Edit…"), tr("Edit the selected entry"), &ListSection::openEdit);
    m_panel->column()->addLayout(row);
    m_panel->addButtons(tr("OK"));
    connect(m_panel, &PanelSheet::confirmed, this, &ListSection::confirmed);
}

void ListSection::buildPopovers()
{
    m_plus = makePopover(m_window, m_shape.prefix + QStringLiteral("Plus"));
    m_kill = makePopover(m_window, m_shape.prefix + QStringLiteral("Kill"));
    m_edit = makePopover(m_window, m_shape.prefix + QStringLiteral("Edit"));
    auto *plusForm = new QFormLayout;
    auto *editForm = new QFormLayout;
    static_cast<QVBoxLayout *>(m_plus->layout())->addLayout(plusForm);
    static_cast<QVBoxLayout *>(m_edit->layout())->addLayout(editForm);
    const auto addField = [this](Popover *popover, QFormLayout *form, const QString &name, const QString &label,
                                 void (ListSection::*onReturn)()) {
        auto *field = new QLineEdit(popover);
        field->setObjectName(name);
        field->setMinimumWidth(260);
        form->addRow(label, field);
        connect(field, &QLineEdit::returnPressed, this, onReturn);
        return field;
    };
    for (int i = 0; i < m_shape.newsNames.size(); ++i) {
        m_newsFields.append(
            addField(m_plus, plusForm, m_shape.newsNames.at(i), m_shape.labels.at(i), &ListSection::plusExec));
        m_editFields.append(
            addField(m_edit, editForm, m_shape.editNames.at(i), m_shape.labels.at(i), &ListSection::editExec));
    }
    addPopoverButton(m_plus, tr("Add"), this, [this] { plusExec(); });
    auto *question = new QLabel(tr("Remove the selected entry from the list?"), m_kill);
    static_cast<QVBoxLayout *>(m_kill->layout())->addWidget(question);
    addPopoverButton(m_kill, tr("Remove"), this, [this] { killExec(); });
    addPopoverButton(m_edit, tr("Change"), this, [this] { editExec(); });
}

QList<Popover *> ListSection::popovers() const
{
    return {m_plus.data(), m_kill.data(), m_edit.data()};
}

void ListSection::setRemoveQuestion(const QString &question)
{
    if (auto *label = m_kill ? m_kill->findChild<QLabel *>() : nullptr)
        label->setText(question);
}

void ListSection::setFieldPlaceholder(int index, const QString &text)
{
    for (const QList<QPointer<QLineEdit>> *fields : {&m_newsFields, &m_editFields}) {
        if (QLineEdit *field = fields->value(index))
            field->setPlaceholderText(text);
    }
}

void ListSection::describeFields(const QString &newsDescription, const QString &editDescription)
{
    for (int i = 0; i < m_shape.labels.size(); ++i) {
        for (QLineEdit *field : {m_newsFields.value(i).data(), m_editFields.value(i).data()}) {
            if (!field)
                continue;
            field->setAccessibleName(m_shape.labels.at(i));
            field->setAccessibleDescription(field == m_newsFields.value(i) ? newsDescription : editDescription);
        }
    }
    if (m_chooser)
        m_chooser->setAccessibleName(m_shape.title);
}

void ListSection::addAboveButtons(QLayout *row)
{
    auto *column = qobject_cast<QVBoxLayout *>(m_panel->layout());
    column->insertLayout(column->count() - 1, row);
}

QPushButton *ListSection::addWayOut(const QString &text, const QString &objectName, const QString &toolTip)
{
    return addButtonAbovePanelButtons(m_panel, text, objectName, toolTip);
}

void ListSection::present(Popover *popover, QWidget *anchor)
{
    if (popover && m_host.present)
        m_host.present(popover, anchor);
}

void ListSection::dismiss()
{
    if (m_host.dismiss)
        m_host.dismiss();
}

void ListSection::report(const Fault &fault)
{
    if (m_host.report)
        m_host.report(fault);
}

void ListSection::load(std::optional<qint64> selectKey)
{
    if (!m_chooser || !m_store)
        return;
    const QSignalBlocker blocker(m_chooser);
    m_chooser->clear();
    const QString typed = m_search ? m_search->text() : QString();
    const std::optional<QList<ListEntry>> entries =
        typed.trimmed().isEmpty() ? m_store->entries() : std::optional(m_store->search(typed));
    if (!typed.trimmed().isEmpty())
        m_chooser->setPlaceholderText(entries->isEmpty() ? tr("Nothing found") : tr("Choose an entry"));
    else
        m_chooser->setPlaceholderText(entries && !entries->isEmpty() ? tr("Choose an entry")
                                                                     : tr("Add an entry with +"));
    if (!entries)
        return;
    for (int i = 0; i < entries->size(); ++i) {
        const ListEntry &entry = entries->at(i);
        m_chooser->addItem(itemTitle(entry.text));
        m_chooser->setItemData(i, entry.text, Qt::ToolTipRole);
        m_chooser->setItemData(i, entry.text, EntryRole);
        m_chooser->setItemData(i, entry.key, EntryKeyRole);
    }
    // A key that names no entry selects none, rather than some other entry.
    m_chooser->setCurrentIndex(selectKey ? indexOfKey(m_chooser, *selectKey) : (entries->isEmpty() ? -1 : 0));
}

std::optional<qint64> ListSection::chosenKey() const
{
    if (!m_chooser || m_chooser->currentIndex() < 0)
        return std::nullopt;
    bool ok = false;
    const qint64 key = m_chooser->currentData(EntryKeyRole).toLongLong(&ok);
    return ok ? std::optional(key) : std::nullopt;
}

std::optional<ListEntry> ListSection::chosenEntry() const
{
    const std::optional<qint64> key = chosenKey();
    if (!key || !m_store)
        return std::nullopt;
    const std::optional<QString> text = m_store->textOf(*key);
    if (!text)
        return std::nullopt;
    return ListEntry{*key, *text};
}

void ListSection::settleChoice(qint64 key)
{
    if (m_search && !m_search->text().isEmpty()) {
        clearSearch();
        load(key);
    }
}

void ListSection::clearSearch()
{
    if (!m_search || m_search->text().isEmpty())
        return;
    const QSignalBlocker quiet(m_search);
    m_search->clear();
}

void ListSection::search()
{
    if (!m_chooser)
        return;
    const std::optional<qint64> chosen = chosenKey();
    load(chosen);
    // What is typed picks the first entry found when the chosen one is not among them, so that
    // typing and Return choose it.
    const int found = m_chooser->currentIndex() >= 0 ? m_chooser->currentIndex() : (m_chooser->count() > 0 ? 0 : -1);
    if (found >= 0 && chosenKey() == chosen && m_chooser->currentIndex() == found)
        return; // the same entry: nothing was chosen anew
    {
        const QSignalBlocker quiet(m_chooser);
        m_chooser->setCurrentIndex(-1);
    }
    // Chosen anew by what was typed: what follows the user's choice in the chooser follows it too.
    m_chooser->setCurrentIndex(found);
    if (found >= 0)
        emit m_chooser->activated(found);
}

void ListSection::follow(const ListChange &change)
{
    if (!m_chooser || !m_store)
        return;
    // Every entry is followed by what it is, not by where it was: another window's removal must
    // not turn this window's choice into the entry that moved up into its place.
    QList<std::pair<qint64, QString>> before;
    for (int i = 0; i < m_chooser->count(); ++i)
        before.append(
            {m_chooser->itemData(i, EntryKeyRole).toLongLong(), m_chooser->itemData(i, EntryRole).toString()});
    const auto followed = [this, &change, &before](int index) -> qint64 {
        if (index < 0 || index >= before.size())
            return -1;
        return m_store->follow(before.at(index).first, before.at(index).second, change);
    };
    const int selected = m_chooser->currentIndex();
    load(followed(selected));
    if (PanelSnapshot *atOpen = m_host.panelAtOpen ? m_host.panelAtOpen() : nullptr)
        atOpen->followChoice(m_chooser, [&](int index) { return indexOfKey(m_chooser, followed(index)); });
    if (selected >= 0 && m_chooser->currentIndex() < 0)
        m_chooser->setPlaceholderText(tr("The chosen entry was removed — choose another"));
}

void ListSection::openPlus(QWidget *anchor)
{
    present(m_plus, anchor);
    // Typing goes into the popover at once: its first field.
    if (!m_newsFields.isEmpty() && m_newsFields.constFirst())
        m_newsFields.constFirst()->setFocus(Qt::PopupFocusReason);
}

void ListSection::openKill(QWidget *anchor)
{
    present(m_kill, anchor);
    if (auto *button = m_kill ? m_kill->findChild<QPushButton *>() : nullptr)
        button->setFocus(Qt::PopupFocusReason);
}

void ListSection::openEdit(QWidget *anchor)
{
    const std::optional<ListEntry> entry = chosenEntry();
    if (!entry)
        return; // nothing selected: there is nothing to edit
    const QStringList texts = splitEntryFields(entry->text, static_cast<int>(m_editFields.size()));
    for (int i = 0; i < m_editFields.size(); ++i) {
        if (m_editFields.at(i))
            m_editFields.at(i)->setText(texts.value(i));
    }
    present(m_edit, anchor);
    if (!m_editFields.isEmpty() && m_editFields.constFirst()) {
        m_editFields.constFirst()->setFocus(Qt::PopupFocusReason);
        m_editFields.constFirst()->selectAll();
    }
}

std::optional<QString> ListSection::acceptedEntry(Popover *popover, const QList<QPointer<QLineEdit>> &fields)
{
    QStringList texts = fieldTexts(fields, false);
    // A warning or a question takes the popover off the screen (a modal box closes every popup); a
    // refusal returns to the popover as the user left it, with every field typed.
    const bool wasShown = popover && popover->isVisible();
    const QPointer<QWidget> anchor = popover ? popover->anchor() : nullptr;
    const auto refused = [&] {
        if (!wasShown || !popover)
            return;
        for (int i = 0; i < fields.size() && i < texts.size(); ++i) {
            if (fields.at(i) && fields.at(i)->text() != texts.at(i))
                fields.at(i)->setText(texts.at(i));
        }
        if (!popover->isVisible())
            present(popover, anchor);
        // Back where the refused text is: the field the check is about is the last one typed.
        for (qsizetype i = fields.size() - 1; i >= 0; --i) {
            if (fields.at(i) && !fields.at(i)->text().isEmpty()) {
                fields.at(i)->setFocus(Qt::PopupFocusReason);
                break;
            }
        }
    };
    if (refusesUnkeptText(m_window, texts)) {
        refused();
        return std::nullopt;
    }
    if (m_fieldCheck) {
        const std::optional<QStringList> accepted = m_fieldCheck(texts, m_window);
        if (!accepted) {
            refused();
            return std::nullopt;
        }
        texts = *accepted;
    }
    fieldTexts(fields, true);
    return joinEntryFields(texts, m_requiredFields);
}

void ListSection::plusExec()
{
    if (!m_store)
        return;
    const std::optional<QString> entry = acceptedEntry(m_plus, m_newsFields);
    if (!entry)
        return;
    const Result<qint64> added = m_store->add(*entry);
    if (!added)
        report(added.fault());
    // The new entry shows whatever was searched for.
    clearSearch();
    load(added.value_or(-1));
    dismiss();
}

void ListSection::killExec()
{
    const std::optional<qint64> key = chosenKey();
    if (!key || !m_store)
        return; // nothing chosen: nothing to remove
    if (const Result<void> removed = m_store->remove(*key); !removed)
        report(removed.fault());
    load();
    dismiss();
}

void ListSection::editExec()
{
    const std::optional<qint64> key = chosenKey();
    const std::optional<QString> entry = acceptedEntry(m_edit, m_editFields);
    if (!entry)
        return;
    if (key && m_store && m_store->textOf(*key)) {
        if (const Result<void> renamed = m_store->rename(*key, *entry); !renamed)
            report(renamed.fault());
    }
    load(key.value_or(-1));
    dismiss();
}

} // namespace seikyu
