#include "ledger/ServerWatch.h"

#include "ledger/ServerLedger.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>
#include <algorithm>

namespace seikyu {

namespace {

/// How long a look's answer lets the user's thread connect without looking again.
constexpr int FreshAnswerMs = 10 * 1000;

/// Looks that outlived their watch, waited for when the application quits: a thread still inside
/// Qt SQL must not meet its teardown.
QList<QPointer<QThread>> &orphanedLooks()
{
    static QList<QPointer<QThread>> looks;
    return looks;
}

void waitForOrphanedLooks()
{
    for (const QPointer<QThread> &look : std::as_const(orphanedLooks())) {
        if (look)
            look->wait();
    }
    orphanedLooks().clear();
}

} // namespace

ServerWatch::ServerWatch(QString connectionText, QObject *parent)
    : QObject(parent), m_connectionText(std::move(connectionText))
{
    m_nextLook.setSingleShot(true);
    QObject::connect(&m_nextLook, &QTimer::timeout, this, &ServerWatch::startLook);
}

ServerWatch::~ServerWatch()
{
    if (!lookRunning())
        return;
    if (QCoreApplication::closingDown() || !QCoreApplication::instance()) {
        m_look->wait();
        return;
    }
    // A watch replaced while its server is silent (the user chose another) does not wait for it.
    QThread *look = m_look.release();
    QObject::connect(look, &QThread::finished, look, &QObject::deleteLater);
    if (look->isFinished()) {
        delete look; // a deleteLater posted meanwhile goes with it
        return;
    }
    static const bool waitedForAtQuit = [] {
        qAddPostRoutine(waitForOrphanedLooks);
        return true;
    }();
    Q_UNUSED(waitedForAtQuit)
    orphanedLooks().removeAll(nullptr);
    orphanedLooks().append(look);
}

bool ServerWatch::lookRunning() const
{
    return m_look && m_look->isRunning();
}

bool ServerWatch::mayConnect()
{
    if (m_patient)
        return true;
    if (m_lastAnswer.isValid() && m_lastAnswer.elapsed() < FreshAnswerMs)
        return true;
    if (m_silent)
        return false; // a look is on its way, or waits for its turn
    startLook();
    if (!m_look->wait(QDeadlineTimer(BriefWaitMs))) {
        // Silent: the look goes on by itself and says when the server answers.
        m_silent = true;
        m_pauseMs = FirstPauseMs;
        return false;
    }
    takeLook(false);
    // Answered, one way or the other: a refusal comes as promptly on this thread, and says why.
    return true;
}

void ServerWatch::connected()
{
    m_silent = false;
    m_nextLook.stop();
    m_pauseMs = FirstPauseMs;
}

void ServerWatch::failed()
{
    m_lastAnswer.invalidate();
    if (m_patient)
        return;
    if (!m_silent) {
        m_silent = true;
        m_pauseMs = FirstPauseMs;
    }
    if (!lookRunning() && !m_nextLook.isActive())
        pauseBeforeLooking();
}

void ServerWatch::pauseBeforeLooking()
{
    m_nextLook.start(m_pauseMs);
    m_pauseMs = std::min(m_pauseMs * 2, LongestPauseMs);
}

void ServerWatch::startLook()
{
    if (lookRunning())
        return;
    if (m_look) {
        takeLook(false); // finished while nobody waited for its report
        m_look.reset();
    }
    m_lookConnected = std::make_shared<std::atomic<bool>>(false);
    m_lookUntaken = true;
    m_look.reset(QThread::create([found = m_lookConnected, text = m_connectionText] { *found = serverAnswers(text); }));
    // Queued to this thread: the look's report is taken in where the ledger is used.
    QObject::connect(m_look.get(), &QThread::finished, this, [this] {
        if (!lookRunning())
            takeLook(true);
    });
    m_look->start();
}

void ServerWatch::takeLook(bool announce)
{
    if (!m_lookUntaken)
        return;
    m_lookUntaken = false;
    if (!*m_lookConnected) {
        m_lastAnswer.invalidate();
        if (m_silent && !m_nextLook.isActive())
            pauseBeforeLooking();
        return;
    }
    m_lastAnswer.start();
    if (m_silent) {
        m_silent = false;
        m_nextLook.stop();
        m_pauseMs = FirstPauseMs;
        if (announce)
            Q_EMIT answered();
    }
}

} // namespace seikyu
