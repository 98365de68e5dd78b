#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace seikyu {

/// The first character of the text that could not be kept exactly as given: the noncharacter
/// U+FFFE, the byte order mark U+FEFF (which readers drop unasked) or half of a surrogate pair
/// (which no file or database can store); its position, or nothing when every character can be kept.
std::optional<qsizetype> unkeptCharacterAt(QStringView text);

/// How such a character is named to the user: "U+FFFE", "U+FEFF", "an unpaired surrogate (U+D800)".
QString unkeptCharacterName(QChar c);

/// A text of a JSON document holding such a character, with the member that holds it.
struct UnkeptText
{
    QString member;  ///< "whom", or "item 3 name" for a row's member
    QString problem; ///< unkeptCharacterName of the first such character
};

/// Looks through every string of the JSON as written, \u escapes and surrogates written as UTF-8
/// bytes included: a parser would already have paired a lone "\ud800" with what comes after it,
/// or refused the bytes as no text without saying where.
std::optional<UnkeptText> findUnkeptText(const QByteArray &json);

} // namespace seikyu
