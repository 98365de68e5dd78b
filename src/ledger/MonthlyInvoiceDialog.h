#pragma once

#include "ledger/MonthlyInvoice.h"

#include <optional>

class QWidget;

namespace seikyu {

/// Asks whom and which closing period a month's statement is for (the period the customer's closing
/// day last ended, by default) and whether to list each slip's items, then makes it. A statement that
/// cannot be made is told and the question stays, so another period or customer can be given.
/// Nothing when the user cancels.
std::optional<MonthlyOutcome> askMonthlyInvoice(QWidget *parent, MonthlyRequest request);

} // namespace seikyu
