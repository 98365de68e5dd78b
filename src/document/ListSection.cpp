// The title, customer and issuer sections: one implementation over what tells them apart.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "sections/ListFamily.h"
#include "sections/ListStore.h"
#include "sections/PanelSnapshot.h"
#include "sections/SavedLists.h"
#include "sections/UnkeptTexts.h"
#include "widgets/PageButton.h"
#include "widgets/Popover.h"
#include "widgets/Prompter.h"
#include "widgets/RoomBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

namespace seikyu {

namespace {

/// How an entry shows as one popup item: the issuer's lines side by side.
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

/// The key of the popup's chosen entry; nothing when no entry is chosen.
std::optional<qint64> selectedKey(const ListFamily &family)
{
    if (!family.dial || family.dial->currentIndex() < 0)
        return std::nullopt;
    bool ok = false;
    const qint64 key = family.dial->currentData(EntryKeyRole).toLongLong(&ok);
    return ok ? std::optional(key) : std::nullopt;
}

/// The chosen entry, read from the store as it is now; nothing when no entry is chosen or the
/// store no longer holds it (another window may have removed it).
std::optional<ListEntry> selectedEntry(const ListFamily &family)
{
    const std::optional<qint64> key = selectedKey(family);
    if (!key || !family.store)
        return std::nullopt;
    const std::optional<QString> text = family.store->textOf(*key);
    if (!text)
        return std::nullopt;
    return ListEntry{*key, *text};
}

int indexOfKey(const QComboBox *dial, qint64 key)
{
    return key < 0 ? -1 : dial->findData(key, EntryKeyRole);
}

/// Empties the search without refilling the popup; the caller loads it.
void clearSearch(ListFamily &family)
{
    if (!family.search || family.search->text().isEmpty())
        return;
    const QSignalBlocker quiet(family.search);
    family.search->clear();
}

} // namespace

ListFamily &Document::family(const QString &key)
{
    for (const auto &f : m_families) {
        if (f->key == key)
            return *f;
    }
    Q_UNREACHABLE();
}

QString Document::listPageText(const ListFamily &family, const QString &entry) const
{
    const QString label = family.honorific ? family.honorific() : QString();
    // With no honorific chosen the name stands alone: a trailing space would be taken for part of
    // the name when the file is written and read back.
    return label.isEmpty() ? entry : QStringLiteral("%1 %2").arg(entry, label);
}

void Document::showListEntry(ListFamily &family, const QString &entry)
{
    if (!family.pageButton)
        return;
    // The honorific first: the customer's name is read off the page's text with it.
    family.shownHonorific = family.honorific ? family.honorific() : QString();
    family.pageButton->setTitle(listPageText(family, entry));
    if (family.honorific)
        keepCustomer(); // the text may read the same with another honorific
}

void Document::listLoad(ListFamily &family, std::optional<qint64> selectKey)
{
    if (!family.dial || !family.store)
        return;
    const QSignalBlocker blocker(family.dial);
    family.dial->clear();
    const QString typed = family.search ? family.search->text() : QString();
    const std::optional<QList<ListEntry>> entries =
        typed.trimmed().isEmpty() ? family.store->entries() : std::optional(family.store->search(typed));
    if (!typed.trimmed().isEmpty())
        family.dial->setPlaceholderText(entries->isEmpty() ? tr("Nothing found") : tr("Choose an entry"));
    else
        family.dial->setPlaceholderText(entries && !entries->isEmpty() ? tr("Choose an entry")
                                                                       : tr("Add an entry with +"));
    if (!entries)
        return;
    for (int i = 0; i < entries->size(); ++i) {
        const ListEntry &entry = entries->at(i);
        family.dial->addItem(itemTitle(entry.text));
        family.dial->setItemData(i, entry.text, Qt::ToolTipRole);
        family.dial->setItemData(i, entry.text, EntryRole);
        family.dial->setItemData(i, entry.key, EntryKeyRole);
    }
    // A key that names no entry selects none, rather than some other entry.
    family.dial->setCurrentIndex(selectKey ? indexOfKey(family.dial, *selectKey) : (entries->isEmpty() ? -1 : 0));
}

void Document::listSearch(ListFamily &family)
{
    if (!family.dial)
        return;
    const std::optional<qint64> chosen = selectedKey(family);
    listLoad(family, chosen);
    // What is typed picks the first entry found when the chosen one is not among them, so that
    // typing and Return choose it.
    const int found =
        family.dial->currentIndex() >= 0 ? family.dial->currentIndex() : (family.dial->count() > 0 ? 0 : -1);
    if (found >= 0 && selectedKey(family) == chosen && family.dial->currentIndex() == found)
        return; // the same entry: nothing was chosen anew
    {
        const QSignalBlocker quiet(family.dial);
        family.dial->setCurrentIndex(-1);
    }
    // Chosen anew by what was typed: what follows the user's choice in the popup follows it too.
    family.dial->setCurrentIndex(found);
    if (found >= 0)
        emit family.dial->activated(found);
}

void Document::refreshFromStore(const QString &key, const ListChange &change)
{
    for (const auto &f : m_families) {
        if (f->key != key || !f->dial || !f->store)
            continue;
        // Every entry is followed by what it is, not by where it was: another window's removal
        // must not turn this window's choice into the entry that moved up into its place.
        QList<std::pair<qint64, QString>> before;
        for (int i = 0; i < f->dial->count(); ++i)
            before.append(
                {f->dial->itemData(i, EntryKeyRole).toLongLong(), f->dial->itemData(i, EntryRole).toString()});
        const auto followed = [&f, &change, &before](int index) -> qint64 {
            if (index < 0 || index >= before.size())
                return -1;
            return f->store->follow(before.at(index).first, before.at(index).second, change);
        };
        const int selected = f->dial->currentIndex();
        listLoad(*f, followed(selected));
        if (m_panelAtOpen)
            m_panelAtOpen->followChoice(f->dial, [&](int index) { return indexOfKey(f->dial, followed(index)); });
        if (selected >= 0 && f->dial->currentIndex() < 0)
            f->dial->setPlaceholderText(tr("The chosen entry was removed — choose another"));
    }
}

void Document::listPopover(ListFamily &family, Popover *popover, QObject *sender)
{
    comeOver(popover, qobject_cast<QWidget *>(sender));
    // Typing goes into the popover at once: its first field, or its one button.
    if (popover == family.plusPopover && !family.newsFields.isEmpty() && family.newsFields.constFirst())
        family.newsFields.constFirst()->setFocus(Qt::PopupFocusReason);
    else if (auto *button = popover->findChild<QPushButton *>())
        button->setFocus(Qt::PopupFocusReason);
}

void Document::listEdit(ListFamily &family, QObject *sender)
{
    const std::optional<ListEntry> entry = selectedEntry(family);
    if (!entry)
        return; // nothing selected: there is nothing to edit
    const QStringList texts = splitEntryFields(entry->text, static_cast<int>(family.editFields.size()));
    for (int i = 0; i < family.editFields.size(); ++i) {
        if (family.editFields.at(i))
            family.editFields.at(i)->setText(texts.value(i));
    }
    comeOver(family.editPopover, qobject_cast<QWidget *>(sender));
    if (!family.editFields.isEmpty() && family.editFields.constFirst()) {
        family.editFields.constFirst()->setFocus(Qt::PopupFocusReason);
        family.editFields.constFirst()->selectAll();
    }
}

void Document::listCopy(ListFamily &family)
{
    const std::optional<ListEntry> entry = selectedEntry(family);
    if (!entry || entry->text.isEmpty())
        return;
    showListEntry(family, entry->text);
    if (family.chosen)
        family.chosen(entry->key);
    // The next time the panel opens it shows every entry again, the chosen one selected.
    if (family.search && !family.search->text().isEmpty()) {
        clearSearch(family);
        listLoad(family, entry->key);
    }
    family.room->setBorderColor(Qt::transparent);
    updateChangeCount(ChangeDone);
    hide();
}

void Document::checkSettingsWritten()
{
    if (!SavedLists::instance().lastWriteSucceeded())
        reportSettingsNotWritten();
}

void Document::reportSettingsNotWritten()
{
    reportListFault(settingsNotWritten());
}

void Document::reportListFault(const Fault &fault)
{
    Prompter::instance().alert(m_window.get(), fault.message, fault.detail);
}

std::optional<QString> Document::acceptedEntry(ListFamily &family, const QList<QPointer<QLineEdit>> &fields)
{
    QStringList texts = fieldTexts(fields, false);
    // A warning or a question takes the popover off the screen (a modal box closes every popup); a
    // refusal returns to the popover as the user left it, with every field typed.
    const QPointer<Popover> popover = m_shownPopover;
    const QPointer<QWidget> anchor = popover ? popover->anchor() : nullptr;
    if (refusesUnkeptText(m_window.get(), texts)) {
        returnToPopover(popover, anchor, fields, texts);
        return std::nullopt;
    }
    if (family.acceptFields) {
        const std::optional<QStringList> accepted = family.acceptFields(texts, m_window.get());
        if (!accepted) {
            returnToPopover(popover, anchor, fields, texts);
            return std::nullopt;
        }
        texts = *accepted;
    }
    fieldTexts(fields, true);
    return joinEntryFields(texts, family.requiredFields);
}

void Document::returnToPopover(Popover *popover, QWidget *anchor, const QList<QPointer<QLineEdit>> &fields,
                               const QStringList &texts)
{
    if (!popover)
        return;
    for (int i = 0; i < fields.size() && i < texts.size(); ++i) {
        if (fields.at(i) && fields.at(i)->text() != texts.at(i))
            fields.at(i)->setText(texts.at(i));
    }
    if (!popover->isVisible())
        comeOver(popover, anchor);
    else
        m_shownPopover = popover;
    // Back where the refused text is: the field the check is about is the last one that was typed.
    for (qsizetype i = fields.size() - 1; i >= 0; --i) {
        if (fields.at(i) && !fields.at(i)->text().isEmpty()) {
            fields.at(i)->setFocus(Qt::PopupFocusReason);
            break;
        }
    }
}

void Document::listPlusExec(ListFamily &family)
{
    if (!family.store)
        return;
    const std::optional<QString> entry = acceptedEntry(family, family.newsFields);
    if (!entry)
        return;
    const Result<qint64> added = family.store->add(*entry);
    if (!added)
        reportListFault(added.fault());
    // The new entry shows whatever was searched for.
    clearSearch(family);
    listLoad(family, added.value_or(-1));
    away();
}

void Document::listKillExec(ListFamily &family)
{
    const std::optional<qint64> key = selectedKey(family);
    if (!key || !family.store)
        return; // nothing chosen: nothing to remove
    if (const Result<void> removed = family.store->remove(*key); !removed)
        reportListFault(removed.fault());
    listLoad(family);
    away();
}

void Document::listEditExec(ListFamily &family)
{
    const std::optional<qint64> key = selectedKey(family);
    const std::optional<QString> entry = acceptedEntry(family, family.editFields);
    if (!entry)
        return;
    if (key && family.store && family.store->textOf(*key)) {
        if (const Result<void> renamed = family.store->rename(*key, *entry); !renamed)
            reportListFault(renamed.fault());
    }
    listLoad(family, key.value_or(-1));
    away();
}

// clang-format off
void Document::headLoad() { listLoad(family(QStringLiteral("head"))); }
void Document::headShow(QObject *) { show(headCtrl.get()); }
void Document::headPlus(QObject *sender) { ListFamily &f = family(QStringLiteral("head")); listPopover(f, f.plusPopover, sender); }
void Document::headKill(QObject *sender) { ListFamily &f = family(QStringLiteral("head")); listPopover(f, f.killPopover, sender); }
void Document::headEdit(QObject *sender) { listEdit(family(QStringLiteral("head")), sender); }
void Document::headCopy(QObject *) { listCopy(family(QStringLiteral("head"))); }
void Document::headPlusExec(QObject *) { listPlusExec(family(QStringLiteral("head"))); }
void Document::headKillExec(QObject *) { listKillExec(family(QStringLiteral("head"))); }
void Document::headEditExec(QObject *) { listEditExec(family(QStringLiteral("head"))); }

void Document::whomLoad() { listLoad(family(QStringLiteral("whom"))); }
void Document::whomShow(QObject *) { show(whomCtrl.get()); }
void Document::whomPlus(QObject *sender) { ListFamily &f = family(QStringLiteral("whom")); listPopover(f, f.plusPopover, sender); }
void Document::whomKill(QObject *sender) { ListFamily &f = family(QStringLiteral("whom")); listPopover(f, f.killPopover, sender); }
void Document::whomEdit(QObject *sender) { listEdit(family(QStringLiteral("whom")), sender); }
void Document::whomCopy(QObject *) { listCopy(family(QStringLiteral("whom"))); }
void Document::whomPlusExec(QObject *) { listPlusExec(family(QStringLiteral("whom"))); }
void Document::whomKillExec(QObject *) { listKillExec(family(QStringLiteral("whom"))); }
void Document::whomEditExec(QObject *) { listEditExec(family(QStringLiteral("whom"))); }

void Document::homeLoad() { listLoad(family(QStringLiteral("from"))); }
void Document::homeShow(QObject *) { show(homeCtrl.get()); }
void Document::homePlus(QObject *sender) { ListFamily &f = family(QStringLiteral("from")); listPopover(f, f.plusPopover, sender); }
void Document::homeKill(QObject *sender) { ListFamily &f = family(QStringLiteral("from")); listPopover(f, f.killPopover, sender); }
void Document::homeEdit(QObject *sender) { listEdit(family(QStringLiteral("from")), sender); }
void Document::homeCopy(QObject *) { listCopy(family(QStringLiteral("from"))); }
void Document::homePlusExec(QObject *) { listPlusExec(family(QStringLiteral("from"))); }
void Document::homeKillExec(QObject *) { listKillExec(family(QStringLiteral("from"))); }
void Document::homeEditExec(QObject *) { listEditExec(family(QStringLiteral("from"))); }
// clang-format on

} // namespace seikyu
