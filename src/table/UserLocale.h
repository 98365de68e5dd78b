#pragma once

#include <QString>

namespace seikyu {

/// The locale name ("ja_JP") that amounts and dates are written in: the user's. A system without
/// a locale (the "C" locale of servers and scripts) gets Japanese, the language of the invoice.
QString userLocaleName();

} // namespace seikyu
