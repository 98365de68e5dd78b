#include "output/PdfMapsInPlace.h"

#include <QList>
#include <algorithm>
#include <map>

namespace seikyu {

namespace {

/// One entry of the cross-reference table: "oooooooooo ggggg n \n", twenty bytes.
constexpr qsizetype EntrySize = 20;

/// The cross-reference table and the trailer after it, as read.
struct CrossReferences
{
    qsizetype at = 0;               ///< where "xref" starts
    qsizetype entries = 0;          ///< where its entries start
    int count = 0;                  ///< how many entries it has
    std::map<int, qsizetype> inUse; ///< object number → where the object starts
    QByteArray freeEntry;           ///< the entry of object 0
    QByteArray trailer;             ///< from "trailer" up to "startxref"
};

/// A decimal number of one to ten digits at `from` (as the table's offsets are written), or -1.
qsizetype numberAt(const QByteArray &text, qsizetype from, qsizetype *end = nullptr)
{
    constexpr qsizetype MaxDigits = 10;
    qsizetype value = 0;
    qsizetype i = from;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (i - from == MaxDigits)
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    if (end)
        *end = i;
    return i == from ? -1 : value;
}

/// The one table of the file, each object it lists found where it says; nothing otherwise.
std::optional<CrossReferences> crossReferences(const QByteArray &pdf)
{
    CrossReferences table;
    const qsizetype start = pdf.lastIndexOf("startxref\n");
    if (start < 0 || !(pdf.endsWith("%%EOF\n") || pdf.endsWith("%%EOF")))
        return std::nullopt;
    table.at = numberAt(pdf, start + 10);
    if (table.at <= 0 || table.at >= start || !pdf.sliced(table.at).startsWith("xref\n0 "))
        return std::nullopt;
    qsizetype at = table.at + 7;
    const qsizetype count = numberAt(pdf, at, &at);
    if (count < 1 || pdf.mid(at, 1) != "\n" || at + 1 + count * EntrySize > start)
        return std::nullopt;
    ++at;
    table.entries = at;
    table.count = int(count);
    table.freeEntry = pdf.mid(at, EntrySize);
    for (int object = 1; object < count; ++object) {
        const QByteArray entry = pdf.mid(at + object * EntrySize, EntrySize);
        if (!entry.endsWith(" \n") || entry[10] != ' ' || entry[16] != ' ')
            return std::nullopt;
        if (entry[17] == 'f')
            continue;
        const qsizetype offset = numberAt(entry, 0);
        if (entry[17] != 'n' || !entry.sliced(11).startsWith("00000") || offset <= 0 || offset >= table.at ||
            !pdf.sliced(offset).startsWith(QByteArray::number(object) + " 0 obj\n"))
            return std::nullopt;
        table.inUse[object] = offset;
    }
    table.trailer = pdf.sliced(at + count * EntrySize, start - at - count * EntrySize);
    // One table only: an update appended to the file would have its own, found through /Prev.
    if (!table.trailer.startsWith("trailer") || table.trailer.contains("/Prev") || table.trailer.contains("/Encrypt"))
        return std::nullopt;
    return table;
}

/// The objects the fonts name as their text maps ("/ToUnicode 12 0 R"); nothing when one is named otherwise.
std::optional<QList<int>> textMapObjects(const QByteArray &pdf, qsizetype end)
{
    const QByteArray key = "/ToUnicode ";
    QList<int> objects;
    for (qsizetype at = pdf.indexOf(key); at >= 0 && at < end; at = pdf.indexOf(key, at + 1)) {
        qsizetype after = 0;
        const qsizetype object = numberAt(pdf, at + key.size(), &after);
        if (object <= 0 || pdf.mid(after, 4) != " 0 R")
            return std::nullopt;
        objects.append(int(object));
    }
    return objects;
}

} // namespace

std::optional<QByteArray> withTextMapsRewritten(const QByteArray &pdf,
                                                const std::function<QByteArray(const QByteArray &map)> &rewrite)
{
    const std::optional<CrossReferences> table = crossReferences(pdf);
    if (!table)
        return std::nullopt;
    // Where each object ends: where the next one (or the table) starts.
    std::map<qsizetype, qsizetype> extent;
    for (const auto &[object, offset] : table->inUse)
        extent[offset] = table->at;
    for (auto it = extent.begin(); it != extent.end(); ++it)
        it->second = std::next(it) == extent.end() ? table->at : std::next(it)->first;

    std::map<qsizetype, QByteArray> replaced; // where an object starts → the object written anew
    const std::optional<QList<int>> maps = textMapObjects(pdf, table->at);
    if (!maps)
        return std::nullopt;
    for (const int object : *maps) {
        const auto found = table->inUse.find(object);
        if (found == table->inUse.end())
            return std::nullopt;
        const qsizetype begin = found->second;
        const QByteArray written = pdf.sliced(begin, extent[begin] - begin);
        const QByteArray head = QByteArray::number(object) + " 0 obj\n<< /Length ";
        qsizetype at = head.size();
        const qsizetype length = numberAt(written, at, &at);
        const QByteArray opening = " >>\nstream\n";
        const QByteArray closing = "\nendstream\nendobj\n";
        if (!written.startsWith(head) || length < 0 || written.mid(at, opening.size()) != opening ||
            written.size() != at + opening.size() + length + closing.size() || !written.endsWith(closing))
            return std::nullopt;
        const QByteArray map = written.mid(at + opening.size(), length);
        const QByteArray fixed = rewrite(map);
        if (fixed == map || replaced.count(begin))
            continue;
        // zlib's stream without qCompress's own four bytes of length before it.
        const QByteArray compressed = qCompress(fixed).sliced(4);
        replaced[begin] = QByteArray::number(object) + " 0 obj\n<< /Length " + QByteArray::number(compressed.size()) +
                          " /Filter /FlateDecode" + opening + compressed + closing;
    }
    if (replaced.empty())
        return pdf;

    QByteArray result;
    result.reserve(pdf.size() + 1024);
    std::map<qsizetype, qsizetype> moved; // where an object started → where it starts now
    qsizetype copied = 0;
    for (const auto &[begin, end] : extent) {
        result += pdf.sliced(copied, begin - copied);
        moved[begin] = result.size();
        const auto object = replaced.find(begin);
        result += object == replaced.end() ? pdf.sliced(begin, end - begin) : object->second;
        copied = end;
    }
    result += pdf.sliced(copied, table->at - copied);
    const qsizetype xref = result.size();
    result += "xref\n0 " + QByteArray::number(table->count) + '\n' + table->freeEntry;
    for (int object = 1; object < table->count; ++object) {
        const auto found = table->inUse.find(object);
        result += found == table->inUse.end() // a free entry, as it was
                      ? pdf.mid(table->entries + object * EntrySize, EntrySize)
                      : QByteArray::number(moved[found->second]).rightJustified(10, '0') + " 00000 n \n";
    }
    return result + table->trailer + "startxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
}

} // namespace seikyu
