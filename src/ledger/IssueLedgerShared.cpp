// The part of IssueLedger that serves an office's ledger on a PostgreSQL server.
#include "ledger/IssueLedger.h"
#include "ledger/LedgerHealth.h"
#include "ledger/LedgerLocation.h"
#include "ledger/RecordingPlace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QSettings>
#include <QTimer>

namespace seikyu {

QString IssueLedger::outboxPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("ledger-outbox.sqlite"));
}

SharedLedger *IssueLedger::shared()
{
    const LedgerLocation location = ledgerLocation(QSettings());
    if (location.place != LedgerPlace::Shared) {
        m_shared.reset();
        return nullptr;
    }
    if (m_shared && m_sharedText == location.server)
        return m_shared.get();
    m_shared.reset();
    QString reason;
    std::unique_ptr<LedgerOutbox> outbox = LedgerOutbox::open(outboxPath(), &reason);
    if (!outbox) {
        failed(reason);
        return nullptr;
    }
    m_sharedText = location.server;
    m_shared = std::make_unique<SharedLedger>(location.server, std::move(outbox));
    m_shared->setAnchorFile(anchorPath());
    m_shared->watch().setPatient(m_waitsForServer);
    // What waits goes as soon as the server answers again, without anyone exporting meanwhile.
    static QPointer<QTimer> retry;
    if (!retry && QCoreApplication::instance()) {
        retry = new QTimer(QCoreApplication::instance());
        retry->setInterval(60 * 1000);
        QObject::connect(retry, &QTimer::timeout, [] {
            if (SharedLedger *office = instance().shared(); office && office->waitingCount() > 0)
                instance().tellRefused(office->sendWaiting().refused);
        });
        retry->start();
    }
    return m_shared.get();
}

void IssueLedger::tellRefused(const QStringList &refused)
{
    // Each refusal is told, however many: each is something the user did that the ledger lacks.
    for (const QString &said : refused)
        m_pending = m_pending.isEmpty() ? said : m_pending + QLatin1Char('\n') + said;
}

LedgerCheck IssueLedger::verify(LedgerStore &store, QString *error)
{
    // Each computer archives the PDFs it issues in its own folder.
    SharedLedger *office = shared();
    LedgerCheck found = store.check(archiveFolder(), office ? recordingHostName() : QString(), error);
    QSet<QString> waiting; // archived copies whose entries wait in the outbox
    if (office) {
        for (const LedgerEntry &entry : office->outbox().waiting())
            waiting.insert(entry.archiveName);
    }
    for (const QString &name : std::as_const(found.unrecorded)) {
        if (!waiting.contains(name))
            found.problems.append({ChainProblem::Kind::Unrecorded, 0, name, {}});
    }
    if (!office)
        found.problems = fileProblems() + found.problems;
    return found;
}

QList<ChainProblem> IssueLedger::fileProblems()
{
    QList<ChainProblem> problems;
    const QString path = QDir::toNativeSeparators(databasePath());
    if (const std::optional<QString> wal = walDamage(databasePath() + QStringLiteral("-wal"))) {
        problems.append({ChainProblem::Kind::Damaged, 0, path + QStringLiteral("-wal"), *wal});
    } else if (QFileInfo::exists(databasePath())) {
        // The file itself, not the copy an older ledger may be read through.
        QString reason;
        std::unique_ptr<LedgerStore> file =
            LedgerStore::openSqlite(databasePath(), nullptr, &reason, LedgerAccess::ReadOnly);
        const QStringList damage = file ? integrityProblems(file->database()) : QStringList{reason};
        if (!damage.isEmpty())
            problems.append({ChainProblem::Kind::Damaged, 0, path, damage.join(QStringLiteral("; "))});
    }
    for (const QString &aside : setAsideLedgers(databasePath()))
        problems.append({ChainProblem::Kind::SetAside, 0, QDir(m_folder).filePath(aside), {}});
    return problems;
}

} // namespace seikyu
