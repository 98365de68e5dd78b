#include "customers/CustomerCsv.h"

#include "customers/AddressBlock.h"
#include "import/ShiftJisText.h"
#include "ledger/LedgerCsv.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <functional>

namespace seikyu {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(CustomerCsv)
};

enum class Field {
    Name,
    Kana,
    Honorific,
    Department,
    ContactTitle,
    ContactName,
    PostalCode,
    Address1,
    Address2,
    Telephone,
    Email,
    PeppolId,
    ClosingDay,
    Terms,
    Note,
};
constexpr int FieldCount = int(Field::Note) + 1;

/// Each field's title as written, then the titles other programs give it.
const std::array<QStringList, FieldCount> &titles()
{
    static const std::array<QStringList, FieldCount> all{{
        {QStringLiteral("顧客名"), QStringLiteral("取引先名"), QStringLiteral("会社名"), QStringLiteral("得意先名"),
         QStringLiteral("名称"), QStringLiteral("氏名")},
        {QStringLiteral("フリガナ"), QStringLiteral("ふりがな"), QStringLiteral("カナ"), QStringLiteral("よみ"),
         QStringLiteral("読み"), QStringLiteral("顧客名カナ"), QStringLiteral("取引先名カナ")},
        {QStringLiteral("敬称")},
        {QStringLiteral("部署"), QStringLiteral("部署名"), QStringLiteral("部門")},
        {QStringLiteral("役職"), QStringLiteral("担当者役職")},
        {QStringLiteral("担当者"), QStringLiteral("担当者名"), QStringLiteral("ご担当者")},
        {QStringLiteral("郵便番号"), QStringLiteral("〒")},
        {QStringLiteral("住所1"), QStringLiteral("住所"), QStringLiteral("所在地")},
        {QStringLiteral("住所2"), QStringLiteral("建物名")},
        {QStringLiteral("電話番号"), QStringLiteral("電話"), QStringLiteral("TEL")},
        {QStringLiteral("メールアドレス"), QStringLiteral("メール"), QStringLiteral("E-mail"), QStringLiteral("Email")},
        {QStringLiteral("電子インボイスアドレス"), QStringLiteral("Peppol ID"), QStringLiteral("PeppolID")},
        {QStringLiteral("締め日"), QStringLiteral("締日")},
        {QStringLiteral("支払条件"), QStringLiteral("支払い条件"), QStringLiteral("支払サイト")},
        {QStringLiteral("メモ"), QStringLiteral("備考")},
    }};
    return all;
}

/// A header title as compared: full-width letters and spaces folded, case ignored.
QString titleKey(const QString &title)
{
    return title.normalized(QString::NormalizationForm_KC).remove(QLatin1Char(' ')).toCaseFolded();
}

std::optional<Field> fieldOfTitle(const QString &title)
{
    const QString key = titleKey(title);
    for (int field = 0; field < FieldCount; ++field) {
        for (const QString &known : titles()[size_t(field)]) {
            if (titleKey(known) == key)
                return Field(field);
        }
    }
    return std::nullopt;
}

/// A cell as written by a program that made it inert for spreadsheets: the apostrophe goes again.
QString cellText(const QString &cell)
{
    static const QString formulaStarts = QStringLiteral("=+-@");
    if (cell.size() > 1 && cell.front() == u'\'' && formulaStarts.contains(cell.at(1)))
        return cell.mid(1).trimmed();
    return cell.trimmed();
}

/// One line's customer, or why the line is left out.
std::variant<Customer, QString> customerOfRecord(const TextRecord &record, const QList<std::optional<Field>> &columns)
{
    std::array<QString, FieldCount> cells;
    for (int column = 0; column < columns.size() && column < record.fields.size(); ++column) {
        if (columns.at(column))
            cells[size_t(*columns.at(column))] = cellText(record.fields.at(column));
    }
    const auto cell = [&](Field field) { return cells[size_t(field)]; };
    Customer c;
    c.name = cell(Field::Name);
    if (c.name.isEmpty())
        return Text::tr("it has no 顧客名");
    c.kana = cell(Field::Kana);
    const QString honorific = cell(Field::Honorific);
    if (honorific == QStringLiteral("様"))
        c.honorific = 1;
    else if (!honorific.isEmpty() && honorific != QStringLiteral("御中"))
        return Text::tr("its 敬称 %1 is neither 御中 nor 様").arg(honorific);
    c.department = cell(Field::Department);
    c.contactTitle = cell(Field::ContactTitle);
    c.contactName = cell(Field::ContactName);
    const std::optional<QString> postal = normalizedPostalCode(cell(Field::PostalCode));
    if (!postal)
        return Text::tr("its 郵便番号 %1 is not seven digits").arg(cell(Field::PostalCode));
    c.postalCode = *postal;
    c.address1 = cell(Field::Address1);
    c.address2 = cell(Field::Address2);
    c.telephone = cell(Field::Telephone);
    c.email = cell(Field::Email);
    c.peppolId = cell(Field::PeppolId);
    c.note = cell(Field::Note);
    int closingDay = MonthEndDay;
    if (!cell(Field::ClosingDay).isEmpty()) {
        const std::optional<int> day = parseClosingDay(cell(Field::ClosingDay));
        if (!day)
            return Text::tr("its 締め日 %1 is no day of the month").arg(cell(Field::ClosingDay));
        closingDay = *day;
    }
    if (!cell(Field::Terms).isEmpty()) {
        c.terms = parsePaymentTerms(cell(Field::Terms), closingDay);
        if (!c.terms)
            return Text::tr("its 支払条件 %1 reads as no payment terms").arg(cell(Field::Terms));
    } else if (!cell(Field::ClosingDay).isEmpty()) {
        // A closing day alone is kept, with the commonest terms after it: paid by the next month's end.
        PaymentTerms terms;
        terms.closingDay = closingDay;
        c.terms = terms;
    }
    return c;
}

QStringList cellsOf(const Customer &c)
{
    return {c.name,
            c.kana,
            c.honorific == 1 ? QStringLiteral("様") : QStringLiteral("御中"),
            c.department,
            c.contactTitle,
            c.contactName,
            c.postalCode,
            c.address1,
            c.address2,
            c.telephone,
            c.email,
            c.peppolId,
            c.terms && c.terms->basis == PaymentTerms::Basis::Closing
                ? (c.terms->closingDay >= MonthEndDay ? QStringLiteral("末") : QString::number(c.terms->closingDay))
                : QString(),
            c.terms ? paymentTermsText(*c.terms) : QString(),
            c.note};
}

} // namespace

QStringList customerColumnTitles()
{
    QStringList written;
    for (const QStringList &field : titles())
        written.append(field.front());
    return written;
}

Result<CustomerImport> readCustomerCsv(const QByteArray &bytes)
{
    const Result<DecodedText> decoded = decodeText(bytes);
    if (!decoded)
        return decoded.fault();
    const DelimitedText table = splitDelimited(decoded->text, guessDelimiter(decoded->text), Quoting::Strict);
    CustomerImport read;
    read.encoding = decoded->encoding;
    read.skipped = table.skipped;
    if (table.records.isEmpty())
        return Fault{FaultKind::BadInput, Text::tr("The file holds no customers.")};
    QList<std::optional<Field>> columns;
    for (const QString &title : table.records.front().fields) {
        const std::optional<Field> field = fieldOfTitle(title.trimmed());
        // A field named twice is read from its first column.
        columns.append(field && !columns.contains(field) ? field : std::nullopt);
        if (!field && !title.trimmed().isEmpty())
            read.ignoredColumns.append(title.trimmed());
    }
    if (!columns.contains(std::optional<Field>(Field::Name)))
        return Fault{FaultKind::BadInput,
                     Text::tr("The first line must name the columns, and one of them 顧客名 (the customer's name).")};
    for (qsizetype i = 1; i < table.records.size(); ++i) {
        const TextRecord &record = table.records.at(i);
        // Spreadsheets save rows of empty cells below a list: they are no customer and no mistake.
        if (std::all_of(record.fields.cbegin(), record.fields.cend(),
                        [](const QString &field) { return field.trimmed().isEmpty(); }))
            continue;
        std::variant<Customer, QString> customer = customerOfRecord(record, columns);
        if (auto *reason = std::get_if<QString>(&customer))
            read.skipped.append({record.line, *reason});
        else
            read.customers.append(std::get<Customer>(std::move(customer)));
    }
    std::sort(read.skipped.begin(), read.skipped.end(),
              [](const SkippedLine &a, const SkippedLine &b) { return a.line < b.line; });
    return read;
}

Result<QByteArray> customerCsv(const QList<Customer> &customers, CustomerCsvEncoding encoding)
{
    QStringList lines;
    QStringList header;
    for (const QString &title : customerColumnTitles())
        header.append(csvField(title));
    lines.append(header.join(QLatin1Char(',')));
    for (const Customer &c : customers) {
        QStringList fields;
        for (const QString &cell : cellsOf(c))
            fields.append(csvField(inertCell(cell)));
        lines.append(fields.join(QLatin1Char(',')));
    }
    if (encoding == CustomerCsvEncoding::Utf8)
        return QByteArray("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    QByteArray bytes;
    for (qsizetype line = 0; line < lines.size(); ++line) {
        const std::variant<QByteArray, qsizetype> shiftJis = toShiftJis(lines.at(line) + QStringLiteral("\r\n"));
        if (const auto *encoded = std::get_if<QByteArray>(&shiftJis)) {
            bytes += *encoded;
            continue;
        }
        // Which customer holds the character, so that the user can change it or choose UTF-8.
        const qsizetype at = std::get<qsizetype>(shiftJis);
        const QString character = lines.at(line).mid(at, lines.at(line).at(at).isHighSurrogate() ? 2 : 1);
        return Fault{
            FaultKind::BadInput,
            Text::tr("Shift_JIS has no %1, which %2 holds. Save the list in UTF-8 instead, or change the text.")
                .arg(character, line >= 1 ? customers.at(line - 1).name : lines.at(line))};
    }
    return bytes;
}

} // namespace seikyu
