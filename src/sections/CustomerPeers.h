#pragma once

#include <QString>
#include <QVariantMap>

namespace seikyu {

/// The electronic address (Peppol ID) kept with each saved customer, by the customer's entry, in
/// the per-user settings beside the customer list.
QString storedPeerOf(const QString &customerEntry);
/// Every customer entry's address, by the entry.
QVariantMap storedPeers();

/// Keeps the address with the customer entry; an empty address forgets it.
void storePeer(const QString &customerEntry, const QString &peer);

} // namespace seikyu
