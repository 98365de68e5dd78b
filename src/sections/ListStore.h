#pragma once

#include "base/Result.h"
#include "sections/SavedLists.h"

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

namespace seikyu {

/// One entry of a list section as its store holds it: the text the page shows, and what the
/// store knows the entry by, which stays the same while the entry is renamed.
struct ListEntry
{
    qint64 key = -1;
    QString text;

    friend bool operator==(const ListEntry &, const ListEntry &) = default;
};

/// Where a list section (title, customer, issuer) keeps its entries. The sections' operations are
/// written once over this; the titles and the issuer's details live in the user's settings, the
/// customers in the customer book.
class ListStore : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// Every entry, in the store's order; nothing when the store holds no list or cannot be read.
    virtual std::optional<QList<ListEntry>> entries() const = 0;
    /// The entries a search for `typed` finds, in the store's order; every entry for an empty search.
    virtual QList<ListEntry> search(const QString &typed) const;
    /// Whether the section offers a search over its entries.
    virtual bool searchable() const { return false; }
    /// The entry's text as it is stored now; nothing when it is gone.
    std::optional<QString> textOf(qint64 key) const;

    /// Adds an entry; its key.
    virtual Result<qint64> add(const QString &text) = 0;
    virtual Result<void> remove(qint64 key) = 0;
    /// Gives the entry a new text; it stays the same entry.
    virtual Result<void> rename(qint64 key, const QString &text) = 0;
    /// The key of the entry with this text, added when there is none (an opened file teaches the
    /// store its entry).
    virtual Result<qint64> findOrAdd(const QString &text) = 0;

    /// Where the entry known as `key` (with `text` then) is after `change`: its key now, or -1
    /// when that very entry went.
    virtual qint64 follow(qint64 key, const QString &text, const ListChange &change) const = 0;

signals:
    /// The store changed, here or in another window: every section on it refreshes.
    void changed(const seikyu::ListChange &change);
};

/// A list in the user's settings (SavedLists), its entries known by their place in the list.
class SettingsListStore : public ListStore
{
    Q_OBJECT

public:
    explicit SettingsListStore(const QString &key, QObject *parent = nullptr);

    QString key() const { return m_key; }
    /// Reads and writes the list `key` from now on; until that list is first written it holds
    /// `starting`. The section on the store loads it again.
    void useList(const QString &key, const QStringList &starting);

    std::optional<QList<ListEntry>> entries() const override;
    Result<qint64> add(const QString &text) override;
    Result<void> remove(qint64 key) override;
    Result<void> rename(qint64 key, const QString &text) override;
    Result<qint64> findOrAdd(const QString &text) override;
    qint64 follow(qint64 key, const QString &text, const ListChange &change) const override;

private:
    QStringList list() const;
    /// Writes the list; the fault when the settings file could not be written.
    Result<void> save(const QStringList &list, const ListChange &change);

    QString m_key;
    QStringList m_starting;
};

/// What the user is told when the settings file could not be written.
Fault settingsNotWritten();

} // namespace seikyu
