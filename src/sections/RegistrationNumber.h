#pragma once

#include <QString>
#include <optional>

namespace seikyu {

/// The number a qualified invoice (適格請求書) carries: "T" and 13 digits (登録番号).
///
/// What the user typed is normalised first: full-width letters and digits become ASCII, a lower
/// case t becomes T, and spaces and hyphens go. Empty text means the issuer has no number. Nothing
/// when the text is no registration number at all.
std::optional<QString> normalizedRegistrationNumber(const QString &typed);

/// Whether the 13 digits carry a corporation's check digit: the first digit is
/// 9 − (Σ Pn·Qn mod 9) over the other twelve, Pn the n-th digit counted from the right, Qn 1 for
/// odd n and 2 for even n. Individual businesses get numbers from the tax office that need not
/// follow it, so a mismatch is only worth a warning.
bool hasCorporateCheckDigit(const QString &number);

/// The registration number of an issuer entry (kept as its sixth line), or empty when it has none
/// or the line holds no registration number.
QString registrationNumberOf(const QString &issuerEntry);

/// The issuer entry as the page shows it: the registration number's line under its heading 登録番号.
QString issuerPageText(const QString &issuerEntry);

} // namespace seikyu
