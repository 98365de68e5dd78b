#include "document/InvoiceFile.h"

#include "document/KeptText.h"
#include "sections/DateText.h"
#include "table/Amounts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace seikyu {

namespace {

QJsonValue asHeld(const CellValue &value)
{
    if (cellIsInteger(value))
        return QJsonValue(value.toLongLong());
    if (cellIsText(value))
        return QJsonValue(value.toString());
    return QJsonValue(QString());
}

/// A cell of a file row: strings stay strings, whole numbers stay integers; any other number
/// keeps its text; null, booleans and containers count as absent.
CellValue cellFromJson(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        const QVariant v = value.toVariant();
        if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
            return CellValue(v.toLongLong());
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::abs(d) < 9.2e18)
            return CellValue(static_cast<qint64>(d));
        return QString::number(d, 'g', 17);
    }
    return {};
}

std::optional<QString> textMember(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

/// A flag or index read the lenient way: numbers by their integer part, texts by their leading
/// integer, booleans as 0 or 1; anything else as 0.
qint64 integerMember(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (value.isString())
        return leadingInteger(value.toString());
    if (value.isDouble()) {
        const QVariant v = value.toVariant();
        if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
            return v.toLongLong();
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::abs(d) >= 9.2e18)
            return 0;
        return static_cast<qint64>(std::trunc(d));
    }
    return 0;
}

/// Far beyond any invoice; a larger file is refused before it is read into memory.
constexpr qint64 MaxInvoiceFileSize = 64 * 1024 * 1024;

/// The rate of an invoice that does not say, and the mark of a reduced-rate row.
constexpr int ReducedRateMember = 8;

/// The texts of this file share the translation context "InvoiceFile", declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(InvoiceFile)
};

/// Why bytes that do not parse are no invoice, in the words of someone who has never heard of JSON.
QString unreadableReason(const QByteArray &bytes, const QJsonParseError &error)
{
    if (bytes.trimmed().isEmpty())
        return Text::tr("The file is empty.");
    switch (error.error) {
    case QJsonParseError::UnterminatedObject:
    case QJsonParseError::UnterminatedArray:
    case QJsonParseError::UnterminatedString:
        return Text::tr("The file ends too early, as if it had been cut off while it was copied or saved.");
    case QJsonParseError::IllegalUTF8String:
        return Text::tr("The file holds bytes that are not text, as a picture or a program does.");
    case QJsonParseError::DeepNesting:
        return Text::tr("The file is built far more deeply than an invoice ever is.");
    default:
        // A cut that falls between two members looks like any other mistake to the parser.
        if (error.offset >= bytes.trimmed().size())
            return Text::tr("The file ends too early, as if it had been cut off while it was copied or saved.");
        return Text::tr("The file holds something other than an invoice, or something in it has been damaged.");
    }
}

} // namespace

QString customerName(const QString &whomText, const QString &honorific)
{
    const QString shown = QLatin1Char(' ') + honorific;
    if (honorific.isEmpty() || !whomText.endsWith(shown))
        return whomText;
    return whomText.chopped(shown.size());
}

QJsonObject encodeRow(const ItemRow &item)
{
    const RowCells &row = item.cells();
    QJsonObject element;
    element.insert(QStringLiteral("date"), asHeld(row[0]));
    element.insert(QStringLiteral("name"), asHeld(row[1]));
    element.insert(QStringLiteral("solo"), spot(row[2]));
    element.insert(QStringLiteral("much"), asHeld(row[3]));
    const CellValue &sums = row[4];
    element.insert(QStringLiteral("sums"), cellIsInteger(sums) ? QJsonValue(spot(sums)) : asHeld(sums));
    if (item.taxClass() == TaxClass::Reduced)
        element.insert(QStringLiteral("rate"), ReducedRateMember);
    else if (item.taxClass() == TaxClass::Exempt)
        element.insert(QStringLiteral("rate"), 0);
    return element;
}

QByteArray writeInvoice(const InvoicePage &page)
{
    QJsonArray items;
    for (const ItemRow &row : page.rows)
        items.append(encodeRow(row));

    QJsonObject contents;
    contents.insert(QStringLiteral("head"), page.head);
    contents.insert(QStringLiteral("date"), fileDateText(page.date));
    contents.insert(QStringLiteral("whom"), customerName(page.whomText, page.whomHonorific));
    contents.insert(QStringLiteral("from"), page.from);
    contents.insert(QStringLiteral("full"), page.full);
    contents.insert(QStringLiteral("item"), items);
    contents.insert(QStringLiteral("jgen"), page.jgen);
    contents.insert(QStringLiteral("tail"), page.tail);
    contents.insert(QStringLiteral("plus"), page.plus);
    if (page.rate != ReducedRateMember)
        contents.insert(QStringLiteral("rate"), page.rate);
    if (page.hold)
        contents.insert(QStringLiteral("hold"), 1);
    if (!page.numb.isEmpty())
        contents.insert(QStringLiteral("numb"), page.numb);
    if (page.dues.isValid())
        contents.insert(QStringLiteral("dues"), fileDateText(page.dues));
    if (!page.note.isEmpty())
        contents.insert(QStringLiteral("note"), page.note);
    if (!page.peer.isEmpty())
        contents.insert(QStringLiteral("peer"), page.peer);
    return QJsonDocument(contents).toJson(QJsonDocument::Indented);
}

InvoiceReadResult readInvoice(const QByteArray &bytes)
{
    InvoiceReadResult result;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    // Refused rather than altered: a text opened, saved and issued must be the text that was given.
    // Looked for first, as the parser refuses some of these characters only as bytes that are no text.
    if (const std::optional<UnkeptText> unkept = findUnkeptText(bytes)) {
        result.error = Text::tr("The file's member “%1” holds %2, a character that cannot be kept as it is. "
                                "Remove it from the file to open it.")
                           .arg(unkept->member, unkept->problem);
        return result;
    }
    if (error.error != QJsonParseError::NoError) {
        result.error = unreadableReason(bytes, error);
        return result;
    }
    if (!document.isObject()) {
        result.error = Text::tr("The file holds data of another kind, not an invoice.");
        return result;
    }
    const QJsonObject object = document.object();

    InvoiceContents contents;
    const QJsonValue items = object.value(QStringLiteral("item"));
    if (!items.isUndefined() && !items.isNull()) {
        if (!items.isArray()) {
            result.error = Text::tr("The file's item table is damaged: it is not a list of rows.");
            return result;
        }
        const QJsonArray array = items.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!array.at(i).isObject()) {
                result.error = Text::tr("The file's item table is damaged at row %1.").arg(i);
                return result;
            }
            if (i == 0)
                continue; // the header row is the table's own
            const QJsonObject element = array.at(i).toObject();
            RowCells cells;
            for (int column = 0; column < ColumnCount; ++column)
                cells[static_cast<std::size_t>(column)] =
                    cellFromJson(element.value(columnKey(static_cast<Column>(column))));
            ItemRow row;
            row.setCells(cells);
            if (element.contains(QStringLiteral("rate"))) {
                const qint64 rate = integerMember(element, QStringLiteral("rate"));
                row.setTaxClass(rate == 0                   ? TaxClass::Exempt
                                : rate == ReducedRateMember ? TaxClass::Reduced
                                                            : TaxClass::Standard);
            }
            contents.rows.append(row);
        }
    }

    contents.head = textMember(object, QStringLiteral("head"));
    contents.whom = textMember(object, QStringLiteral("whom"));
    contents.from = textMember(object, QStringLiteral("from"));
    contents.full = textMember(object, QStringLiteral("full"));
    if (const auto dateText = textMember(object, QStringLiteral("date"))) {
        const QDate date = parseFileDate(*dateText);
        if (date.isValid())
            contents.date = date;
    }
    contents.jgen = integerMember(object, QStringLiteral("jgen")) != 0;
    contents.plus = integerMember(object, QStringLiteral("plus")) != 0;
    // Only the two rates there are: anything else is the rate invoices had before the choice.
    contents.rate = integerMember(object, QStringLiteral("rate")) == 10 ? 10 : ReducedRateMember;
    contents.hold = integerMember(object, QStringLiteral("hold")) != 0;
    contents.numb = textMember(object, QStringLiteral("numb")).value_or(QString());
    contents.dues = parseFileDate(textMember(object, QStringLiteral("dues")).value_or(QString()));
    contents.note = textMember(object, QStringLiteral("note")).value_or(QString());
    contents.peer = textMember(object, QStringLiteral("peer")).value_or(QString());
    const qint64 tail = integerMember(object, QStringLiteral("tail"));
    contents.tail = (tail >= 0 && tail < HonorificCount) ? static_cast<int>(tail) : -1;

    result.contents = contents;
    return result;
}

bool readInvoiceFile(const QString &path, QByteArray *bytes, QString *error)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!info.exists())
            *error = Text::tr("The file is no longer there: it may have been moved, renamed or deleted.");
        else if (info.isDir())
            *error = Text::tr("It is a folder, not a file.");
        else if (!info.isReadable())
            *error = Text::tr("You do not have permission to read it.");
        else
            *error = Text::tr("The system refused to read it (%1).").arg(file.errorString());
        return false;
    }
    if (file.size() > MaxInvoiceFileSize) {
        *error =
            Text::tr("The file is far larger than any invoice (%1 MB or more).").arg(MaxInvoiceFileSize / 1024 / 1024);
        return false;
    }
    *bytes = file.read(MaxInvoiceFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = Text::tr("The disk could not read it to the end (%1).").arg(file.errorString());
        return false;
    }
    return true;
}

} // namespace seikyu
