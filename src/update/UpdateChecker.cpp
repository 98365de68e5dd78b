#include "update/UpdateChecker.h"

#include "update/UpdateDecision.h"
#include "update/UpdateNotice.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>
#include <QTimer>

namespace seikyu {

UpdateChecker::UpdateChecker(QObject *parent)
    : QObject(parent), m_baseUrl(QString::fromUtf8(SEIKYU_PRODUCT_URL)), m_network(new QNetworkAccessManager(this))
{}

// The notice is a top-level window the checker owns; defined here where UpdateNotice is complete.
UpdateChecker::~UpdateChecker() = default;

void UpdateChecker::start()
{
    if (m_reply)
        return;
    const QSettings settings;
    if (settings.value(SettingKey).toLongLong() == 0) {
        QTimer::singleShot(0, this, [this] { Q_EMIT finished(false); });
        return;
    }

    QNetworkRequest request(QUrl(m_baseUrl + QLatin1String("xapp.json")));
    request.setTransferTimeout(m_timeoutMs);
    m_received.clear();
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, [this, reply = m_reply] { receive(reply); });
    connect(m_reply, &QNetworkReply::finished, this, [this, reply = m_reply] { conclude(reply); });
    // The transfer time-out only notices silence; this also ends a server that trickles forever.
    QTimer::singleShot(m_timeoutMs, m_reply, [reply = m_reply] { reply->abort(); });
}

void UpdateChecker::receive(QNetworkReply *reply)
{
    if (reply == m_reply && !takeData(reply))
        reply->abort();
}

bool UpdateChecker::takeData(QNetworkReply *reply)
{
    // Reading one byte past the cap is enough to know the file is too large.
    m_received += reply->read(MaxUpdateFileSize + 1 - m_received.size());
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    return announced <= MaxUpdateFileSize && m_received.size() <= MaxUpdateFileSize;
}

void UpdateChecker::conclude(QNetworkReply *reply)
{
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
    const bool complete = reply->error() == QNetworkReply::NoError && takeData(reply);
    const bool wanted = complete && updateNoticeWanted(m_received, QCoreApplication::applicationName(),
                                                       QCoreApplication::applicationVersion(), osVersionNumber());
    m_received.clear();
    if (wanted) {
        if (!m_notice)
            m_notice = std::make_unique<UpdateNotice>(m_baseUrl);
        m_notice->present();
    }
    Q_EMIT finished(wanted);
}

} // namespace seikyu
