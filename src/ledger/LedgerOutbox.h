#pragma once

#include "base/Result.h"
#include "ledger/LedgerEntry.h"
#include "ledger/SqlConnection.h"

#include <QDateTime>
#include <QSqlDatabase>
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
    QStringList refused;       ///< what the server refused this time and the outbox now keeps aside
};

/// An entry the server refused (it pays an invoice someone voided meanwhile, say): kept aside in
/// the outbox's file, never sent again and never thrown away, so the user can see what it was.
struct RefusedEntry
{
    LedgerEntry entry;
    QString reason;
    QDateTime refusedAt;
};

/// Entries waiting in a local SQLite file while the shared ledger's server cannot be reached.
/// Each gets an origin of its own when it is kept; the server records an origin once, so an entry
/// sent again after a crash between the server's commit and its removal here is not recorded twice.
/// A waiting entry has no id on the server yet: what refers to it names its origin
/// (LedgerEntry::refersToOrigin), which the server resolves when the referring entry arrives,
/// after the one it refers to, as entries are sent in the order kept.
/// Every entry is on disk (fully synced) before add() returns.
class LedgerOutbox
{
public:
    /// The outbox file at `path`, made when missing; Unwritable when it cannot be made or opened.
    static Result<std::unique_ptr<LedgerOutbox>> open(const QString &path);
    ~LedgerOutbox();
    LedgerOutbox(const LedgerOutbox &) = delete;
    LedgerOutbox &operator=(const LedgerOutbox &) = delete;

    /// Keeps an entry until it is sent: gives it its origin, its time, the user and the machine.
    /// Unwritable when the file does not take it.
    Result<LedgerEntry> add(LedgerEntry entry);
    int count() const;
    /// The waiting entries, oldest first.
    QList<LedgerEntry> waiting() const;
    /// Sends the waiting entries in the order kept, removing each once the server holds it. An
    /// entry the server refuses is kept aside and the rest go on; any other failure (the server
    /// gone) stops the sending, keeping that entry and the rest.
    OutboxSending send(LedgerStore &server);

    /// Keeps an entry the server refused aside, taking it out of the waiting ones: given what
    /// add() gives, as it was when refused. Unwritable when the file does not take it.
    Result<LedgerEntry> setAside(LedgerEntry entry, const QString &reason);
    /// The entries the server refused, oldest first.
    QList<RefusedEntry> refused() const;
    int refusedCount() const;

    /// The file's connection, which the intents of outputs on their way share (IssueIntents).
    QSqlDatabase database() const;

private:
    LedgerOutbox();
    SqlConnection m_connection;
};

/// "3 entries waiting to be sent" (translated), or empty for none.
QString waitingText(int count);
/// Makes `entry` refer to `target`: by its id when the ledger holds it, by its origin while it
/// waits in the outbox (and has no id yet).
void referTo(LedgerEntry &entry, const LedgerEntry &target);
/// Makes the receipt's issue `receipt` acknowledge `payment`, as referTo names an entry.
void acknowledge(LedgerEntry &receipt, const LedgerEntry &payment);
/// What a refused entry was and why the server refused it, in one sentence for the user.
QString refusedText(const LedgerEntry &entry, const QString &reason);

} // namespace seikyu
