#pragma once

#include "ledger/LedgerEntry.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace seikyu {

class LedgerStore;

/// What one sending of the outbox did.
struct OutboxSending
{
    int sent = 0;              ///< entries the server holds now and the outbox no longer keeps
    int waiting = 0;           ///< entries still waiting
    QString error;             ///< why the sending stopped early, or empty
    QStringList numberClashes; ///< numbers typed while away that another invoice holds on the server
};

/// Entries waiting in a local SQLite file while the shared ledger's server cannot be reached.
/// Each gets an origin of its own when it is kept; the server records an origin once, so an entry
/// sent again after a crash between the server's commit and its removal here is not recorded twice.
/// Every entry is on disk (fully synced) before add() returns.
class LedgerOutbox
{
public:
    static std::unique_ptr<LedgerOutbox> open(const QString &path, QString *error = nullptr);
    ~LedgerOutbox();
    LedgerOutbox(const LedgerOutbox &) = delete;
    LedgerOutbox &operator=(const LedgerOutbox &) = delete;

    /// Keeps an entry until it is sent: gives it its origin, its time, the user and the machine.
    std::optional<LedgerEntry> add(LedgerEntry entry, QString *error = nullptr);
    int count() const;
    /// The waiting entries, oldest first.
    QList<LedgerEntry> waiting() const;
    /// Sends the waiting entries in the order kept, removing each once the server holds it; stops
    /// at the first that fails, keeping it and the rest.
    OutboxSending send(LedgerStore &server);

private:
    explicit LedgerOutbox(QString connection);
    QString m_connection;
};

/// "3 entries waiting to be sent" (translated), or empty for none.
QString waitingText(int count);

} // namespace seikyu
