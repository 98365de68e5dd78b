#include "ledger/LedgerSchema.h"

namespace seikyu {

LedgerDialect sqliteDialect()
{
    LedgerDialect dialect;
    dialect.driver = QStringLiteral("QSQLITE");
    dialect.idType = QStringLiteral("INTEGER");
    // WAL lets windows read while another process writes; NORMAL sync is safe with WAL (a power
    // cut may lose the last commit, never corrupt the file).
    dialect.sessionSetup = {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA synchronous=NORMAL"),
                            QStringLiteral("PRAGMA foreign_keys=ON")};
    // IMMEDIATE takes the write lock at once, so two writers wait for each other (busy timeout)
    // instead of one failing when it upgrades a read lock.
    dialect.beginWrite = {QStringLiteral("BEGIN IMMEDIATE")};
    dialect.appendOnlyGuards = {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS ledger_entries_no_update BEFORE UPDATE ON ledger_entries "
                       "BEGIN SELECT RAISE(ABORT, 'ledger entries are never changed'); END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS ledger_entries_no_delete BEFORE DELETE ON ledger_entries "
                       "BEGIN SELECT RAISE(ABORT, 'ledger entries are never deleted'); END")};
    dialect.dropAppendOnlyGuards = {QStringLiteral("DROP TRIGGER IF EXISTS ledger_entries_no_update"),
                                    QStringLiteral("DROP TRIGGER IF EXISTS ledger_entries_no_delete")};
    return dialect;
}

LedgerDialect postgresDialect()
{
    LedgerDialect dialect;
    dialect.driver = QStringLiteral("QPSQL");
    dialect.idType = QStringLiteral("BIGINT");
    // The guards' "DROP TRIGGER IF EXISTS" would otherwise print a notice on every setup.
    // JIT compiling pays off for long reports, not for the ledger's short indexed queries, where
    // its planning cost (seconds) would dwarf the query.
    dialect.sessionSetup = {QStringLiteral("SET client_min_messages = warning"), QStringLiteral("SET jit = off")};
    // One advisory lock for every writer: it serializes the writers as a table lock would, and it
    // can be taken before the tables exist, when two processes set up an empty database at once.
    dialect.beginWrite = {QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(7301)")};
    dialect.appendOnlyGuards = {
        QStringLiteral("CREATE OR REPLACE FUNCTION ledger_entries_refuse() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$ BEGIN RAISE EXCEPTION 'ledger entries are never changed or deleted'; END $$"),
        QStringLiteral("DROP TRIGGER IF EXISTS ledger_entries_append_only ON ledger_entries"),
        QStringLiteral("CREATE TRIGGER ledger_entries_append_only BEFORE UPDATE OR DELETE ON ledger_entries "
                       "FOR EACH ROW EXECUTE FUNCTION ledger_entries_refuse()"),
        QStringLiteral("DROP TRIGGER IF EXISTS ledger_entries_no_truncate ON ledger_entries"),
        QStringLiteral("CREATE TRIGGER ledger_entries_no_truncate BEFORE TRUNCATE ON ledger_entries "
                       "FOR EACH STATEMENT EXECUTE FUNCTION ledger_entries_refuse()")};
    dialect.dropAppendOnlyGuards = {
        QStringLiteral("DROP TRIGGER IF EXISTS ledger_entries_append_only ON ledger_entries"),
        QStringLiteral("DROP TRIGGER IF EXISTS ledger_entries_no_truncate ON ledger_entries")};
    return dialect;
}

namespace {

QStringList versionOneTables(const LedgerDialect &dialect)
{
    return {QStringLiteral("CREATE TABLE IF NOT EXISTS ledger_meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE IF NOT EXISTS ledger_entries ("
                           "id %1 PRIMARY KEY,"
                           "kind TEXT NOT NULL,"
                           "recorded_at TEXT NOT NULL,"
                           "channel TEXT NOT NULL DEFAULT '',"
                           "refers_to %1 NOT NULL DEFAULT 0,"
                           "title TEXT NOT NULL DEFAULT '',"
                           "number TEXT NOT NULL DEFAULT '',"
                           "invoice_date TEXT NOT NULL DEFAULT '',"
                           "customer TEXT NOT NULL DEFAULT '',"
                           "honorific TEXT NOT NULL DEFAULT '',"
                           "registration_number TEXT NOT NULL DEFAULT '',"
                           "amount BIGINT NOT NULL DEFAULT 0,"
                           "taxes TEXT NOT NULL DEFAULT '',"
                           "withholding BIGINT NOT NULL DEFAULT 0,"
                           "due_date TEXT NOT NULL DEFAULT '',"
                           "source_path TEXT NOT NULL DEFAULT '',"
                           "pdf_sha256 TEXT NOT NULL DEFAULT '',"
                           "archive_name TEXT NOT NULL DEFAULT '',"
                           "note TEXT NOT NULL DEFAULT '',"
                           "payment_date TEXT NOT NULL DEFAULT '',"
                           "previous_hash TEXT NOT NULL,"
                           "hash TEXT NOT NULL)")
                .arg(dialect.idType),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_entries_number ON ledger_entries (number)")};
}

QStringList versionTwoColumns(const LedgerDialect &dialect)
{
    return {
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN invoice_id %1 NOT NULL DEFAULT 0").arg(dialect.idType),
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN customer_folded TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_entries_invoice ON ledger_entries (invoice_id)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_entries_refers ON ledger_entries (refers_to)")};
}

QStringList versionThreeColumns(const LedgerDialect &dialect)
{
    // `origin` names an entry made elsewhere (a copied local ledger, an entry sent from a waiting
    // outbox); the unique index makes sending it twice impossible.
    QStringList statements = {
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN issued_by_user TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN issued_by_host TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN origin TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS ledger_entries_origin ON ledger_entries (origin) "
                       "WHERE origin <> ''"),
        // With the kind first, a search of issues skips the payments and voids in the index.
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_entries_date ON ledger_entries (kind, invoice_date)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_entries_amount ON ledger_entries (kind, amount)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_entries_customer ON ledger_entries (customer_folded)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS ledger_numbers (counter TEXT PRIMARY KEY, "
                       "last_used BIGINT NOT NULL)")};
    if (dialect.driver == QLatin1String("QPSQL")) {
        // A customer searched by part of the name needs trigrams to stay quick over millions of
        // entries. Without the extension (or the right to create it) the search still works, slower.
        statements.append(
            QStringLiteral("DO $$ BEGIN CREATE EXTENSION IF NOT EXISTS pg_trgm; "
                           "CREATE INDEX IF NOT EXISTS ledger_entries_customer_trigrams ON ledger_entries "
                           "USING gin (customer_folded gin_trgm_ops); "
                           "EXCEPTION WHEN OTHERS THEN RAISE NOTICE 'no trigram index: %', SQLERRM; END $$"));
    }
    return statements;
}

QString setVersion(int version)
{
    // The row exists from version 1 on; updating it keeps the statement plain SQL.
    return QStringLiteral("UPDATE ledger_meta SET value = '%1' WHERE key = 'schema_version'").arg(version);
}

} // namespace

QStringList createStatements(const LedgerDialect &dialect, int version)
{
    QStringList statements = versionOneTables(dialect);
    statements.append(QStringLiteral("INSERT INTO ledger_meta (key, value) VALUES ('schema_version', '1')"));
    for (int from = 1; from < version; ++from)
        statements += migrationStatements(dialect, from);
    statements += dialect.appendOnlyGuards;
    return statements;
}

QStringList migrationStatements(const LedgerDialect &dialect, int fromVersion)
{
    QStringList statements;
    if (fromVersion == 1)
        statements = versionTwoColumns(dialect);
    else if (fromVersion == 2)
        statements = versionThreeColumns(dialect);
    if (!statements.isEmpty())
        statements.append(setVersion(fromVersion + 1));
    return statements;
}

QString entryColumns(int version)
{
    QString columns = QStringLiteral(
        "id, kind, recorded_at, channel, refers_to, title, number, invoice_date, customer, honorific, "
        "registration_number, amount, taxes, withholding, due_date, source_path, pdf_sha256, archive_name, note, "
        "payment_date, previous_hash, hash");
    if (version >= 2)
        columns += QStringLiteral(", invoice_id, customer_folded");
    if (version >= 3)
        columns += QStringLiteral(", issued_by_user, issued_by_host, origin");
    return columns;
}

} // namespace seikyu
