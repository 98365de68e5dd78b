#pragma once

#include "customers/CustomerCsv.h"

class QWidget;

namespace seikyu {

/// The lines a customer list's reading left out, for a message.
QString describeSkippedLines(const QList<SkippedLine> &skipped);

/// Shows what a customer list holds (each customer's name, reading, address and terms, the lines
/// left out and the columns not read) and asks whether to add them; true on Add.
bool confirmCustomerImport(QWidget *parent, const CustomerImport &read);

} // namespace seikyu
