#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <optional>

namespace seikyu {

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

    /// The list under the key, or nothing when it is absent or not a list.
    std::optional<QStringList> read(const QString &key) const;
    /// Replaces the list under the key (list first, key second, as every caller writes it).
    void save(const QStringList &list, const QString &key);

    /// The stamp's PNG bytes; empty when there is none or the stored value is not bytes.
    QByteArray stamp() const;
    void setStamp(const QByteArray &png);
    void removeStamp();

    /// False once a write to the settings file has failed (read-only or full disk).
    bool lastWriteSucceeded() const { return m_lastWriteOk; }

signals:
    /// A list changed: every open window refreshes its popup.
    void listChanged(const QString &key);

private:
    SavedLists() = default;

    bool m_lastWriteOk = true;
};

} // namespace seikyu
