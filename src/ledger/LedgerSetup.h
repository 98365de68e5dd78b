#pragma once

#include <QString>
#include <QStringList>

namespace seikyu {

/// What setting up a shared ledger with separate roles did.
struct LedgerSetupResult
{
    /// 0 done, 1 the server refused or could not be used (error says why), 2 the request does not
    /// read (no role, a connection text that does not read)
    int status = 0;
    QStringList done; ///< what was done, one sentence each, in order
    QString error;    ///< why it stopped or what is still wrong; empty when done
    QString detail;   ///< the server's own text, for those who know PostgreSQL
};

/// Connects with the administrator's connection text (a password in it is used, never stored),
/// takes the ledger's tables and functions over for the administrator's role, creates the schema
/// in an empty database or brings an older one up to date (every entry and the chain kept), and
/// gives `officeRole` only what issuing, paying and searching need: it reads the tables, adds
/// entries, and changes the number counters and what searches read through functions that run
/// with the owner's rights. Safe on any thread: the connection is made and closed on the calling one.
LedgerSetupResult setUpServerLedger(const QString &adminConnection, const QString &officeRole);

} // namespace seikyu
