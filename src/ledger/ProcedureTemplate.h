#pragma once

#include <QDate>
#include <QString>

namespace seikyu {

/// 電子取引データの訂正及び削除の防止に関する事務処理規程: the rules a business keeps beside
/// an electronic ledger without certified timestamps, filled in from an issuer entry (postal
/// code, address, name, phone, bank, registration number, one per line) and the day it takes
/// effect. A Japanese legal text for the Japanese tax office, so never translated.
QString procedureTemplate(const QString &issuerEntry, const QDate &effective);

} // namespace seikyu
