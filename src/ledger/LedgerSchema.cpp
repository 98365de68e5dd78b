#include "ledger/LedgerSchema.h"

namespace seikyu {

LedgerDialect sqliteDialect()
{
    LedgerDialect dialect;
    dialect.driver = QStringLiteral("QSQLITE");
    dialect.idType = QStringLiteral("INTEGER");
    // WAL lets windows read while another process writes. FULL syncs the WAL at every commit: an
    // entry reported recorded survives a power cut, not only a crash (NORMAL may lose the last
    // commits, and the outputs they record are out with the customer by then).
    // A search reads the table of issues whole (the sums count everything found): with SQLite's
    // default 2 MB page cache a ledger of a hundred thousand issues would be read from the file
    // again on every search. The cache grows only as far as pages are read.
    // cell_size_check makes SQLite check every cell of a page it reads: a damaged page is refused
    // before an entry is written into it, rather than written over and its damage spread.
    // An entry's insert, with the triggers that keep the table of issues, saves some 80 KB of pages
    // to undo that one statement: SQLite writes more than 64 KB of that to a temporary file (four
    // thousand writes for a batch of a hundred) unless its temporary files are kept in memory.
    // They are never what makes a commit durable.
    dialect.sessionSetup = {QStringLiteral("PRAGMA journal_mode=WAL"),   QStringLiteral("PRAGMA synchronous=FULL"),
                            QStringLiteral("PRAGMA foreign_keys=ON"),    QStringLiteral("PRAGMA cache_size=-65536"),
                            QStringLiteral("PRAGMA cell_size_check=ON"), QStringLiteral("PRAGMA temp_store=MEMORY")};
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
    dialect.clearIssuesFrom = QStringLiteral("DELETE FROM ledger_issues WHERE id >= ?");
    dialect.rebuildIssues = {
        QStringLiteral("DELETE FROM ledger_issues"),
        QStringLiteral("INSERT INTO ledger_issues (%1) %2").arg(issueStateColumns(), issueStateSelect())};
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
    // The office's login may not change that table itself: the functions (see LedgerRoles) may.
    dialect.clearIssuesFrom = QStringLiteral("SELECT ledger_issues_clear_from(?)");
    dialect.rebuildIssues = {QStringLiteral("SELECT ledger_issues_rebuild()")};
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
        // A number taken and not used goes back to its sequence only while it is still the last
        // one taken: one compare-and-set, true when it was given back.
        statements.append(QStringLiteral(
            "CREATE OR REPLACE FUNCTION ledger_give_back_number(TEXT, BIGINT) RETURNS BOOLEAN LANGUAGE sql AS "
            "$$ WITH given AS (UPDATE ledger_numbers SET last_used = last_used - 1 WHERE counter = $1 AND "
            "last_used = $2 RETURNING 1) SELECT EXISTS (SELECT 1 FROM given) $$"));
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

bool onPostgres(const LedgerDialect &dialect)
{
    return dialect.driver == QLatin1String("QPSQL");
}

/// What the payments of the invoice `invoice` (an SQL expression) add up to, voided ones left out.
QString paidOf(const QString &invoice)
{
    return QStringLiteral("COALESCE((SELECT sum(p.amount) FROM ledger_entries p WHERE p.kind = 'payment' AND "
                          "p.invoice_id = %1 AND NOT EXISTS (SELECT 1 FROM ledger_entries pv WHERE pv.kind = 'void' "
                          "AND pv.refers_to = p.id)), 0)")
        .arg(invoice);
}

/// The invoice an issue entry `e` belongs to: itself when it names none.
QString invoiceOf(const QString &e)
{
    return QStringLiteral("CASE WHEN %1.invoice_id = 0 THEN %1.id ELSE %1.invoice_id END").arg(e);
}

/// The day an issue entry `e` is searched and sorted by: its invoice date, else the UTC day it was
/// recorded on.
QString dayOf(const QString &e)
{
    return QStringLiteral("CASE WHEN %1.invoice_date <> '' THEN %1.invoice_date ELSE substr(%1.recorded_at, 1, 10) END")
        .arg(e);
}

/// ledger_issues' status as a schema version works it out: 0 unpaid, 1 partly paid, 2 paid, 3 void;
/// from version 7, 4 for a document nobody owes on (a quotation, a delivery slip, a receipt).
QString statusExpression(int version)
{
    return QStringLiteral("CASE WHEN voided <> 0 THEN 3 %1WHEN paid >= amount THEN 2 WHEN paid > 0 THEN 1 ELSE 0 END")
        .arg(version >= 7 ? QStringLiteral("WHEN document_kind <> 'invoice' THEN 4 ") : QString());
}

/// What an issue entry carries into ledger_issues as a schema version keeps it, for entry `e`.
QString issueColumnsFrom(int version, const QString &e)
{
    QString columns = QStringLiteral("%1.number, %1.customer, %1.customer_folded, %1.amount, %1.due_date").arg(e);
    if (version >= 6)
        columns += QStringLiteral(", %1.number_folded").arg(e);
    if (version >= 7)
        columns += QStringLiteral(", %1.document_kind").arg(e);
    return columns;
}

/// SQLite's trigger that adds an issue entry's row to ledger_issues, as a schema version keeps it.
QString sqliteIssueTrigger(int version)
{
    return QStringLiteral("CREATE TRIGGER IF NOT EXISTS ledger_issues_on_issue AFTER INSERT ON ledger_entries "
                          "WHEN NEW.kind = 'issue' BEGIN "
                          "INSERT INTO ledger_issues (%1, paid) VALUES (NEW.id, %2, %3, %4, %5); "
                          "UPDATE ledger_issues SET superseded = 1 WHERE id = NEW.refers_to; END")
        .arg(issueStateColumns(version).section(QStringLiteral(", paid"), 0, 0), invoiceOf(QStringLiteral("NEW")),
             dayOf(QStringLiteral("NEW")), issueColumnsFrom(version, QStringLiteral("NEW")),
             paidOf(invoiceOf(QStringLiteral("NEW"))));
}

QStringList versionFourIssues(const LedgerDialect &dialect)
{
    // Text compares by code on the server as in SQLite, whatever the server's locale, so a column
    // sorts alike in both and its index serves the sort.
    const QString text = onPostgres(dialect) ? QStringLiteral("TEXT COLLATE \"C\"") : QStringLiteral("TEXT");
    QStringList statements = {QStringLiteral("CREATE TABLE IF NOT EXISTS ledger_issues ("
                                             "id %1 PRIMARY KEY,"
                                             "invoice_id %1 NOT NULL,"
                                             "day %2 NOT NULL,"
                                             "number %2 NOT NULL,"
                                             "customer %2 NOT NULL,"
                                             "customer_folded %2 NOT NULL,"
                                             "amount BIGINT NOT NULL,"
                                             "due_date %2 NOT NULL,"
                                             "paid BIGINT NOT NULL DEFAULT 0,"
                                             "voided INTEGER NOT NULL DEFAULT 0,"
                                             "void_reason TEXT NOT NULL DEFAULT '',"
                                             "superseded INTEGER NOT NULL DEFAULT 0,"
                                             "status INTEGER GENERATED ALWAYS AS (%3) STORED)")
                                  .arg(dialect.idType, text, statusExpression(4))};
    // Each column the window sorts by, with the id that breaks ties; paid and status have few
    // values, so they also keep the ties newest first when sorted upwards.
    for (const QString &column :
         {QStringLiteral("day"), QStringLiteral("number"), QStringLiteral("customer"), QStringLiteral("amount"),
          QStringLiteral("due_date"), QStringLiteral("paid"), QStringLiteral("status")})
        statements.append(
            QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_issues_%1 ON ledger_issues (%1, id)").arg(column));
    for (const QString &column : {QStringLiteral("paid"), QStringLiteral("status")})
        statements.append(
            QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_issues_%1_newest ON ledger_issues (%1, id DESC)")
                .arg(column));
    statements.append(QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_issues_invoice ON ledger_issues (invoice_id)"));
    statements.append(
        QStringLiteral("INSERT INTO ledger_issues (%1) %2").arg(issueStateColumns(4), issueStateSelect(4)));

    if (onPostgres(dialect)) {
        statements += postgresIssueFollowing(4);
    } else {
        const QString paidOfRow = paidOf(QStringLiteral("ledger_issues.invoice_id"));
        statements.append(sqliteIssueTrigger(4));
        statements.append(
            QStringLiteral("CREATE TRIGGER IF NOT EXISTS ledger_issues_on_payment AFTER INSERT ON ledger_entries "
                           "WHEN NEW.kind = 'payment' AND NEW.invoice_id <> 0 BEGIN "
                           "UPDATE ledger_issues SET paid = %1 WHERE invoice_id = NEW.invoice_id; END")
                .arg(paidOfRow));
        statements.append(
            QStringLiteral("CREATE TRIGGER IF NOT EXISTS ledger_issues_on_void AFTER INSERT ON ledger_entries "
                           "WHEN NEW.kind = 'void' BEGIN "
                           "UPDATE ledger_issues SET voided = 1, void_reason = NEW.note WHERE id = NEW.refers_to; "
                           "UPDATE ledger_issues SET paid = %1 WHERE invoice_id = (SELECT p.invoice_id FROM "
                           "ledger_entries p WHERE p.id = NEW.refers_to AND p.kind = 'payment' AND "
                           "p.invoice_id <> 0); END")
                .arg(paidOfRow));
    }
    if (onPostgres(dialect)) {
        statements.append(
            QStringLiteral("DO $$ BEGIN CREATE EXTENSION IF NOT EXISTS pg_trgm; "
                           "CREATE INDEX IF NOT EXISTS ledger_issues_customer_trigrams ON ledger_issues "
                           "USING gin (customer_folded gin_trgm_ops); "
                           "EXCEPTION WHEN OTHERS THEN RAISE NOTICE 'no trigram index: %', SQLERRM; END $$"));
        statements.append(QStringLiteral("ANALYZE ledger_issues"));
    }
    return statements;
}

QStringList versionFiveHashForm()
{
    // The entries before are of hash form 1; the store seals them when it migrates the ledger.
    return {QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN hash_form INTEGER NOT NULL DEFAULT 1")};
}

QStringList versionSixFoldedNumbers(const LedgerDialect &dialect)
{
    // The number as searches compare it, kept as the customer's folded name is: derived, so not
    // hashed; the store fills it in (see LedgerStore).
    const QString text = onPostgres(dialect) ? QStringLiteral("TEXT COLLATE \"C\"") : QStringLiteral("TEXT");
    QStringList statements = {
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN number_folded TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("ALTER TABLE ledger_issues ADD COLUMN number_folded %1 NOT NULL DEFAULT ''").arg(text)};
    if (onPostgres(dialect)) {
        statements += postgresIssueFollowing(6);
        statements.append(
            QStringLiteral("DO $$ BEGIN CREATE EXTENSION IF NOT EXISTS pg_trgm; "
                           "CREATE INDEX IF NOT EXISTS ledger_issues_number_trigrams ON ledger_issues "
                           "USING gin (number_folded gin_trgm_ops); "
                           // A name is searched without its spaces (see LedgerSqlSearch).
                           "CREATE INDEX IF NOT EXISTS ledger_issues_spaceless_customer_trigrams ON ledger_issues "
                           "USING gin (replace(customer_folded, ' ', '') gin_trgm_ops); "
                           "EXCEPTION WHEN OTHERS THEN RAISE NOTICE 'no trigram index: %', SQLERRM; END $$"));
    } else {
        statements += {QStringLiteral("DROP TRIGGER IF EXISTS ledger_issues_on_issue"), sqliteIssueTrigger(6)};
    }
    return statements;
}

QStringList versionSevenDocumentKinds(const LedgerDialect &dialect)
{
    // Every entry recorded before was an invoice's, and the column's default says so. The kind is
    // hashed (see canonicalBytes); ledger_issues keeps a copy to search by, and its status is worked
    // out again with it. A column added to SQLite cannot be stored, so there it is computed as read.
    const QString text = onPostgres(dialect) ? QStringLiteral("TEXT COLLATE \"C\"") : QStringLiteral("TEXT");
    QStringList statements = {
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN document_kind TEXT NOT NULL DEFAULT 'invoice'"),
        QStringLiteral("ALTER TABLE ledger_entries ADD COLUMN acknowledges %1 NOT NULL DEFAULT 0").arg(dialect.idType),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_entries_acknowledges ON ledger_entries (acknowledges) "
                       "WHERE acknowledges <> 0"),
        QStringLiteral("ALTER TABLE ledger_issues ADD COLUMN document_kind %1 NOT NULL DEFAULT 'invoice'").arg(text),
        QStringLiteral("DROP INDEX IF EXISTS ledger_issues_status"),
        QStringLiteral("DROP INDEX IF EXISTS ledger_issues_status_newest"),
        QStringLiteral("ALTER TABLE ledger_issues DROP COLUMN status"),
        QStringLiteral("ALTER TABLE ledger_issues ADD COLUMN status INTEGER GENERATED ALWAYS AS (%1) %2")
            .arg(statusExpression(7), onPostgres(dialect) ? QStringLiteral("STORED") : QStringLiteral("VIRTUAL")),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_issues_status ON ledger_issues (status, id)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_issues_status_newest ON ledger_issues (status, id DESC)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS ledger_issues_document_kind ON ledger_issues (document_kind, id)")};
    if (onPostgres(dialect))
        statements += postgresIssueFollowing(7);
    else
        statements += {QStringLiteral("DROP TRIGGER IF EXISTS ledger_issues_on_issue"), sqliteIssueTrigger(7)};
    return statements;
}

QString setVersion(int version)
{
    // The row exists from version 1 on; updating it keeps the statement plain SQL.
    return QStringLiteral("UPDATE ledger_meta SET value = '%1' WHERE key = 'schema_version'").arg(version);
}

} // namespace

QStringList postgresIssueFollowing(int version)
{
    // Once per statement, over the entries it added: a bulk insert is followed set by set.
    return {QStringLiteral(
                "CREATE OR REPLACE FUNCTION ledger_issues_follow() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                "INSERT INTO ledger_issues (%4) SELECT n.id, %1, %2, %5 FROM new_entries n WHERE n.kind = 'issue'; "
                "UPDATE ledger_issues SET superseded = 1 FROM new_entries n "
                "WHERE n.kind = 'issue' AND ledger_issues.id = n.refers_to; "
                "UPDATE ledger_issues SET voided = 1, void_reason = v.note FROM (SELECT DISTINCT ON (refers_to) "
                "refers_to, note FROM new_entries WHERE kind = 'void' ORDER BY refers_to, id DESC) v "
                "WHERE ledger_issues.id = v.refers_to; "
                // The invoices whose payments changed, each summed on the invoice index: one
                // recording touches one invoice, whatever the size of the ledger.
                "WITH touched AS (SELECT n.invoice_id FROM new_entries n WHERE n.kind = 'payment' "
                "AND n.invoice_id <> 0 "
                "UNION SELECT n.invoice_id FROM new_entries n WHERE n.kind = 'issue' AND n.invoice_id <> 0 "
                "AND n.invoice_id <> n.id "
                "UNION SELECT p.invoice_id FROM new_entries n JOIN ledger_entries p ON p.id = n.refers_to "
                "WHERE n.kind = 'void' AND p.kind = 'payment' AND p.invoice_id <> 0) "
                "UPDATE ledger_issues SET paid = %3 FROM touched "
                "WHERE ledger_issues.invoice_id = touched.invoice_id; "
                "RETURN NULL; END $$")
                .arg(invoiceOf(QStringLiteral("n")), dayOf(QStringLiteral("n")),
                     paidOf(QStringLiteral("ledger_issues.invoice_id")),
                     issueStateColumns(version).section(QStringLiteral(", paid"), 0, 0),
                     issueColumnsFrom(version, QStringLiteral("n"))),
            QStringLiteral("DROP TRIGGER IF EXISTS ledger_issues_follow ON ledger_entries"),
            QStringLiteral(
                "CREATE TRIGGER ledger_issues_follow AFTER INSERT ON ledger_entries "
                "REFERENCING NEW TABLE AS new_entries FOR EACH STATEMENT EXECUTE FUNCTION ledger_issues_follow()")};
}

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
    else if (fromVersion == 3)
        statements = versionFourIssues(dialect);
    else if (fromVersion == 4)
        statements = versionFiveHashForm();
    else if (fromVersion == 5)
        statements = versionSixFoldedNumbers(dialect);
    else if (fromVersion == 6)
        statements = versionSevenDocumentKinds(dialect);
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
    if (version >= 5)
        columns += QStringLiteral(", hash_form");
    if (version >= 6)
        columns += QStringLiteral(", number_folded");
    if (version >= 7)
        columns += QStringLiteral(", document_kind, acknowledges");
    return columns;
}

QString issueStateColumns(int version)
{
    return QStringLiteral("id, invoice_id, day, number, customer, customer_folded, amount, due_date%1%2, paid, voided, "
                          "void_reason, superseded")
        .arg(version >= 6 ? QStringLiteral(", number_folded") : QString(),
             version >= 7 ? QStringLiteral(", document_kind") : QString());
}

QString issueStateSelect(int version)
{
    // A void's reason is the latest void's, as a second void (which Seikyu refuses) would say.
    return QStringLiteral(
               "SELECT e.id, %1, %2, %4, %3, "
               "CASE WHEN EXISTS (SELECT 1 FROM ledger_entries v WHERE v.kind = 'void' AND v.refers_to = e.id) "
               "THEN 1 ELSE 0 END, "
               "COALESCE((SELECT v.note FROM ledger_entries v WHERE v.kind = 'void' AND v.refers_to = e.id "
               "ORDER BY v.id DESC LIMIT 1), ''), "
               "CASE WHEN EXISTS (SELECT 1 FROM ledger_entries r WHERE r.kind = 'issue' AND r.refers_to = e.id) "
               "THEN 1 ELSE 0 END "
               "FROM ledger_entries e WHERE e.kind = 'issue'")
        .arg(invoiceOf(QStringLiteral("e")), dayOf(QStringLiteral("e")), paidOf(invoiceOf(QStringLiteral("e"))),
             issueColumnsFrom(version, QStringLiteral("e")));
}

} // namespace seikyu
