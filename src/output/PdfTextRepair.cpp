#include "output/PdfTextRepair.h"

#include "output/PdfMapsInPlace.h"

#include <QByteArrayList>
#include <QString>
#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFTokenizer.hh>
#include <qpdf/QPDFWriter.hh>
#include <string>
#include <utility>

namespace seikyu {

namespace {

// Kangxi Radicals (U+2F00–U+2FDF) follow CJK Radicals Supplement (U+2E80–U+2EFF) directly.
constexpr char16_t RadicalsFirst = 0x2E80;
constexpr char16_t RadicalsLast = 0x2FDF;
// The CMap format allows at most 100 entries in one bfchar or bfrange section.
constexpr qsizetype MaxSectionEntries = 100;
// Splitting ranges into single entries multiplies a map's size; a hostile map must not make us
// allocate without limit. Every Unicode code unit once is far more than any font of ours maps.
constexpr quint32 MaxSplitEntries = 0x10000;

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

QString fromUtf16BigEndian(const std::string &bytes)
{
    QString text(qsizetype(bytes.size() / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(quint8(bytes[2 * i]) << 8 | quint8(bytes[2 * i + 1])));
    return text;
}

std::string toUtf16BigEndian(const QString &text)
{
    std::string bytes;
    for (const QChar unit : text) {
        bytes += char(unit.unicode() >> 8);
        bytes += char(unit.unicode() & 0xFF);
    }
    return bytes;
}

// A destination with its radicals replaced. Odd byte counts are not UTF-16 and stay as they are.
std::string withIdeographs(const std::string &destination)
{
    if (destination.size() % 2 != 0)
        return destination;
    QString text;
    for (const QChar unit : fromUtf16BigEndian(destination)) {
        const char32_t ideograph = ideographFor(unit.unicode());
        text += ideograph ? QString::fromUcs4(&ideograph, 1) : QString(unit);
    }
    return toUtf16BigEndian(text);
}

QByteArray hex(const std::string &bytes)
{
    return '<' + QByteArray::fromStdString(bytes).toHex().toUpper() + '>';
}

// The entries as sections of the given kind ("bfchar", "bfrange"), at most 100 entries each.
QByteArrayList sections(const QByteArray &kind, const QByteArrayList &entries)
{
    QByteArrayList result;
    for (qsizetype first = 0; first < entries.size(); first += MaxSectionEntries) {
        const QByteArrayList part = entries.mid(first, MaxSectionEntries);
        result += QByteArray::number(part.size()) + " begin" + kind + '\n' + part.join('\n') + "\nend" + kind;
    }
    return result;
}

// A map that is not what the CMap syntax promises; the whole map is then left as it is.
struct Unreadable : std::exception
{
};

struct Token
{
    QPDFTokenizer::token_type_e type = QPDFTokenizer::tt_bad;
    std::string value; // a string's bytes, a word's letters
    qsizetype begin = 0;

    bool is(const char *word) const { return type == QPDFTokenizer::tt_word && value == word; }
    const std::string &string() const
    {
        if (type != QPDFTokenizer::tt_string)
            throw Unreadable();
        return value;
    }
};

// Reads the map token by token (qpdf's PostScript tokenizer) and rewrites its bfchar and bfrange
// sections.
class CMapRewriter
{
public:
    explicit CMapRewriter(const QByteArray &cmap)
        : m_input(std::make_shared<BufferInputSource>("ToUnicode map", cmap.toStdString()))
    {
        m_tokenizer.allowEOF();
    }

    // Just after the token read last.
    qsizetype position() const { return qsizetype(m_input->tell()); }

    Token next()
    {
        const QPDFTokenizer::Token token = m_tokenizer.readToken(m_input, "ToUnicode map", true);
        if (token.getType() == QPDFTokenizer::tt_bad)
            throw Unreadable();
        return {token.getType(), token.getValue(), qsizetype(m_input->getLastOffset())};
    }

    // After "beginbfchar": the section up to its end rewritten, or nothing when it needs no change.
    std::optional<QByteArray> chars()
    {
        QByteArrayList entries;
        bool changed = false;
        for (Token token = next(); !token.is("endbfchar"); token = next()) {
            const std::string code = token.string();
            const std::string destination = next().string();
            const std::string fixed = withIdeographs(destination);
            changed = changed || fixed != destination;
            entries += hex(code) + ' ' + hex(fixed);
        }
        return changed ? std::optional(sections("bfchar", entries).join('\n')) : std::nullopt;
    }

    // After "beginbfrange": the same for a range section, whose split ranges follow it as bfchar.
    std::optional<QByteArray> ranges()
    {
        QByteArrayList entries;
        QByteArrayList split;
        bool changed = false;
        for (Token token = next(); !token.is("endbfrange"); token = next()) {
            const std::string low = token.string();
            const std::string high = next().string();
            const QByteArray codes = hex(low) + ' ' + hex(high) + ' ';
            const Token destination = next();
            if (destination.type == QPDFTokenizer::tt_array_open) { // one destination per code
                QByteArrayList items;
                for (Token item = next(); item.type != QPDFTokenizer::tt_array_close; item = next()) {
                    const std::string fixed = withIdeographs(item.string());
                    changed = changed || fixed != item.value;
                    items += hex(fixed);
                }
                entries += codes + '[' + items.join(' ') + ']';
            } else if (const QByteArrayList single = splitRange(low, high, destination.string()); !single.isEmpty()) {
                split += single;
                changed = true;
            } else {
                entries += codes + hex(destination.value);
            }
        }
        return changed ? std::optional((sections("bfrange", entries) + sections("bfchar", split)).join('\n'))
                       : std::nullopt;
    }

private:
    // "<low> <high> <base>" maps low…high to base, base+1, … (its last UTF-16 unit counts up). Once
    // a radical in that run is replaced the run no longer counts up, so it becomes one bfchar entry
    // per code. Nothing when no destination in the run changes.
    QByteArrayList splitRange(const std::string &low, const std::string &high, const std::string &base)
    {
        if (low.size() != high.size() || low.empty() || low.size() > 4 || base.empty() || base.size() % 2 != 0)
            return {};
        quint32 first = 0;
        quint32 last = 0;
        for (size_t i = 0; i < low.size(); ++i) {
            first = first << 8 | quint8(low[i]);
            last = last << 8 | quint8(high[i]);
        }
        QString text = fromUtf16BigEndian(base);
        const char16_t lastUnit = text.back().unicode();
        if (last < first || last - first > 0xFFFFu - lastUnit)
            return {}; // not a run the reader could count up either
        bool hasRadical = false;
        for (quint32 unit = std::max<quint32>(lastUnit, RadicalsFirst);
             unit <= std::min<quint32>(lastUnit + (last - first), RadicalsLast); ++unit)
            hasRadical = hasRadical || ideographFor(char16_t(unit)) != 0;
        if (!hasRadical)
            return {};
        if (last - first >= MaxSplitEntries - m_splitEntries)
            throw Unreadable();
        m_splitEntries += last - first + 1;
        QByteArrayList entries;
        for (quint32 offset = 0; offset <= last - first; ++offset) {
            std::string code(low.size(), '\0');
            for (size_t i = 0; i < code.size(); ++i)
                code[code.size() - 1 - i] = char((first + offset) >> (8 * i) & 0xFF);
            text.back() = QChar(char16_t(lastUnit + offset));
            entries += hex(code) + ' ' + hex(withIdeographs(toUtf16BigEndian(text)));
        }
        return entries;
    }

    std::shared_ptr<InputSource> m_input;
    QPDFTokenizer m_tokenizer;
    quint32 m_splitEntries = 0;
};

} // namespace

QByteArray withIdeographDestinations(const QByteArray &cmap)
{
    try {
        CMapRewriter rewriter(cmap);
        QByteArray result;
        qsizetype copied = 0;
        Token previous;
        for (Token token = rewriter.next(); token.type != QPDFTokenizer::tt_eof;
             previous = token, token = rewriter.next()) {
            const bool chars = token.is("beginbfchar");
            if (!chars && !token.is("beginbfrange"))
                continue;
            // The section starts at its entry count, which the rewrite may change.
            const qsizetype begin = previous.type == QPDFTokenizer::tt_integer ? previous.begin : token.begin;
            const std::optional<QByteArray> section = chars ? rewriter.chars() : rewriter.ranges();
            if (!section)
                continue;
            result += cmap.sliced(copied, begin - copied) + *section;
            copied = rewriter.position();
        }
        return copied == 0 ? cmap : result + cmap.sliced(copied);
    } catch (const std::exception &) {
        return cmap; // Unreadable, or qpdf's own complaint about the syntax
    }
}

QByteArray repairPdfText(const QByteArray &pdf)
{
    // Qt's own files have their maps rewritten where they are: reading and writing the whole file
    // anew was most of the repair's time.
    if (std::optional<QByteArray> inPlace = withTextMapsRewritten(pdf, withIdeographDestinations))
        return *std::move(inPlace);
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        // Recovery would rebuild a damaged file into a different one; a file we cannot read as it
        // is stays exactly as it came.
        document.setAttemptRecovery(false);
        document.processMemoryFile("PDF", pdf.constData(), size_t(pdf.size()));
        if (document.isEncrypted())
            return pdf; // written anew it would lose its encryption
        bool changed = false;
        for (QPDFObjectHandle &object : document.getAllObjects()) {
            if (!object.isDictionary())
                continue;
            QPDFObjectHandle map = object.getKey("/ToUnicode");
            if (!map.isStream())
                continue;
            const std::shared_ptr<Buffer> data = map.getStreamData(qpdf_dl_generalized);
            const QByteArray cmap(reinterpret_cast<const char *>(data->getBuffer()), qsizetype(data->getSize()));
            const QByteArray fixed = withIdeographDestinations(cmap);
            if (fixed == cmap)
                continue;
            map.replaceStreamData(fixed.toStdString(), QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
            changed = true;
        }
        if (!changed)
            return pdf;
        QPDFWriter writer(document);
        writer.setOutputMemory();
        // Flate for every stream, the new maps included. No object streams: the document
        // information (creation date) stays readable, so two exports of one invoice differ in the
        // date and the /ID that is a digest of the file, nowhere else.
        writer.setCompressStreams(true);
        writer.setObjectStreamMode(qpdf_o_disable);
        writer.setDeterministicID(true);
        writer.write();
        // A warning means qpdf had to guess at some part of the file.
        if (document.anyWarnings())
            return pdf;
        const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(written->getBuffer()), qsizetype(written->getSize()));
    } catch (const std::exception &) {
        return pdf;
    }
}

} // namespace seikyu
