#include "output/PdfTextRepair.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace seikyu {

namespace {

// Bounds that keep a broken or hostile file from making us recurse, loop or allocate without
// limit. Our own exports stay far below all of them.
constexpr int MaxNesting = 64;
constexpr int MaxXrefSections = 256;
constexpr qint64 MaxObjectNumber = 8'388'607; // the PDF implementation limit
constexpr qint64 MaxGeneration = 65'535;
constexpr qsizetype MaxCompressedMap = 1 << 20;
constexpr qint64 MaxRangeLength = 0x10000;

// Kangxi Radicals (U+2F00–U+2FDF) follow CJK Radicals Supplement (U+2E80–U+2EFF) directly.
constexpr char16_t RadicalsFirst = 0x2E80;
constexpr char16_t RadicalsLast = 0x2FDF;

struct Ref
{
    qint64 number = 0;
    qint64 generation = 0;
};

// Raw values by key; the views point into the PDF, which outlives every dictionary.
using Dict = QHash<QByteArray, QByteArrayView>;

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    return c != '\0' && std::string_view("()<>[]{}/%").find(c) != std::string_view::npos;
}

bool isRegular(char c)
{
    return !isSpace(c) && !isDelimiter(c);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Plain decimal integers only; 18 digits cannot overflow qint64.
std::optional<qint64> toInteger(QByteArrayView token, bool allowSign)
{
    qsizetype i = 0;
    bool negative = false;
    if (allowSign && !token.isEmpty() && (token[0] == '+' || token[0] == '-')) {
        negative = token[0] == '-';
        i = 1;
    }
    if (i == token.size() || token.size() - i > 18)
        return std::nullopt;
    qint64 value = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9')
            return std::nullopt;
        value = value * 10 + (token[i] - '0');
    }
    return negative ? -value : value;
}

// Just enough of the PDF / PostScript token syntax to walk dictionaries, cross-reference tables
// and CMaps. Every read either succeeds or leaves the position where it was.
class Lexer
{
public:
    explicit Lexer(QByteArrayView data, qsizetype pos = 0) : m_data(data), m_pos(pos) {}

    qsizetype pos() const { return m_pos; }
    char peek(qsizetype ahead = 0) const { return m_pos + ahead < m_data.size() ? m_data[m_pos + ahead] : '\0'; }
    bool atEnd()
    {
        skipSpace();
        return m_pos >= m_data.size();
    }

    void skipSpace()
    {
        while (m_pos < m_data.size()) {
            const char c = m_data[m_pos];
            if (c == '%') {
                while (m_pos < m_data.size() && m_data[m_pos] != '\n' && m_data[m_pos] != '\r')
                    ++m_pos;
            } else if (isSpace(c)) {
                ++m_pos;
            } else {
                break;
            }
        }
    }

    QByteArrayView regularToken()
    {
        skipSpace();
        const qsizetype start = m_pos;
        while (m_pos < m_data.size() && isRegular(m_data[m_pos]))
            ++m_pos;
        return m_data.sliced(start, m_pos - start);
    }

    bool keyword(QByteArrayView word)
    {
        const qsizetype start = m_pos;
        if (regularToken() == word)
            return true;
        m_pos = start;
        return false;
    }

    bool punctuation(char c)
    {
        skipSpace();
        if (peek() != c)
            return false;
        ++m_pos;
        return true;
    }

    std::optional<qint64> integer(bool allowSign = false)
    {
        const qsizetype start = m_pos;
        if (const auto value = toInteger(regularToken(), allowSign))
            return value;
        m_pos = start;
        return std::nullopt;
    }

    // Names are compared raw: the keys we look for never need #xx escapes.
    std::optional<QByteArray> name()
    {
        skipSpace();
        if (peek() != '/')
            return std::nullopt;
        const qsizetype start = ++m_pos;
        while (m_pos < m_data.size() && isRegular(m_data[m_pos]))
            ++m_pos;
        return m_data.sliced(start, m_pos - start).toByteArray();
    }

    std::optional<QByteArray> hexString()
    {
        skipSpace();
        if (peek() != '<' || peek(1) == '<')
            return std::nullopt;
        const qsizetype start = m_pos;
        QByteArray bytes;
        int high = -1;
        for (++m_pos; m_pos < m_data.size(); ++m_pos) {
            const char c = m_data[m_pos];
            if (c == '>') {
                ++m_pos;
                if (high >= 0)
                    bytes.append(char(high << 4));
                return bytes;
            }
            if (isSpace(c))
                continue;
            const int digit = hexDigit(c);
            if (digit < 0)
                break;
            if (high < 0) {
                high = digit;
            } else {
                bytes.append(char(high << 4 | digit));
                high = -1;
            }
        }
        m_pos = start;
        return std::nullopt;
    }

    std::optional<Dict> dict(int depth = 0)
    {
        skipSpace();
        if (depth > MaxNesting || peek() != '<' || peek(1) != '<')
            return std::nullopt;
        const qsizetype start = m_pos;
        m_pos += 2;
        Dict result;
        for (;;) {
            skipSpace();
            if (peek() == '>' && peek(1) == '>') {
                m_pos += 2;
                return result;
            }
            const auto key = name();
            if (!key)
                break;
            skipSpace();
            const qsizetype valueStart = m_pos;
            if (!skipValue(depth + 1))
                break;
            result.insert(*key, m_data.sliced(valueStart, m_pos - valueStart));
        }
        m_pos = start;
        return std::nullopt;
    }

    bool skipValue(int depth = 0)
    {
        skipSpace();
        if (depth > MaxNesting || m_pos >= m_data.size())
            return false;
        const qsizetype start = m_pos;
        bool ok = false;
        switch (const char c = m_data[m_pos]) {
        case '/':
            ok = name().has_value();
            break;
        case '<':
            ok = peek(1) == '<' ? dict(depth).has_value() : hexString().has_value();
            break;
        case '(':
            ok = skipLiteralString();
            break;
        case '[':
        case '{': // PostScript procedures, which a CMap may contain
            ok = skipSequence(c == '[' ? ']' : '}', depth);
            break;
        default:
            ok = isRegular(c);
            if (ok)
                skipNumberOrReference();
        }
        if (!ok)
            m_pos = start;
        return ok;
    }

private:
    bool skipLiteralString()
    {
        int open = 0;
        for (qsizetype i = m_pos; i < m_data.size(); ++i) {
            const char c = m_data[i];
            if (c == '\\') {
                ++i;
            } else if (c == '(') {
                ++open;
            } else if (c == ')' && --open == 0) {
                m_pos = i + 1;
                return true;
            }
        }
        return false;
    }

    bool skipSequence(char close, int depth)
    {
        ++m_pos;
        for (;;) {
            skipSpace();
            if (m_pos >= m_data.size())
                return false;
            if (peek() == close) {
                ++m_pos;
                return true;
            }
            if (!skipValue(depth + 1))
                return false;
        }
    }

    // "12 0 R" is one value, a reference; "12 0 7" is three numbers.
    void skipNumberOrReference()
    {
        const bool unsignedInteger = toInteger(regularToken(), false).has_value();
        const qsizetype afterFirst = m_pos;
        if (unsignedInteger && integer() && keyword("R"))
            return;
        m_pos = afterFirst;
    }

    QByteArrayView m_data;
    qsizetype m_pos;
};

std::optional<qint64> integerValue(QByteArrayView value)
{
    Lexer lexer(value);
    const auto result = lexer.integer(true);
    return result && lexer.atEnd() ? result : std::nullopt;
}

std::optional<Ref> refValue(QByteArrayView value)
{
    Lexer lexer(value);
    const auto number = lexer.integer();
    const auto generation = lexer.integer();
    if (!number || !generation || !lexer.keyword("R") || !lexer.atEnd())
        return std::nullopt;
    return Ref{*number, *generation};
}

// "/FlateDecode" or "[/FlateDecode]", the one encoding we read.
bool isFlateOnly(QByteArrayView filter)
{
    Lexer lexer(filter);
    const bool array = lexer.punctuation('[');
    return lexer.name() == "FlateDecode" && (!array || lexer.punctuation(']')) && lexer.atEnd();
}

// Where NFKC does not lead to the ideograph that a Japanese face draws with the radical's glyph:
// the Supplement radicals have no decomposition at all, and ⼾ ⿊ decompose to the traditional
// 戶 黑 while IPAex shares their glyphs with 戸 黒. Taken from the cmaps of IPAex Mincho and
// Gothic, which agree on every entry; the test derives the same pairs from the fonts again.
constexpr std::pair<char16_t, char32_t> SharedGlyphs[] = {
    {0x2E83, 0x4E5A},  // ⺃ 乚
    {0x2E85, 0x4EBB},  // ⺅ 亻
    {0x2E87, 0x20628}, // ⺇ 𠘨
    {0x2E89, 0x5202},  // ⺉ 刂
    {0x2E8E, 0x5140},  // ⺎ 兀
    {0x2E8F, 0x5C23},  // ⺏ 尣
    {0x2E90, 0x5C22},  // ⺐ 尢
    {0x2E92, 0x5DF3},  // ⺒ 巳
    {0x2E93, 0x5E7A},  // ⺓ 幺
    {0x2E94, 0x5F51},  // ⺔ 彑
    {0x2E96, 0x5FC4},  // ⺖ 忄
    {0x2E97, 0x38FA},  // ⺗ 㣺
    {0x2E98, 0x624C},  // ⺘ 扌
    {0x2E99, 0x6535},  // ⺙ 攵
    {0x2E9B, 0x65E1},  // ⺛ 旡
    {0x2E9E, 0x6B7A},  // ⺞ 歺
    {0x2EA0, 0x6C11},  // ⺠ 民
    {0x2EA1, 0x6C35},  // ⺡ 氵
    {0x2EA3, 0x706C},  // ⺣ 灬
    {0x2EA4, 0xFA49},  // ⺤ 爫
    {0x2EA6, 0x4E2C},  // ⺦ 丬
    {0x2EA8, 0x72AD},  // ⺨ 犭
    {0x2EAA, 0x24D14}, // ⺪ 𤴔
    {0x2EAB, 0x7F52},  // ⺫ 罒
    {0x2EAD, 0x793B},  // ⺭ 礻
    {0x2EB2, 0x7F52},  // ⺲ 罒
    {0x2EB9, 0x8002},  // ⺹ 耂
    {0x2EBD, 0x26951}, // ⺽ 𦥑
    {0x2EBE, 0x8279},  // ⺾ 艹
    {0x2EBF, 0xFA5E},  // ⺿ 艹
    {0x2EC0, 0xFA5D},  // ⻀ 艹
    {0x2EC1, 0x864E},  // ⻁ 虎
    {0x2EC2, 0x8864},  // ⻂ 衤
    {0x2EC3, 0x8980},  // ⻃ 覀
    {0x2EC4, 0x897F},  // ⻄ 西
    {0x2ECA, 0x27FB7}, // ⻊ 𧾷
    {0x2ECC, 0xFA66},  // ⻌ 辶
    {0x2ECD, 0x8FB6},  // ⻍ 辶
    {0x2ECF, 0x961D},  // ⻏ 阝
    {0x2ED1, 0x9577},  // ⻑ 長
    {0x2ED2, 0x9578},  // ⻒ 镸
    {0x2ED6, 0x961D},  // ⻖ 阝
    {0x2ED8, 0x9752},  // ⻘ 青
    {0x2EDE, 0x2967F}, // ⻞ 𩙿
    {0x2EDF, 0x98E0},  // ⻟ 飠
    {0x2EE4, 0x9B3C},  // ⻤ 鬼
    {0x2EE8, 0x9EA6},  // ⻨ 麦
    {0x2EE9, 0x9EC4},  // ⻩ 黄
    {0x2EEB, 0x6589},  // ⻫ 斉
    {0x2EED, 0x6B6F},  // ⻭ 歯
    {0x2EEF, 0x7ADC},  // ⻯ 竜
    {0x2EF2, 0x4E80},  // ⻲ 亀
    {0x2F3E, 0x6238},  // ⼾ 戸
    {0x2FCA, 0x9ED2},  // ⿊ 黒
};

// The ideograph that a radical's shared glyph really stands for, or 0 for anything else.
char32_t ideographFor(char16_t unit)
{
    static const auto table = [] {
        std::array<char32_t, RadicalsLast - RadicalsFirst + 1> result{};
        for (char16_t c = RadicalsFirst; c <= RadicalsLast; ++c) {
            const QString ideograph = QString(QChar(c)).normalized(QString::NormalizationForm_KC);
            if (ideograph.size() == 1 && ideograph[0].unicode() != c)
                result[c - RadicalsFirst] = ideograph[0].unicode();
        }
        for (const auto &[radical, ideograph] : SharedGlyphs)
            result[radical - RadicalsFirst] = ideograph;
        return result;
    }();
    return unit >= RadicalsFirst && unit <= RadicalsLast ? table[unit - RadicalsFirst] : 0;
}

QByteArray hexText(const QString &text)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    QByteArray hex;
    hex.reserve(text.size() * 4 + 2);
    hex += '<';
    for (const QChar unit : text) {
        for (int shift = 12; shift >= 0; shift -= 4)
            hex += Digits[unit.unicode() >> shift & 0xF];
    }
    return hex + '>';
}

QString fromUtf16BigEndian(const QByteArray &bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(quint8(bytes[2 * i]) << 8 | quint8(bytes[2 * i + 1])));
    return text;
}

// The text with its radicals replaced, or nothing when it has none.
std::optional<QString> withIdeographs(const QString &text)
{
    QString result;
    bool changed = false;
    for (const QChar unit : text) {
        if (const char32_t ideograph = ideographFor(unit.unicode())) {
            result += QString::fromUcs4(&ideograph, 1);
            changed = true;
        } else {
            result += unit;
        }
    }
    return changed ? std::optional<QString>(result) : std::nullopt;
}

struct Edit
{
    qsizetype begin;
    qsizetype end;
    QByteArray text;
};

// A destination string with its radicals replaced, or nothing when it needs no change. Odd byte
// counts are not UTF-16 and are left for the reader to judge.
std::optional<QByteArray> fixedDestination(const QByteArray &destination)
{
    if (destination.size() % 2 != 0)
        return std::nullopt;
    const auto fixed = withIdeographs(fromUtf16BigEndian(destination));
    return fixed ? std::optional<QByteArray>(hexText(*fixed)) : std::nullopt;
}

// "<lo> <hi> <dst>" maps lo..hi to dst, dst+1, … (the last code unit counts up). Once a radical in
// that run is replaced, the run is no longer consecutive, so it becomes the explicit array form
// "<lo> <hi> [<d0> <d1> …]", which keeps the entry count of the section unchanged.
std::optional<QByteArray> fixedRangeDestination(const QByteArray &low, const QByteArray &high,
                                                const QByteArray &destination)
{
    if (low.size() != high.size() || low.size() > 4 || destination.isEmpty() || destination.size() % 2 != 0)
        return std::nullopt;
    qint64 first = 0;
    qint64 last = 0;
    for (qsizetype i = 0; i < low.size(); ++i) {
        first = first << 8 | quint8(low[i]);
        last = last << 8 | quint8(high[i]);
    }
    const qint64 count = last - first + 1;
    const QString base = fromUtf16BigEndian(destination);
    const char16_t lastUnit = base.back().unicode();
    if (count < 1 || count > MaxRangeLength || lastUnit + count - 1 > 0xFFFF)
        return std::nullopt;
    QByteArray array = "[";
    bool changed = false;
    for (qint64 i = 0; i < count; ++i) {
        QString text = base;
        text.back() = QChar(char16_t(lastUnit + i));
        const auto fixed = withIdeographs(text);
        changed = changed || fixed;
        if (i > 0)
            array += ' ';
        array += hexText(fixed.value_or(text));
    }
    return changed ? std::optional<QByteArray>(array + ']') : std::nullopt;
}

// The CMap with every radical destination replaced; the input itself when nothing needed a change;
// nothing when the map cannot be read.
std::optional<QByteArray> repairCMap(const QByteArray &cmap)
{
    Lexer lexer(cmap);
    QList<Edit> edits;
    const auto editDestination = [&](auto fix) {
        lexer.skipSpace();
        const qsizetype begin = lexer.pos();
        const auto destination = lexer.hexString();
        if (!destination)
            return false;
        if (auto text = fix(*destination))
            edits.append({begin, lexer.pos(), std::move(*text)});
        return true;
    };
    while (!lexer.atEnd()) {
        if (lexer.keyword("beginbfchar")) {
            while (!lexer.keyword("endbfchar")) {
                if (!lexer.hexString() || !editDestination(fixedDestination))
                    return std::nullopt;
            }
        } else if (lexer.keyword("beginbfrange")) {
            while (!lexer.keyword("endbfrange")) {
                const auto low = lexer.hexString();
                const auto high = lexer.hexString();
                if (!low || !high)
                    return std::nullopt;
                if (lexer.punctuation('[')) {
                    while (!lexer.punctuation(']')) {
                        if (!editDestination(fixedDestination))
                            return std::nullopt;
                    }
                } else if (!editDestination([&](const QByteArray &destination) {
                               return fixedRangeDestination(*low, *high, destination);
                           })) {
                    return std::nullopt;
                }
            }
        } else if (!lexer.skipValue()) {
            return std::nullopt;
        }
    }
    if (edits.isEmpty())
        return cmap;
    QByteArray result;
    result.reserve(cmap.size() + cmap.size() / 2);
    qsizetype copied = 0;
    for (const Edit &edit : std::as_const(edits)) {
        result += QByteArrayView(cmap).sliced(copied, edit.begin - copied);
        result += edit.text;
        copied = edit.end;
    }
    result += QByteArrayView(cmap).sliced(copied);
    return result;
}

std::optional<QByteArray> inflate(QByteArrayView data)
{
    if (data.isEmpty() || data.size() > MaxCompressedMap)
        return std::nullopt;
    // qUncompress wants its own 4-byte size header before the zlib data a PDF Flate stream holds;
    // the size is only a first guess, qUncompress grows its buffer when the text is larger.
    QByteArray framed(4, '\0');
    qToBigEndian(quint32(data.size() * 4 + 256), framed.data());
    framed += data;
    QByteArray text = qUncompress(framed);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

struct XrefEntry
{
    qint64 offset = -1; // -1: free
    qint64 generation = 0;
};

class PdfReader
{
public:
    explicit PdfReader(QByteArrayView data) : m_data(data) {}

    bool load()
    {
        if (!m_data.first(std::min<qsizetype>(m_data.size(), 1024)).contains("%PDF-"))
            return false;
        const qsizetype tail = std::max<qsizetype>(0, m_data.size() - 1024);
        const qsizetype found = m_data.sliced(tail).lastIndexOf("startxref");
        if (found < 0)
            return false;
        Lexer lexer(m_data, tail + found + 9);
        const auto start = lexer.integer();
        if (!start)
            return false;
        m_startXref = *start;
        QSet<qint64> seen;
        for (qint64 section = m_startXref; section >= 0;) {
            if (seen.contains(section) || seen.size() >= MaxXrefSections)
                return false;
            seen.insert(section);
            if (!readXrefSection(section, seen.size() == 1, section))
                return false;
        }
        return refValue(m_trailer.value("Root")) && integerValue(m_trailer.value("Size")) &&
               !m_trailer.contains("Encrypt");
    }

    qint64 startXref() const { return m_startXref; }
    const Dict &trailer() const { return m_trailer; }
    const QHash<qint64, XrefEntry> &xref() const { return m_xref; }

    // Position just after "N G obj", provided the table and the file agree on it.
    std::optional<qsizetype> objectBody(const Ref &ref) const
    {
        const XrefEntry entry = m_xref.value(ref.number);
        if (entry.offset < 0 || entry.offset >= m_data.size() || entry.generation != ref.generation)
            return std::nullopt;
        Lexer lexer(m_data, entry.offset);
        if (lexer.integer() != ref.number || lexer.integer() != ref.generation || !lexer.keyword("obj"))
            return std::nullopt;
        return lexer.pos();
    }

    struct Stream
    {
        Dict dict;
        QByteArrayView data;
    };

    std::optional<Stream> stream(const Ref &ref) const
    {
        const auto body = objectBody(ref);
        if (!body)
            return std::nullopt;
        Lexer lexer(m_data, *body);
        auto dict = lexer.dict();
        if (!dict || !lexer.keyword("stream"))
            return std::nullopt;
        qsizetype start = lexer.pos();
        if (lexer.peek() == '\r')
            ++start;
        if (start < m_data.size() && m_data[start] == '\n')
            ++start;
        auto length = integerValue(dict->value("Length"));
        if (!length) {
            const auto lengthRef = refValue(dict->value("Length"));
            const auto lengthBody = lengthRef ? objectBody(*lengthRef) : std::nullopt;
            if (lengthBody)
                length = Lexer(m_data, *lengthBody).integer();
        }
        if (!length || *length < 0 || *length > m_data.size() - start)
            return std::nullopt;
        Lexer after(m_data, start + *length);
        if (!after.keyword("endstream"))
            return std::nullopt;
        return Stream{std::move(*dict), m_data.sliced(start, *length)};
    }

private:
    // Reads one classic table and its trailer, and where the previous table is (-1: none).
    bool readXrefSection(qint64 offset, bool newest, qint64 &previous)
    {
        if (offset < 0 || offset >= m_data.size())
            return false;
        Lexer lexer(m_data, offset);
        if (!lexer.keyword("xref"))
            return false; // cross-reference streams are not written by Qt
        while (const auto first = lexer.integer()) {
            const auto count = lexer.integer();
            if (!count || *first + *count > MaxObjectNumber + 1)
                return false;
            for (qint64 i = 0; i < *count; ++i) {
                const auto entryOffset = lexer.integer();
                const auto generation = lexer.integer();
                const QByteArrayView type = lexer.regularToken();
                if (!entryOffset || !generation || *generation > MaxGeneration || (type != "n" && type != "f"))
                    return false;
                // The newest table is read first and wins.
                if (!m_xref.contains(*first + i))
                    m_xref.insert(*first + i, {type == "n" ? *entryOffset : -1, *generation});
            }
        }
        const auto trailer = lexer.keyword("trailer") ? lexer.dict() : std::nullopt;
        // A hybrid file keeps part of its objects in a stream we do not read.
        if (!trailer || trailer->contains("XRefStm"))
            return false;
        if (newest)
            m_trailer = *trailer;
        previous = -1;
        if (!trailer->contains("Prev"))
            return true;
        const auto prev = integerValue(trailer->value("Prev"));
        if (!prev || *prev < 0)
            return false;
        previous = *prev;
        return true;
    }

    QByteArrayView m_data;
    QHash<qint64, XrefEntry> m_xref;
    Dict m_trailer;
    qint64 m_startXref = -1;
};

// Every ToUnicode map that a font dictionary refers to, by object number.
std::optional<QMap<qint64, qint64>> toUnicodeMaps(QByteArrayView pdf, const PdfReader &reader)
{
    QMap<qint64, qint64> maps;
    for (auto it = reader.xref().cbegin(); it != reader.xref().cend(); ++it) {
        if (it.value().offset < 0)
            continue;
        const auto body = reader.objectBody({it.key(), it.value().generation});
        if (!body)
            return std::nullopt;
        Lexer lexer(pdf, *body);
        lexer.skipSpace();
        if (lexer.peek() != '<' || lexer.peek(1) != '<')
            continue;
        const auto dict = lexer.dict();
        if (!dict)
            return std::nullopt;
        if (const auto map = refValue(dict->value("ToUnicode")))
            maps.insert(map->number, map->generation);
    }
    return maps;
}

} // namespace

QByteArray repairPdfText(const QByteArray &pdf)
{
    PdfReader reader(pdf);
    if (!reader.load())
        return pdf;
    const auto maps = toUnicodeMaps(pdf, reader);
    if (!maps)
        return pdf;

    QMap<qint64, std::pair<qint64, QByteArray>> repaired; // number → generation, new map
    for (auto it = maps->cbegin(); it != maps->cend(); ++it) {
        const auto stream = reader.stream({it.key(), it.value()});
        if (!stream)
            return pdf;
        const QByteArrayView filter = stream->dict.value("Filter");
        std::optional<QByteArray> cmap;
        if (filter.isEmpty()) {
            cmap = stream->data.toByteArray();
        } else if (isFlateOnly(filter)) {
            if (stream->dict.contains("DecodeParms"))
                continue; // predictors are for images; a map using one is not ours to rewrite
            cmap = inflate(stream->data);
            if (!cmap)
                return pdf;
        } else {
            continue; // an encoding we do not write; leave that map as it is
        }
        const auto fixed = repairCMap(*cmap);
        if (!fixed)
            return pdf;
        if (*fixed != *cmap)
            repaired.insert(it.key(), {it.value(), *fixed});
    }
    if (repaired.isEmpty())
        return pdf;

    // The incremental update: the replaced objects (written uncompressed, so no deflate is needed),
    // a table for just those objects, and a trailer chained to the previous table.
    QByteArray out = pdf;
    if (!out.endsWith('\n') && !out.endsWith('\r'))
        out += '\n';
    QMap<qint64, std::pair<qint64, qsizetype>> written; // number → generation, offset
    for (auto it = repaired.cbegin(); it != repaired.cend(); ++it) {
        written.insert(it.key(), {it.value().first, out.size()});
        out += QByteArray::number(it.key()) + ' ' + QByteArray::number(it.value().first) + " obj\n<< /Length " +
               QByteArray::number(it.value().second.size()) + " >>\nstream\n" + it.value().second +
               "\nendstream\nendobj\n";
    }
    const qsizetype xrefOffset = out.size();
    out += "xref\n";
    for (auto it = written.cbegin(); it != written.cend();) {
        auto runEnd = it;
        qint64 count = 0;
        while (runEnd != written.cend() && runEnd.key() == it.key() + count) {
            ++runEnd;
            ++count;
        }
        out += QByteArray::number(it.key()) + ' ' + QByteArray::number(count) + '\n';
        for (; it != runEnd; ++it)
            out += QByteArray::number(it.value().second).rightJustified(10, '0') + ' ' +
                   QByteArray::number(it.value().first).rightJustified(5, '0') + " n\r\n";
    }
    const qint64 size = std::max(*integerValue(reader.trailer().value("Size")), written.lastKey() + 1);
    out += "trailer\n<< /Size " + QByteArray::number(size) + " /Root " + reader.trailer().value("Root").toByteArray();
    for (const char *key : {"Info", "ID"}) {
        if (reader.trailer().contains(key))
            out += QByteArray(" /") + key + ' ' + reader.trailer().value(key).toByteArray();
    }
    out += " /Prev " + QByteArray::number(reader.startXref()) + " >>\nstartxref\n" + QByteArray::number(xrefOffset) +
           "\n%%EOF\n";
    return out;
}

} // namespace seikyu
