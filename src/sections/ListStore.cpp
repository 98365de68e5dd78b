#include "sections/ListStore.h"

#include <QCoreApplication>
#include <QSettings>

namespace seikyu {

QList<ListEntry> ListStore::search(const QString &) const
{
    return entries().value_or(QList<ListEntry>());
}

std::optional<QString> ListStore::textOf(qint64 key) const
{
    for (const ListEntry &entry : entries().value_or(QList<ListEntry>())) {
        if (entry.key == key)
            return entry.text;
    }
    return std::nullopt;
}

Fault settingsNotWritten()
{
    return Fault{FaultKind::Unwritable,
                 QCoreApplication::translate("seikyu::Document", "Your lists could not be saved."),
                 QCoreApplication::translate("seikyu::Document",
                                             "Seikyu could not write its settings file “%1”. Check that the disk "
                                             "has room and that the file can be written.")
                     .arg(QSettings().fileName())};
}

SettingsListStore::SettingsListStore(const QString &key, QObject *parent) : ListStore(parent), m_key(key)
{
    connect(&SavedLists::instance(), &SavedLists::listChanged, this,
            [this](const QString &changedKey, const ListChange &change) {
                if (changedKey == m_key)
                    emit changed(change);
            });
}

void SettingsListStore::useList(const QString &key, const QStringList &starting)
{
    m_key = key;
    m_starting = starting;
}

QStringList SettingsListStore::list() const
{
    return SavedLists::instance().read(m_key).value_or(m_starting);
}

std::optional<QList<ListEntry>> SettingsListStore::entries() const
{
    std::optional<QStringList> stored = SavedLists::instance().read(m_key);
    if (!stored && !m_starting.isEmpty())
        stored = m_starting;
    if (!stored)
        return std::nullopt;
    QList<ListEntry> entries;
    entries.reserve(stored->size());
    for (int i = 0; i < stored->size(); ++i)
        entries.append({i, stored->at(i)});
    return entries;
}

Result<void> SettingsListStore::save(const QStringList &list, const ListChange &change)
{
    SavedLists::instance().save(list, m_key, change);
    if (!SavedLists::instance().lastWriteSucceeded())
        return settingsNotWritten();
    return {};
}

Result<qint64> SettingsListStore::add(const QString &text)
{
    QStringList stored = list();
    stored.append(text);
    const int added = static_cast<int>(stored.size()) - 1;
    if (Result<void> saved = save(stored, {ListChange::Kind::Appended, added}); !saved)
        return saved.fault();
    return added;
}

Result<void> SettingsListStore::remove(qint64 key)
{
    QStringList stored = list();
    if (key < 0 || key >= stored.size())
        return {}; // gone already: nothing to remove
    stored.removeAt(key);
    return save(stored, {ListChange::Kind::Removed, static_cast<int>(key)});
}

Result<void> SettingsListStore::rename(qint64 key, const QString &text)
{
    QStringList stored = list();
    if (key < 0 || key >= stored.size())
        return {};
    stored[key] = text;
    return save(stored, {ListChange::Kind::Edited, static_cast<int>(key)});
}

Result<qint64> SettingsListStore::findOrAdd(const QString &text)
{
    const qsizetype found = list().indexOf(text);
    if (found >= 0)
        return qint64(found);
    Result<qint64> added = add(text);
    if (!added)
        return added;
    // A list that could not be written may have kept its old entries: then there is nothing to select.
    if (textOf(*added) != text)
        return Fault{FaultKind::Unwritable, settingsNotWritten().message};
    return added;
}

qint64 SettingsListStore::follow(qint64 key, const QString &text, const ListChange &change) const
{
    return followEntry(static_cast<int>(key), text, change, list());
}

} // namespace seikyu
