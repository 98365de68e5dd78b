// The title, customer and issuer sections: one implementation over what tells them apart.
#include "document/Document.h"
#include "document/InvoiceWindow.h"
#include "sections/CustomerHonorifics.h"
#include "sections/ListFamily.h"
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

/// Where each popup item keeps the whole entry it stands for.
constexpr int EntryRole = Qt::UserRole;

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

/// The entry at the popup's selection, read from the store as it is now; nothing when no entry is
/// selected or the selection lies beyond the stored list (another window may have shortened it).
std::optional<QString> selectedEntry(const ListFamily &family)
{
    if (!family.dial)
        return std::nullopt;
    const int index = family.dial->currentIndex();
    const std::optional<QStringList> list = SavedLists::instance().read(family.key);
    if (!list || index < 0 || index >= list->size())
        return std::nullopt;
    return list->at(index);
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
    family.pageButton->setTitle(listPageText(family, entry));
    family.shownHonorific = family.honorific ? family.honorific() : QString();
}

void Document::listLoad(ListFamily &family, int selectIndex)
{
    if (!family.dial)
        return;
    const QSignalBlocker blocker(family.dial);
    family.dial->clear();
    const std::optional<QStringList> list = SavedLists::instance().read(family.key);
    family.dial->setPlaceholderText(list && !list->isEmpty() ? tr("Choose an entry") : tr("Add an entry with +"));
    if (!list)
        return;
    for (int i = 0; i < list->size(); ++i) {
        family.dial->addItem(itemTitle(list->at(i)));
        family.dial->setItemData(i, list->at(i), Qt::ToolTipRole);
        family.dial->setItemData(i, list->at(i), EntryRole);
    }
    // An index that names no entry selects none, rather than some other entry.
    family.dial->setCurrentIndex(selectIndex < family.dial->count() ? selectIndex : -1);
}

void Document::refreshFromStore(const QString &key, const ListChange &change)
{
    const QStringList list = SavedLists::instance().read(key).value_or(QStringList());
    for (const auto &f : m_families) {
        if (f->key != key || !f->dial)
            continue;
        // Every entry is followed by what it is, not by where it was: another window's removal
        // must not turn this window's choice into the entry that moved up into its place.
        const auto follow = [&f, &change, &list](int index) {
            return followEntry(index, f->dial->itemData(index, EntryRole).toString(), change, list);
        };
        const int selected = f->dial->currentIndex();
        const int kept = follow(selected);
        if (m_panelAtOpen)
            m_panelAtOpen->followChoice(f->dial, follow);
        listLoad(*f, kept);
        if (selected >= 0 && kept < 0)
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
    const std::optional<QString> entry = selectedEntry(family);
    if (!entry)
        return; // nothing selected: there is nothing to edit
    const QStringList texts = splitEntryFields(*entry, static_cast<int>(family.editFields.size()));
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
    const std::optional<QString> entry = selectedEntry(family);
    if (!entry || entry->isEmpty())
        return;
    showListEntry(family, *entry);
    if (family.honorific) {
        CustomerHonorifics::remember(*entry, family.shownHonorific);
        takeCustomerFromBook();
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
    Prompter::instance().alert(m_window.get(), tr("Your lists could not be saved."),
                               tr("Seikyu could not write its settings file “%1”. Check that the disk has room and "
                                  "that the file can be written.")
                                   .arg(QSettings().fileName()));
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
    const std::optional<QString> entry = acceptedEntry(family, family.newsFields);
    if (!entry)
        return;
    QStringList list = SavedLists::instance().read(family.key).value_or(QStringList());
    list.append(*entry);
    const int added = static_cast<int>(list.size()) - 1;
    SavedLists::instance().save(list, family.key, {ListChange::Kind::Appended, added});
    checkSettingsWritten();
    listLoad(family, added);
    away();
}

void Document::listKillExec(ListFamily &family)
{
    std::optional<QStringList> list = SavedLists::instance().read(family.key);
    if (!list || list->isEmpty())
        return;
    const int index = family.dial ? family.dial->currentIndex() : -1;
    if (index < 0 || index >= list->size())
        return; // nothing chosen: nothing to remove
    list->removeAt(index);
    SavedLists::instance().save(*list, family.key, {ListChange::Kind::Removed, index});
    checkSettingsWritten();
    listLoad(family, 0);
    away();
}

void Document::listEditExec(ListFamily &family)
{
    const int index = family.dial ? family.dial->currentIndex() : -1;
    const std::optional<QString> entry = acceptedEntry(family, family.editFields);
    if (!entry)
        return;
    std::optional<QStringList> list = SavedLists::instance().read(family.key);
    if (list && index >= 0 && index < list->size()) {
        const QString before = list->at(index);
        (*list)[index] = *entry;
        SavedLists::instance().save(*list, family.key, {ListChange::Kind::Edited, index});
        if (family.honorific)
            CustomerHonorifics::rename(before, *entry);
        checkSettingsWritten();
    }
    listLoad(family, index);
    away();
}

// clang-format off
void Document::headLoad() { listLoad(family(QStringLiteral("head"))); }
void Document::headShow(QObject *) { show(headCtrl.get()); }
void Document::headPlus(QObject *sender) { listPopover(family(QStringLiteral("head")), headPlusPopover.get(), sender); }
void Document::headKill(QObject *sender) { listPopover(family(QStringLiteral("head")), headKillPopover.get(), sender); }
void Document::headEdit(QObject *sender) { listEdit(family(QStringLiteral("head")), sender); }
void Document::headCopy(QObject *) { listCopy(family(QStringLiteral("head"))); }
void Document::headPlusExec(QObject *) { listPlusExec(family(QStringLiteral("head"))); }
void Document::headKillExec(QObject *) { listKillExec(family(QStringLiteral("head"))); }
void Document::headEditExec(QObject *) { listEditExec(family(QStringLiteral("head"))); }

void Document::whomLoad() { listLoad(family(QStringLiteral("whom"))); }
void Document::whomShow(QObject *) { show(whomCtrl.get()); }
void Document::whomPlus(QObject *sender) { listPopover(family(QStringLiteral("whom")), whomPlusPopover.get(), sender); }
void Document::whomKill(QObject *sender) { listPopover(family(QStringLiteral("whom")), whomKillPopover.get(), sender); }
void Document::whomEdit(QObject *sender) { listEdit(family(QStringLiteral("whom")), sender); }
void Document::whomCopy(QObject *) { listCopy(family(QStringLiteral("whom"))); }
void Document::whomPlusExec(QObject *) { listPlusExec(family(QStringLiteral("whom"))); }
void Document::whomKillExec(QObject *) { listKillExec(family(QStringLiteral("whom"))); }
void Document::whomEditExec(QObject *) { listEditExec(family(QStringLiteral("whom"))); }

void Document::homeLoad() { listLoad(family(QStringLiteral("from"))); }
void Document::homeShow(QObject *) { show(homeCtrl.get()); }
void Document::homePlus(QObject *sender) { listPopover(family(QStringLiteral("from")), homePlusPopover.get(), sender); }
void Document::homeKill(QObject *sender) { listPopover(family(QStringLiteral("from")), homeKillPopover.get(), sender); }
void Document::homeEdit(QObject *sender) { listEdit(family(QStringLiteral("from")), sender); }
void Document::homeCopy(QObject *) { listCopy(family(QStringLiteral("from"))); }
void Document::homePlusExec(QObject *) { listPlusExec(family(QStringLiteral("from"))); }
void Document::homeKillExec(QObject *) { listKillExec(family(QStringLiteral("from"))); }
void Document::homeEditExec(QObject *) { listEditExec(family(QStringLiteral("from"))); }
// clang-format on

} // namespace seikyu
