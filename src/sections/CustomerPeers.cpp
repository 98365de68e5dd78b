#include "sections/CustomerPeers.h"

#include <QSettings>
#include <QVariantMap>

namespace seikyu {

namespace {
// One map rather than a key per customer: names hold slashes and other marks settings keys cannot.
const QString PeersKey = QStringLiteral("peers");
} // namespace

QVariantMap storedPeers()
{
    return QSettings().value(PeersKey).toMap();
}

QString storedPeerOf(const QString &customerEntry)
{
    return storedPeers().value(customerEntry).toString();
}

void storePeer(const QString &customerEntry, const QString &peer)
{
    if (customerEntry.isEmpty())
        return;
    QSettings settings;
    QVariantMap peers = settings.value(PeersKey).toMap();
    if (peer.isEmpty())
        peers.remove(customerEntry);
    else
        peers.insert(customerEntry, peer);
    settings.setValue(PeersKey, peers);
}

} // namespace seikyu
