#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace seikyu {

class UpdateNotice;

/// The optional start-up check for a newer published version. When the per-user setting "NU" is
/// non-zero, start() fetches the update file in the background and brings up an UpdateNotice when
/// this application has a newer version for this machine. Every failure ends quietly.
class UpdateChecker : public QObject
{
    Q_OBJECT

public:
    /// The per-user setting that switches the check on: an integer, non-zero on, absent meaning off.
    static constexpr QLatin1String SettingKey{"NU"};
    /// The whole download, including an unresponsive server, ends after this long.
    static constexpr int DefaultTimeoutMs = 30'000;
    /// A larger update file is not one; the download stops there.
    static constexpr qint64 MaxUpdateFileSize = 1024 * 1024;

    explicit UpdateChecker(QObject *parent = nullptr);
    ~UpdateChecker() override;

    /// Product page base URL (ending in "/"); the update file is its "xapp.json".
    QString baseUrl() const { return m_baseUrl; }
    void setBaseUrl(const QString &baseUrl) { m_baseUrl = baseUrl; }
    int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }

    /// Starts one check, unless "NU" is 0 or absent or a check is still running. Returns at once.
    void start();

    /// The notice window once a check has shown it, else nullptr. Owned by the checker.
    UpdateNotice *notice() const { return m_notice.get(); }

Q_SIGNALS:
    /// A check has ended; \a shown tells whether it brought up the notice. Also sent, on the next
    /// turn of the event loop, when start() does not fetch anything.
    void finished(bool shown);

private:
    void receive(QNetworkReply *reply);
    /// Appends what \a reply has buffered; false once the file is known to exceed the cap.
    bool takeData(QNetworkReply *reply);
    void conclude(QNetworkReply *reply);

    QString m_baseUrl;
    int m_timeoutMs = DefaultTimeoutMs;
    QNetworkAccessManager *m_network;
    QNetworkReply *m_reply = nullptr;
    QByteArray m_received;
    std::unique_ptr<UpdateNotice> m_notice;
};

} // namespace seikyu
