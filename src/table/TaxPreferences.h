#pragma once

#include "table/Amounts.h"

namespace seikyu {

/// The user's choices for the consumption tax of new invoices, kept in the per-user settings.
struct TaxPreferences
{
    /// The rate a new invoice starts with: 10 %, the standard rate since October 2019, unless the
    /// user chose 8 %, the rate invoices of earlier versions always used (and still open with).
    int rate = 10;
    /// How each rate's tax is rounded to whole yen.
    TaxRounding rounding = TaxRounding::HalfAwayFromZero;

    /// The stored choices; anything missing or damaged reads as the default.
    static TaxPreferences load();
    void save() const;
};

} // namespace seikyu
