// The part of IssueLedger that serves an office's ledger on a PostgreSQL server.
#include "ledger/IssueLedger.h"
#include "ledger/LedgerLocation.h"
#include "ledger/RecordingPlace.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QSettings>
#include <QTimer>

namespace seikyu {

namespace {

/// The texts of this file share one translation context, declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(IssueLedger)
};

} // namespace

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
    return store.check(archiveFolder(), shared() ? recordingHostName() : QString(), error);
}

std::optional<QString> IssueLedger::recordShared(LedgerEntry entry, const QString &pdfPath)
{
    QString reason;
    if (!pdfPath.isEmpty() && !archivePdf(pdfPath, entry, &reason)) {
        failed(reason);
        return takeMessage();
    }
    const SharedRecording recording = m_shared->record(entry);
    tellRefused(recording.refused);
    if (!recording.entry) {
        if (!recording.keptAside)
            failed(recording.error);
        return takeMessage();
    }
    if (recording.waiting) {
        if (!m_toldFailure) {
            m_toldFailure = true;
            m_pending = Text::tr("The ledger's server does not answer. This invoice waits on this computer and is sent "
                                 "to the ledger when the server answers again; nothing is lost if Seikyu is closed.");
        }
    } else {
        m_lastRecorded = recording.entry;
    }
    return takeMessage();
}

} // namespace seikyu
