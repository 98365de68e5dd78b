#pragma once

#include <QString>
#include <QStringList>

namespace seikyu {

/// What differs between the databases a ledger can live in. Everything else of the schema is
/// plain SQL both SQLite and PostgreSQL take.
struct LedgerDialect
{
    QString driver;                   ///< the Qt SQL driver: QSQLITE or QPSQL
    QString idType;                   ///< the entries' id column type (ids are given by the store)
    QStringList sessionSetup;         ///< run once on every new connection
    QStringList beginWrite;           ///< starts a transaction that holds the ledger's write lock
    QStringList appendOnlyGuards;     ///< make the database refuse UPDATE and DELETE of entries
    QStringList dropAppendOnlyGuards; ///< for migrations that fill in new derived columns
    /// Drops what searches read of entries at or after the id bound to it, when no entry holds
    /// that id or a later one (on the server, through a function that runs with the owner's rights).
    QString clearIssuesFrom;
    /// Works out what searches read afresh from the entries (on the server, through such a function).
    QStringList rebuildIssues;
};

LedgerDialect sqliteDialect();
LedgerDialect postgresDialect();

/// The schema version this build writes. 1: the entries and the meta table; 2: the derived
/// columns that make searches quick (the invoice an entry belongs to, the folded customer name);
/// 3: who recorded each entry and where it came from, the shared number sequences, and the indexes
/// a search of a large shared ledger runs on; 4: ledger_issues, one row per issue with what later
/// entries say of it (paid so far, voided and why, issued again) beside the columns searched and
/// sorted by, kept by triggers as entries are added; 5: entries hashed over every column (the hash
/// form of each), a seal over the entries recorded before, and the ledger's identity; 6: the invoice
/// number folded as searches compare it, beside the folded customer name (derived, outside the hashes);
/// 7: the kind of document each issue sent (hashed; every earlier entry an invoice's) and the payment
/// a receipt acknowledges, with the kind beside each issue in ledger_issues, whose status tells a
/// document nobody owes on.
inline constexpr int CurrentSchemaVersion = 7;

/// The statements that create an empty ledger at a schema version (1 … CurrentSchemaVersion).
QStringList createStatements(const LedgerDialect &dialect, int version);
/// The statements that bring a ledger from `fromVersion` to the next version; the store then fills
/// in what the new columns derive (see LedgerStore).
QStringList migrationStatements(const LedgerDialect &dialect, int fromVersion);

/// ledger_issues' columns that derive from the entries (all but the status, which derives from them).
QString issueStateColumns(int version = CurrentSchemaVersion);
/// The rows of ledger_issues worked out afresh from the entries, in issueStateColumns' order: what
/// the migration fills the table with, and what Verify Ledger compares it against.
QString issueStateSelect(int version = CurrentSchemaVersion);

/// On the server: the function that keeps ledger_issues as entries are added, and its trigger
/// (replacing them leaves the function running with the caller's rights again).
QStringList postgresIssueFollowing(int version = CurrentSchemaVersion);

/// The entries' columns, in the order the store reads them (`SELECT <columns> FROM ledger_entries`).
QString entryColumns(int version = CurrentSchemaVersion);

} // namespace seikyu
