#pragma once

#include "ledger/LedgerEntry.h"

#include <QByteArray>
#include <optional>

namespace seikyu {

/// An entry not yet recorded, as the outbox keeps it: every fact of it, and who made it where.
/// The id, hashes and derived columns are left out; the ledger gives them when it records.
QByteArray entryToJson(const LedgerEntry &entry);
/// The entry of a text entryToJson wrote; nothing for text that is not such an object.
std::optional<LedgerEntry> entryFromJson(const QByteArray &json);

} // namespace seikyu
