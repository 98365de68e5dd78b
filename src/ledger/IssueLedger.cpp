#include "ledger/IssueLedger.h"

#include "ledger/ArchiveName.h"
#include "ledger/IssueFacts.h"
#include "ledger/LedgerHealth.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

namespace seikyu {

namespace {

Q_LOGGING_CATEGORY(lcLedger, "seikyu.ledger")

/// The texts of this file share the translation context "IssueLedger", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(IssueLedger)
};

} // namespace

IssueLedger &IssueLedger::instance()
{
    static IssueLedger ledger;
    return ledger;
}

IssueLedger::IssueLedger() : m_folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
{
    // The database connection must close while Qt SQL is still there, not at the program's exit.
    qAddPostRoutine([] { instance().close(); });
}

void IssueLedger::close()
{
    m_store.reset();
    m_reader.reset();
    m_readerCopy.reset();
    m_shared.reset();
}

void IssueLedger::setFolder(const QString &folder)
{
    close();
    m_folder = folder;
    m_toldFailure = false;
    m_pending.clear();
    m_lastRecorded.reset();
}

QString IssueLedger::databasePath() const
{
    return QDir(m_folder).filePath(QStringLiteral("ledger.sqlite"));
}

QString IssueLedger::archiveFolder() const
{
    return QDir(m_folder).filePath(QStringLiteral("archive"));
}

LedgerStore *IssueLedger::store(QString *error)
{
    if (SharedLedger *office = shared()) {
        ServerReport report;
        if (!office->connect(&report) && error)
            *error = report.message;
        return office->server();
    }
    if (!m_store && !open(error))
        return nullptr;
    return m_store.get();
}

bool IssueLedger::open(QString *error)
{
    LedgerFault fault = LedgerFault::None;
    QString reason;
    m_store = LedgerStore::openSqlite(databasePath(), &fault, &reason);
    if (!m_store) {
        // A damaged ledger stays where it is, as it is: recording into a new one would hide it.
        if (fault == LedgerFault::Damaged)
            reason = damagedText(reason);
        if (error)
            *error = reason;
        qCWarning(lcLedger) << "ledger" << databasePath() << "cannot be used:" << reason;
        return false;
    }
    return true;
}

QString IssueLedger::damagedText(const QString &reason) const
{
    return Text::tr("the ledger “%1” is damaged (%2); it was left as it is. Verify Ledger says what is wrong, and "
                    "Recover… sets it aside and brings its readable entries into a new ledger")
        .arg(QDir::toNativeSeparators(databasePath()), reason);
}

LedgerStore *IssueLedger::reader(QString *error)
{
    if (shared() || m_store)
        return store(error);
    const bool exists = QFileInfo::exists(databasePath());
    if (m_readerCopy) {
        // Once another process has brought the file up to date, it is read itself, as it grows.
        std::unique_ptr<LedgerStore> file =
            LedgerStore::openSqlite(databasePath(), nullptr, nullptr, LedgerAccess::ReadOnly);
        if (!file || file->schemaVersion() < CurrentSchemaVersion)
            return m_reader.get();
        m_reader = std::move(file);
        m_readerCopy.reset();
    }
    if (m_reader && (m_reader->database().databaseName() == QLatin1String(":memory:")) != exists)
        return m_reader.get();
    m_reader.reset();
    m_readerCopy.reset();
    LedgerFault fault = LedgerFault::None;
    QString reason;
    if (!exists) {
        // Nothing recorded yet: an empty ledger, made nowhere.
        m_reader = LedgerStore::openSqlite(QStringLiteral(":memory:"), &fault, &reason);
    } else if (m_reader = LedgerStore::openSqlite(databasePath(), &fault, &reason, LedgerAccess::ReadOnly);
               m_reader && m_reader->schemaVersion() < CurrentSchemaVersion) {
        // An older Seikyu's ledger is brought up to date when something is next recorded; until
        // then it is read through an up-to-date copy.
        m_readerCopy = std::make_unique<QTemporaryDir>();
        const QString copy = m_readerCopy->filePath(QStringLiteral("ledger.sqlite"));
        bool copied = false;
        {
            QSqlQuery vacuum(m_reader->database());
            copied = vacuum.exec(
                QStringLiteral("VACUUM INTO '%1'").arg(QString(copy).replace(QLatin1Char('\''), QStringLiteral("''"))));
            reason = vacuum.lastError().text();
        }
        m_reader = copied ? LedgerStore::openSqlite(copy, &fault, &reason) : nullptr;
    }
    if (!m_reader && fault == LedgerFault::Damaged)
        reason = damagedText(reason);
    if (!m_reader && error)
        *error = reason;
    return m_reader.get();
}

LedgerRecovery IssueLedger::recover(const QString &path, QString *setAside)
{
    LedgerRecovery recovery;
    QString source = path;
    if (!shared() && QFileInfo(path).absoluteFilePath() == QFileInfo(databasePath()).absoluteFilePath()) {
        close();
        LedgerFault fault = LedgerFault::None;
        std::unique_ptr<LedgerStore> current =
            LedgerStore::openSqlite(databasePath(), &fault, &recovery.error, LedgerAccess::ReadOnly);
        const bool whole = current && integrityProblems(current->database()).isEmpty();
        current.reset();
        // Only a ledger found damaged is set aside; one that cannot be read for another reason
        // (its permissions, say) is left to the user.
        if (whole)
            recovery.error = Text::tr("the ledger “%1” is not damaged: there is nothing to recover")
                                 .arg(QDir::toNativeSeparators(databasePath()));
        if (whole || (fault != LedgerFault::Damaged && fault != LedgerFault::None))
            return recovery;
        recovery.error.clear();
        source = setLedgerAside(databasePath());
        if (source.isEmpty()) {
            recovery.error = Text::tr("the damaged ledger “%1” could not be set aside")
                                 .arg(QDir::toNativeSeparators(databasePath()));
            return recovery;
        }
        if (setAside)
            *setAside = source;
    }
    LedgerStore *into = nullptr;
    if (!QFileInfo(source).isFile())
        recovery.error = Text::tr("there is no file “%1”").arg(QDir::toNativeSeparators(source));
    else if (into = store(&recovery.error); into)
        recovery = recoverEntries(source, *into);
    return recovery;
}

bool IssueLedger::archivePdf(const QString &pdfPath, LedgerEntry &entry, QString *error)
{
    QFile source(pdfPath);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = source.errorString();
        return false;
    }
    const QByteArray bytes = source.readAll();
    entry.pdfSha256 = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    const QDir archive(archiveFolder());
    if (!QDir().mkpath(archive.path())) {
        *error = Text::tr("the archive folder cannot be created");
        return false;
    }
    QString wanted = archiveFileName(entry.invoiceDate, entry.customer, entry.amount, entry.number);
    // An e-invoice is archived as the XML it is, under the same name.
    if (const QString suffix = QFileInfo(pdfPath).suffix().toLower(); suffix == QLatin1String("xml"))
        wanted = wanted.chopped(3) + suffix;
    // Another process may take a name between the look and the write: only a new file will do.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            uniqueArchiveName(wanted, [&archive](const QString &n) { return QFileInfo::exists(archive.filePath(n)); });
        QFile copy(archive.filePath(name));
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(copy.fileName()))
                continue;
            *error = copy.errorString();
            return false;
        }
        if (copy.write(bytes) != bytes.size() || !copy.flush()) {
            *error = copy.errorString();
            copy.close();
            copy.remove(); // a partial copy would only fail verification
            return false;
        }
        copy.close();
        // What is archived is a record: the owner reads it, nobody writes it.
        copy.setPermissions(QFile::ReadOwner | QFile::ReadUser);
        entry.archiveName = name;
        return true;
    }
    *error = Text::tr("no free name in the archive");
    return false;
}

void IssueLedger::failed(const QString &reason)
{
    qCWarning(lcLedger) << "an issued invoice was not recorded:" << reason;
    if (m_toldFailure)
        return;
    m_toldFailure = true;
    m_pending = Text::tr("This invoice could not be recorded in the ledger of issued invoices (%1). It was issued all "
                         "the same; Seikyu will not say this again until it is restarted.")
                    .arg(reason);
}

std::optional<QString> IssueLedger::recordIssue(const InvoicePage &page, const QString &sourcePath,
                                                IssueChannel channel, const QString &pdfPath)
{
    LedgerEntry entry = issueEntryOf(page);
    entry.channel = channel;
    entry.sourcePath = sourcePath.isEmpty() ? QString() : QFileInfo(sourcePath).absoluteFilePath();
    if (shared())
        return recordShared(entry, pdfPath);
    QString reason;
    LedgerStore *ledger = store(&reason);
    if (!ledger) {
        failed(reason);
        return takeMessage();
    }
    if (!pdfPath.isEmpty() && !archivePdf(pdfPath, entry, &reason)) {
        // The issue is still recorded, with the PDF's hash when it could be read.
        failed(reason);
    }
    LedgerFault fault = LedgerFault::None;
    std::optional<LedgerEntry> recorded = ledger->record(entry, &reason, &fault);
    if (!recorded && fault == LedgerFault::Damaged) {
        // Found damaged while open (a damaged index, say): closed, and named, never replaced.
        m_store.reset();
        reason = damagedText(reason);
    }
    if (!recorded) {
        failed(reason);
        return takeMessage();
    }
    m_lastRecorded = recorded;
    return takeMessage();
}

std::optional<QString> IssueLedger::takeMessage()
{
    if (m_pending.isEmpty())
        return std::nullopt;
    return std::exchange(m_pending, QString());
}

} // namespace seikyu
