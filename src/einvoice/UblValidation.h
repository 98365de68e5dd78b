#pragma once

#include <QByteArray>
#include <QStringList>

namespace seikyu {

/// What libxml2 finds wrong with the document against the UBL 2.1 Invoice schema, one message
/// each; empty when it is well-formed and valid. The schema ships inside the program and is
/// compiled once per process, on the first call.
QStringList ublViolations(const QByteArray &xml);

/// Whether the schema shipped with the program compiles (it is compiled now if it was not yet).
bool ublSchemaCompiles();

} // namespace seikyu
