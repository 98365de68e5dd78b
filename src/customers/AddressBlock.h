#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// Whom an invoice goes to, as the address block in an envelope's window names them.
struct Addressee
{
    QString postalCode;    ///< "100-0001"; empty when there is none
    QStringList address;   ///< the address in one or two lines
    QString company;       ///< the customer's name
    bool personal = false; ///< the customer is a person (様), not a company (御中)
    QString department;    ///< 部署; empty when there is none
    QString attention;     ///< the contact person, with their title in front: "経理部長 山田太郎"
};

/// The address block's lines, top to bottom: 〒 and the postal code, the address, the company, the
/// department and the person. Honorifics follow Japanese usage: the last line alone carries one; a
/// named person takes 様 and the company and department lines then none; a department or a company
/// alone takes 御中 (or 様, for a customer who is a person). Never 御中 and 様 together: an
/// honorific typed into a field is not doubled.
QStringList addressBlockLines(const Addressee &addressee);

/// The text without the honorific it ends with (御中, 様, 殿, 各位), and without spaces around it.
QString withoutHonorific(const QString &text);

/// A postal code as the page writes it, "100-0001", from seven digits typed in any width, with or
/// without 〒 and a hyphen (－, ‐, ー); an empty text is no code (""). Nothing for anything else.
std::optional<QString> normalizedPostalCode(const QString &typed);

} // namespace seikyu
