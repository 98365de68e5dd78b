#include "invoice/InvoiceFile.h"

#include "invoice/KeptText.h"
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

/// Bytes that are no invoice: refused with the reason.
Fault notAnInvoice(const QString &reason)
{
    return Fault{FaultKind::BadInput, reason};
}

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

/// One "item" element's JSON form of a row; a row taxed otherwise than at the invoice's rate
/// carries its own "rate" (8 reduced, 0 exempt).
QJsonObject encodeRow(const ItemRow &item)
{
    const RowCells &row = item.cells();
    QJsonObject element;
    element.insert(columnKey(Column::Date), asHeld(row[0]));
    element.insert(columnKey(Column::Name), asHeld(row[1]));
    element.insert(columnKey(Column::Solo), spot(row[2]));
    element.insert(columnKey(Column::Much), asHeld(row[3]));
    const CellValue &sums = row[4];
    element.insert(columnKey(Column::Sums), cellIsInteger(sums) ? QJsonValue(spot(sums)) : asHeld(sums));
    if (item.taxClass() == TaxClass::Reduced)
        element.insert(InvoiceFileKey::TaxRate, ReducedRateMember);
    else if (item.taxClass() == TaxClass::Exempt)
        element.insert(InvoiceFileKey::TaxRate, 0);
    return element;
}

/// Far beyond any balance a statement carries; a file claiming more is damaged.
constexpr qint64 MaxStatementAmount = 1'000'000'000'000'000;

QJsonObject encodeStatement(const StatementFacts &statement)
{
    QJsonObject member;
    member.insert(QStringLiteral("from"), fileDateText(statement.from));
    member.insert(QStringLiteral("to"), fileDateText(statement.to));
    member.insert(QStringLiteral("previous"), QJsonValue(statement.previous));
    member.insert(QStringLiteral("paid"), QJsonValue(statement.paid));
    member.insert(QStringLiteral("slips"), QJsonArray::fromStringList(statement.slips));
    return member;
}

/// A statement's facts, or none when the member is not a whole statement: a balance that does not
/// read is not guessed at, as it would bill the customer a wrong amount.
std::optional<StatementFacts> statementMember(const QJsonObject &object)
{
    const QJsonValue value = object.value(InvoiceFileKey::Statement);
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject member = value.toObject();
    StatementFacts statement;
    statement.from = parseFileDate(textMember(member, QStringLiteral("from")).value_or(QString()));
    statement.to = parseFileDate(textMember(member, QStringLiteral("to")).value_or(QString()));
    for (const auto &[key, amount] :
         {std::pair{QStringLiteral("previous"), &statement.previous}, {QStringLiteral("paid"), &statement.paid}}) {
        const QJsonValue number = member.value(key);
        if (!number.isDouble() || std::abs(number.toDouble()) > MaxStatementAmount)
            return std::nullopt;
        *amount = integerMember(member, key);
    }
    const QJsonValue slips = member.value(QStringLiteral("slips"));
    for (const QJsonValue &slip : slips.toArray()) {
        if (slip.isString())
            statement.slips.append(slip.toString());
    }
    if (!statement.from.isValid() || !statement.to.isValid() || statement.to < statement.from)
        return std::nullopt;
    return statement;
}

} // namespace

QString documentKindText(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Quote:
        return QStringLiteral("quote");
    case DocumentKind::Delivery:
        return QStringLiteral("delivery");
    case DocumentKind::Receipt:
        return QStringLiteral("receipt");
    case DocumentKind::Invoice:
        break;
    }
    return QStringLiteral("invoice");
}

DocumentKind documentKindOf(const QString &text)
{
    for (const DocumentKind kind : {DocumentKind::Quote, DocumentKind::Delivery, DocumentKind::Receipt}) {
        if (text == documentKindText(kind))
            return kind;
    }
    return DocumentKind::Invoice;
}

QByteArray writeInvoice(const Invoice &invoice)
{
    // The header row first, as the page's table has it; readers take the table's own instead.
    QJsonArray items{encodeRow(*ItemRow::makeHeader())};
    for (const ItemRow &row : invoice.rows)
        items.append(encodeRow(row));

    QJsonObject contents;
    contents.insert(InvoiceFileKey::Title, invoice.title.value_or(QString()));
    contents.insert(InvoiceFileKey::Date, fileDateText(invoice.date));
    contents.insert(InvoiceFileKey::Customer, invoice.customer.value_or(QString()));
    contents.insert(InvoiceFileKey::Issuer, invoice.issuer.value_or(QString()));
    contents.insert(InvoiceFileKey::AmountBox, invoice.amountBox.value_or(QString()));
    contents.insert(InvoiceFileKey::Rows, items);
    contents.insert(InvoiceFileKey::JapaneseEra, invoice.japaneseEra ? 1 : 0);
    contents.insert(InvoiceFileKey::HonorificChoice, invoice.honorificChoice);
    contents.insert(InvoiceFileKey::TaxOnTop, invoice.taxOnTop ? 1 : 0);
    if (invoice.taxRate != ReducedRateMember)
        contents.insert(InvoiceFileKey::TaxRate, invoice.taxRate);
    if (invoice.withholding)
        contents.insert(InvoiceFileKey::Withholding, 1);
    if (!invoice.number.isEmpty())
        contents.insert(InvoiceFileKey::Number, invoice.number);
    if (invoice.dueDate.isValid())
        contents.insert(InvoiceFileKey::DueDate, fileDateText(invoice.dueDate));
    if (!invoice.remarks.isEmpty())
        contents.insert(InvoiceFileKey::Remarks, invoice.remarks);
    if (!invoice.customerElectronicAddress.isEmpty())
        contents.insert(InvoiceFileKey::CustomerElectronicAddress, invoice.customerElectronicAddress);
    const CustomerPostalAddress &to = invoice.customerAddress;
    for (const auto &[key, value] : {std::pair{&InvoiceFileKey::PostalCode, &to.postalCode},
                                     {&InvoiceFileKey::Address, &to.address},
                                     {&InvoiceFileKey::Department, &to.department},
                                     {&InvoiceFileKey::Attention, &to.attention}}) {
        if (!value->isEmpty()) // absent in every invoice made without them, so older files stay as they were
            contents.insert(*key, *value);
    }
    // Absent for an invoice, as in every file made before the other kinds.
    if (invoice.kind != DocumentKind::Invoice)
        contents.insert(InvoiceFileKey::Kind, documentKindText(invoice.kind));
    if (invoice.paper)
        contents.insert(InvoiceFileKey::Paper, true);
    if (invoice.statement)
        contents.insert(InvoiceFileKey::Statement, encodeStatement(*invoice.statement));
    if (invoice.amountsHidden)
        contents.insert(InvoiceFileKey::Amounts, false);
    if (invoice.payment > 0)
        contents.insert(InvoiceFileKey::Payment, QJsonValue(invoice.payment));
    if (!invoice.madeFrom.isEmpty())
        contents.insert(InvoiceFileKey::MadeFrom, invoice.madeFrom);
    return QJsonDocument(contents).toJson(QJsonDocument::Indented);
}

Result<Invoice> readInvoiceBytes(const QByteArray &bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    // Refused rather than altered: a text opened, saved and issued must be the text that was given.
    // Looked for first, as the parser refuses some of these characters only as bytes that are no text.
    if (const std::optional<UnkeptText> unkept = findUnkeptText(bytes))
        return notAnInvoice(Text::tr("The file's member “%1” holds %2, a character that cannot be kept as it is. "
                                     "Remove it from the file to open it.")
                                .arg(unkept->member, unkept->problem));
    if (error.error != QJsonParseError::NoError)
        return notAnInvoice(unreadableReason(bytes, error));
    if (!document.isObject())
        return notAnInvoice(Text::tr("The file holds data of another kind, not an invoice."));
    const QJsonObject object = document.object();

    Invoice invoice;
    const QJsonValue items = object.value(InvoiceFileKey::Rows);
    if (!items.isUndefined() && !items.isNull()) {
        if (!items.isArray())
            return notAnInvoice(Text::tr("The file's item table is damaged: it is not a list of rows."));
        const QJsonArray array = items.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!array.at(i).isObject())
                return notAnInvoice(Text::tr("The file's item table is damaged at row %1.").arg(i));
            if (i == 0)
                continue; // the header row is the table's own
            const QJsonObject element = array.at(i).toObject();
            RowCells cells;
            for (int column = 0; column < ColumnCount; ++column)
                cells[static_cast<std::size_t>(column)] =
                    cellFromJson(element.value(columnKey(static_cast<Column>(column))));
            ItemRow row;
            row.setCells(cells);
            if (element.contains(InvoiceFileKey::TaxRate)) {
                const qint64 rate = integerMember(element, InvoiceFileKey::TaxRate);
                row.setTaxClass(rate == 0                   ? TaxClass::Exempt
                                : rate == ReducedRateMember ? TaxClass::Reduced
                                                            : TaxClass::Standard);
            }
            invoice.rows.append(row);
        }
    }

    invoice.title = textMember(object, InvoiceFileKey::Title);
    invoice.customer = textMember(object, InvoiceFileKey::Customer);
    invoice.issuer = textMember(object, InvoiceFileKey::Issuer);
    invoice.amountBox = textMember(object, InvoiceFileKey::AmountBox);
    invoice.date = parseFileDate(textMember(object, InvoiceFileKey::Date).value_or(QString()));
    invoice.japaneseEra = integerMember(object, InvoiceFileKey::JapaneseEra) != 0;
    invoice.taxOnTop = integerMember(object, InvoiceFileKey::TaxOnTop) != 0;
    // Only the two rates there are: anything else is the rate invoices had before the choice.
    invoice.taxRate = integerMember(object, InvoiceFileKey::TaxRate) == 10 ? 10 : ReducedRateMember;
    invoice.withholding = integerMember(object, InvoiceFileKey::Withholding) != 0;
    invoice.number = textMember(object, InvoiceFileKey::Number).value_or(QString());
    invoice.dueDate = parseFileDate(textMember(object, InvoiceFileKey::DueDate).value_or(QString()));
    invoice.remarks = textMember(object, InvoiceFileKey::Remarks).value_or(QString());
    invoice.customerElectronicAddress =
        textMember(object, InvoiceFileKey::CustomerElectronicAddress).value_or(QString());
    invoice.customerAddress.postalCode = textMember(object, InvoiceFileKey::PostalCode).value_or(QString());
    invoice.customerAddress.address = textMember(object, InvoiceFileKey::Address).value_or(QString());
    invoice.customerAddress.department = textMember(object, InvoiceFileKey::Department).value_or(QString());
    invoice.customerAddress.attention = textMember(object, InvoiceFileKey::Attention).value_or(QString());
    const qint64 tail = integerMember(object, InvoiceFileKey::HonorificChoice);
    invoice.honorificChoice = (tail >= 0 && tail < HonorificCount) ? static_cast<int>(tail) : -1;
    invoice.honorificShown = honorificLabel(invoice.honorificChoice);
    // A kind this version does not know is read as an invoice, as any member of a wrong type is.
    invoice.kind = documentKindOf(textMember(object, InvoiceFileKey::Kind).value_or(QString()));
    invoice.paper = object.value(InvoiceFileKey::Paper).toBool(false);
    invoice.statement = statementMember(object);
    invoice.amountsHidden = object.value(InvoiceFileKey::Amounts) == QJsonValue(false);
    invoice.payment = std::max<qint64>(integerMember(object, InvoiceFileKey::Payment), 0);
    invoice.madeFrom = textMember(object, InvoiceFileKey::MadeFrom).value_or(QString());

    return invoice;
}

Result<QByteArray> readInvoiceFile(const QString &path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString system = file.errorString();
        if (!info.exists())
            return Fault{FaultKind::NotFound,
                         Text::tr("The file is no longer there: it may have been moved, renamed or deleted."), system};
        if (info.isDir())
            return Fault{FaultKind::BadInput, Text::tr("It is a folder, not a file."), system};
        if (!info.isReadable())
            return Fault{FaultKind::Unreadable, Text::tr("You do not have permission to read it."), system};
        return Fault{FaultKind::Unreadable, Text::tr("The system refused to read it (%1).").arg(system), system};
    }
    if (file.size() > MaxInvoiceFileSize)
        return Fault{
            FaultKind::BadInput,
            Text::tr("The file is far larger than any invoice (%1 MB or more).").arg(MaxInvoiceFileSize / 1024 / 1024)};
    QByteArray bytes = file.read(MaxInvoiceFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return Fault{FaultKind::Unreadable,
                     Text::tr("The disk could not read it to the end (%1).").arg(file.errorString()),
                     file.errorString()};
    return bytes;
}

} // namespace seikyu
