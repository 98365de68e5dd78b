#include "ledger/IssueLedger.h"

#include "document/PrivateFiles.h"
#include "ledger/ArchiveName.h"
#include "ledger/IssueFacts.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace seikyu {

namespace {

Q_LOGGING_CATEGORY(lcLedger, "seikyu.ledger")

/// The texts of this file share the translation context "IssueLedger", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(IssueLedger)
};

/// The damaged file and its journal files, moved to one name beside them.
QString moveAside(const QString &path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = QStringLiteral("%1.damaged-%2").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.damaged-%2-%3").arg(path, stamp).arg(n);
    if (!QFile::rename(path, aside))
        return {};
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString journal = path + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            QFile::rename(journal, aside + QLatin1String(suffix));
    }
    return aside;
}

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
    m_shared.reset();
}

void IssueLedger::setFolder(const QString &folder)
{
    m_store.reset();
    m_shared.reset();
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
    if (!m_store && fault == LedgerFault::Damaged && QFileInfo::exists(databasePath())) {
        const QString aside = moveAside(databasePath());
        if (!aside.isEmpty()) {
            qCWarning(lcLedger) << "damaged ledger moved to" << aside << ":" << reason;
            m_store = LedgerStore::openSqlite(databasePath(), &fault, &reason);
            if (m_store) {
                m_pending = Text::tr("The ledger of issued invoices was damaged. It was kept as “%1”, and a new "
                                     "ledger was started; the archived PDFs are kept.")
                                .arg(QDir::toNativeSeparators(aside));
            }
        }
    }
    // An archive made by an older version under a permissive umask: its file names tell customers and amounts.
    keepFolderPrivate(archiveFolder());
    if (!m_store) {
        if (error)
            *error = reason;
        qCWarning(lcLedger) << "ledger" << databasePath() << "cannot be used:" << reason;
    }
    return m_store != nullptr;
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
    if (!makePrivateFolder(archive.path())) {
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
        // Damaged while open: put it aside and record into a new one.
        m_store.reset();
        if (ledger = store(&reason); ledger)
            recorded = ledger->record(entry, &reason, &fault);
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
