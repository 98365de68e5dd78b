#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

class QThread;

namespace seikyu {

/// Whether the shared ledger's server answers, found out on a thread of its own, so that a host
/// that does not answer never holds up the thread the user works on: libpq waits for a silent
/// host up to its connect_timeout, and the look does that waiting instead.
///
/// Before connecting, the user's thread asks mayConnect(). A look is started and waited for only
/// briefly: a server that answers in that time (yes or no) may be connected to. A silent one is
/// left alone; looks go on in the background, each after a longer pause, and answered() is
/// emitted when one of them gets an answer.
class ServerWatch : public QObject
{
    Q_OBJECT

public:
    /// How long the user's thread waits for a look before it takes the server for silent.
    static constexpr int BriefWaitMs = 600;
    /// The pauses between looks at a silent server, growing from the first to the longest.
    static constexpr int FirstPauseMs = 2000;
    static constexpr int LongestPauseMs = 60 * 1000;

    explicit ServerWatch(QString connectionText, QObject *parent = nullptr);
    /// A look in progress finishes by itself (the application waits for it when it quits).
    ~ServerWatch() override;

    /// A command line has nobody to keep waiting: it connects directly, as long as libpq takes.
    void setPatient(bool patient) { m_patient = patient; }

    /// Whether the user's thread may connect now: the server answered a look just now, or
    /// answers one within the brief wait. False, at once, while the server is silent.
    bool mayConnect();
    /// A connection on the user's thread succeeded.
    void connected();
    /// Nothing answered a connection on the user's thread, or one in use was lost: the server is
    /// taken for silent until a look sees it answer.
    void failed();
    /// Silent: the user's thread does not connect until a look sees the server answer.
    bool silent() const { return m_silent; }

Q_SIGNALS:
    /// A look saw the silent server answer again.
    void answered();

private:
    void startLook();
    bool lookRunning() const;
    /// Takes in the result of the finished look, once.
    void takeLook(bool announce);
    void pauseBeforeLooking();

    QString m_connectionText;
    bool m_patient = false;
    bool m_silent = false;
    int m_pauseMs = FirstPauseMs;
    QElapsedTimer m_lastAnswer; ///< since a look last got a connection
    QTimer m_nextLook;
    std::unique_ptr<QThread> m_look;
    bool m_lookUntaken = false;
    /// What the look found, written by its thread; shared, as the look may outlive the watch.
    std::shared_ptr<std::atomic<bool>> m_lookConnected;
};

} // namespace seikyu
