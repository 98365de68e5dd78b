#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace seikyu {

/// A date typed as a search condition: 2026-11-01, 2026/11/01 or 2026.11.01, in half-width or
/// full-width characters (２０２６／１１／０１). Nothing, with `ok` true, for blank text; nothing,
/// with `ok` false, for anything else.
std::optional<QDate> readFilterDate(const QString &text, bool *ok);
/// An amount typed as a search condition, read as the invoice's cells are read (100000, 100,000,
/// ¥100,000, １０００００). Nothing, with `ok` true, for blank text; `ok` false when it holds no digit.
std::optional<qint64> readFilterAmount(const QString &text, bool *ok);

} // namespace seikyu
