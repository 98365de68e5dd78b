#pragma once

#include "invoice/Invoice.h"

#include <QStringList>
#include <QStringView>
#include <optional>

namespace seikyu {

/// The position of the first character XML 1.0 cannot carry, escaped or not: control characters
/// other than tab, line feed and carriage return, U+FFFE, U+FFFF and halves of surrogate pairs;
/// nothing when the text can be written whole.
std::optional<qsizetype> firstUncarriableInXml(QStringView text);

/// What in the invoice an e-invoice cannot state as it is, one sentence per member, naming it: a
/// text it states (customer, issuer, number, remarks, address, rows) with a character XML cannot
/// carry, an invoice or due date outside the years 0001–9999.
QStringList uncarriableInXml(const Invoice &invoice);

} // namespace seikyu
