#pragma once

#include <QString>

namespace seikyu {

/// A party's electronic address on the Peppol network: a scheme and the identifier under it,
/// written "0188:1234567890123" (法人番号) or "0221:T1234567890123" (登録番号).
struct PeppolId
{
    QString scheme;     ///< "0188" or "0221"
    QString identifier; ///< 13 digits, or T and 13 digits
    bool isEmpty() const { return scheme.isEmpty(); }
    QString text() const { return isEmpty() ? QString() : scheme + QLatin1Char(':') + identifier; }
};

/// The electronic-address schemes Japanese businesses are reached by.
inline constexpr char16_t CorporateNumberScheme[] = u"0188";
inline constexpr char16_t RegistrationNumberScheme[] = u"0221";

/// What a typed electronic address is, as the field tells its user while they type.
struct PeppolIdCheck
{
    enum class State {
        Empty,      ///< nothing typed: the customer has no address
        Incomplete, ///< could still become an address
        Invalid,    ///< cannot become one
        Valid,
    };
    State state = State::Empty;
    PeppolId id;    ///< the normalised address when valid
    QString reason; ///< for Incomplete and Invalid: what is wrong, for the user
};

/// Reads what was typed: full-width characters fold to ASCII, spaces and hyphens go, a lower case
/// t is T. "0188" takes 13 digits whose first is the corporate number's check digit; "0221" takes
/// T and 13 digits. A bare "T" and 13 digits is read as 0221, and bare 13 digits as 0188.
PeppolIdCheck checkPeppolId(const QString &typed);

} // namespace seikyu
