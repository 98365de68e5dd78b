#include "ledger/LedgerHealth.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QtEndian>

namespace seikyu {

namespace {

/// SQLite's WAL checksum: pairs of 32-bit words in the byte order the log's magic names.
void walChecksum(const char *data, qsizetype size, bool bigEndian, quint32 &s0, quint32 &s1)
{
    for (qsizetype i = 0; i + 8 <= size; i += 8) {
        const quint32 x0 = bigEndian ? qFromBigEndian<quint32>(data + i) : qFromLittleEndian<quint32>(data + i);
        const quint32 x1 = bigEndian ? qFromBigEndian<quint32>(data + i + 4) : qFromLittleEndian<quint32>(data + i + 4);
        s0 += x0 + s1;
        s1 += x1 + s0;
    }
}

quint32 word(const QByteArray &bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

std::optional<QString> scanWal(const QString &walPath)
{
    QFile wal(walPath);
    if (!wal.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = wal.read(32);
    if (header.size() < 32)
        return std::nullopt;
    const bool holdsFrames = wal.size() > 32;
    const quint32 magic = word(header, 0);
    const quint32 pageSize = word(header, 8) == 1 ? 65536 : word(header, 8);
    const bool bigEndian = (magic & 1) != 0;
    quint32 s0 = 0;
    quint32 s1 = 0;
    walChecksum(header.constData(), 24, bigEndian, s0, s1);
    if ((magic & ~1u) != 0x377f0682u || pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0 ||
        s0 != word(header, 24) || s1 != word(header, 28)) {
        if (!holdsFrames)
            return std::nullopt;
        return QStringLiteral("the header of its write-ahead log is damaged");
    }
    qint64 damagedFrame = -1;
    for (qint64 frame = 0;; ++frame) {
        const QByteArray bytes = wal.read(24 + pageSize);
        if (bytes.size() < qsizetype(24 + pageSize))
            break;
        // A frame of this log carries its salts; frames of an earlier log may follow ours.
        const bool ours = word(bytes, 8) == word(header, 16) && word(bytes, 12) == word(header, 20);
        const bool commits = word(bytes, 4) != 0;
        if (damagedFrame < 0) {
            quint32 t0 = s0;
            quint32 t1 = s1;
            walChecksum(bytes.constData(), 8, bigEndian, t0, t1);
            walChecksum(bytes.constData() + 24, pageSize, bigEndian, t0, t1);
            if (ours && t0 == word(bytes, 16) && t1 == word(bytes, 20)) {
                s0 = t0;
                s1 = t1;
            } else {
                damagedFrame = frame;
            }
        } else if (ours && commits) {
            return QStringLiteral("frame %1 of its write-ahead log is damaged, and SQLite drops the committed "
                                  "transactions after it")
                .arg(damagedFrame + 1);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> walDamage(const QString &walPath)
{
    // Another process may be writing a frame, or starting the log afresh, while it is read: what
    // is damaged must read the same twice running.
    std::optional<QString> before = scanWal(walPath);
    for (int reading = 0; before && reading < 5; ++reading) {
        QThread::msleep(20);
        std::optional<QString> now = scanWal(walPath);
        if (now == before)
            return now;
        before = std::move(now);
    }
    return std::nullopt;
}

QStringList integrityProblems(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA integrity_check(3)")))
        return {query.lastError().text()};
    QStringList problems;
    while (query.next()) {
        // A row may hold several lines, the first naming the database ("*** in database main ***").
        for (const QString &line : query.value(0).toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line != QLatin1String("ok") && !line.startsWith(QLatin1String("***")) && problems.size() < 3)
                problems.append(line.trimmed());
        }
    }
    if (query.lastError().isValid())
        problems.append(query.lastError().text());
    return problems;
}

QStringList setAsideLedgers(const QString &databasePath)
{
    const QFileInfo ledger(databasePath);
    QStringList found;
    for (const QString &name : ledger.dir().entryList({ledger.fileName() + QStringLiteral(".damaged-*")},
                                                      QDir::Files | QDir::Hidden, QDir::Name)) {
        if (!name.endsWith(QLatin1String("-wal")) && !name.endsWith(QLatin1String("-shm")))
            found.append(name);
    }
    return found;
}

QString setLedgerAside(const QString &databasePath)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = QStringLiteral("%1.damaged-%2").arg(databasePath, stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.damaged-%2-%3").arg(databasePath, stamp).arg(n);
    if (!QFile::rename(databasePath, aside))
        return {};
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString journal = databasePath + QLatin1String(suffix);
        if (QFileInfo::exists(journal))
            QFile::rename(journal, aside + QLatin1String(suffix));
    }
    return aside;
}

QStringList unrecordedArchiveFiles(const QStringList &filesHere, const QList<LedgerEntry> &entries)
{
    QSet<QString> named;
    for (const LedgerEntry &entry : entries)
        named.insert(entry.archiveName);
    QStringList unrecorded;
    for (const QString &file : filesHere) {
        if (!named.contains(file))
            unrecorded.append(file);
    }
    return unrecorded;
}

} // namespace seikyu
