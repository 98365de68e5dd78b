#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <optional>

namespace seikyu {

/// What one change did to a saved list, so that every window can keep the entry it has chosen.
struct ListChange
{
    enum class Kind {
        Replaced, ///< the list as a whole: entries are known only by their text
        Appended, ///< an entry was added at the end
        Removed,  ///< the entry at index was taken out; later ones moved down by one
        Edited,   ///< the entry at index got a new text and stays the same entry
    };
    Kind kind = Kind::Replaced;
    int index = -1;
};

/// The index of a chosen entry after its list changed: the same entry wherever it moved, or -1
/// when that very entry was removed (or, after a whole-list change, is no longer there).
/// \a selected is the index before the change and \a selectedText the entry's text then.
int followEntry(int selected, const QString &selectedText, const ListChange &change, const QStringList &list);

/// The user's saved lists ("head" titles, "whom" customers, "from" issuer entries) and stamp
/// ("hank"), kept in the per-user settings and shared by every invoice window.
///
/// A list that was never written is absent; a list whose last entry was removed is present and
/// empty. The two stay distinct across restarts. Each list is stored as a settings array so that
/// entries with line feeds, commas or quotes come back exactly.
class SavedLists : public QObject
{
    Q_OBJECT

public:
    /// The one store of the process.
    static SavedLists &instance();

    /// The list under the key, or nothing when it is absent or not a list. Only the entries that
    /// are actually stored are read, whatever size a damaged settings file claims.
    std::optional<QStringList> read(const QString &key) const;
    /// Replaces the list under the key (list first, key second, as every caller writes it) and
    /// tells every window what changed.
    void save(const QStringList &list, const QString &key, const ListChange &change = {});

    /// The stamp's PNG bytes; empty when there is none or the stored value is not bytes.
    QByteArray stamp() const;
    void setStamp(const QByteArray &png);
    void removeStamp();

    /// False once a write to the settings file has failed (read-only or full disk).
    bool lastWriteSucceeded() const { return m_lastWriteOk; }

signals:
    /// A list changed: every open window refreshes its popup and follows its chosen entry.
    void listChanged(const QString &key, const seikyu::ListChange &change);

private:
    SavedLists() = default;

    bool m_lastWriteOk = true;
};

} // namespace seikyu
