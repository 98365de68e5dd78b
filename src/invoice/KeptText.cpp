#include "invoice/KeptText.h"

#include <QCoreApplication>
#include <QList>

namespace seikyu {

std::optional<qsizetype> unkeptCharacterAt(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() == 0xFFFE || c.unicode() == 0xFEFF)
            return i;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return i;
    }
    return std::nullopt;
}

QString unkeptCharacterName(QChar c)
{
    const QString code = QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    if (c.isSurrogate())
        return QCoreApplication::translate("InvoiceFile", "an unpaired surrogate (%1)").arg(code);
    return code;
}

namespace {

/// A string of the document as its UTF-16 units, each \u escape a unit of its own.
QString decodedString(const QByteArray &json, qsizetype begin, qsizetype end)
{
    QString units;
    qsizetype plain = begin;
    auto flush = [&](qsizetype upTo) {
        // An escape cut short by the string's end leaves `plain` past it: nothing more to add.
        if (upTo > plain)
            units += QString::fromUtf8(json.constData() + plain, upTo - plain);
    };
    for (qsizetype i = begin; i < end; ++i) {
        const auto byte = [&](qsizetype at) { return at < end ? static_cast<unsigned char>(json[at]) : 0; };
        const unsigned char lead = byte(i);
        if ((lead == 0xED || lead == 0xEF) && (byte(i + 1) & 0xC0) == 0x80 && (byte(i + 2) & 0xC0) == 0x80) {
            // Decoded by hand: a decoder drops a byte order mark at the start of what it is given,
            // and turns half of a pair written as UTF-8 bytes of its own into U+FFFD.
            flush(i);
            units += QChar(char16_t(((lead & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F)));
            i += 2;
            plain = i + 1;
            continue;
        }
        if (json[i] != '\\')
            continue;
        flush(i);
        const char escaped = char(byte(i + 1));
        if (escaped == 'u') {
            units += QChar(char16_t(json.mid(i + 2, 4).toUShort(nullptr, 16)));
            i += 5;
        } else {
            static const QByteArray from = "bfnrt";
            static const QByteArray to = "\b\f\n\r\t";
            const qsizetype at = from.indexOf(escaped);
            units += QLatin1Char(at >= 0 ? to[at] : escaped);
            i += 1;
        }
        plain = i + 1;
    }
    flush(end);
    return units;
}

struct Container
{
    bool object = false;
    QString key;         ///< the member being read, in an object
    qsizetype index = 0; ///< the element being read, in an array
};

QString memberPath(const QList<Container> &open)
{
    QStringList parts;
    for (const Container &c : open)
        parts.append(c.object ? c.key : QString::number(c.index));
    return parts.join(QLatin1Char(' '));
}

} // namespace

std::optional<UnkeptText> findUnkeptText(const QByteArray &json)
{
    QList<Container> open;
    const qsizetype size = json.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = json[i];
        if (c == '{' || c == '[') {
            open.append({c == '{', {}, 0});
        } else if (c == '}' || c == ']') {
            if (!open.isEmpty())
                open.removeLast();
        } else if (c == ',' && !open.isEmpty() && !open.last().object) {
            ++open.last().index;
        } else if (c == '"') {
            // Only a string with an escape, a UTF-8 sequence that starts with EF (U+F000 to U+FFFF)
            // or one that starts with ED (where surrogates would be) can hold what is looked for:
            // the others are passed over without decoding.
            const qsizetype begin = i + 1;
            bool suspect = false;
            for (++i; i < size && json[i] != '"'; ++i) {
                if (json[i] == '\\') {
                    suspect = true;
                    ++i;
                } else if (static_cast<unsigned char>(json[i]) == 0xEF || static_cast<unsigned char>(json[i]) == 0xED) {
                    suspect = true;
                }
            }
            qsizetype next = i + 1;
            while (next < size && QChar::isSpace(static_cast<unsigned char>(json[next])))
                ++next;
            const bool isKey = next < size && json[next] == ':' && !open.isEmpty() && open.last().object;
            if (isKey) {
                open.last().key = decodedString(json, begin, i);
            } else if (suspect) {
                const QString text = decodedString(json, begin, i);
                if (const auto at = unkeptCharacterAt(text))
                    return UnkeptText{memberPath(open), unkeptCharacterName(text[*at])};
            }
        }
    }
    return std::nullopt;
}

} // namespace seikyu
