#include "kinds/KindWords.h"

#include "kinds/StampDuty.h"
#include "sections/DateText.h"
#include "table/Amounts.h"
#include "table/SumsRows.h"

#include <QLocale>
#include <QRegularExpression>

namespace seikyu {

namespace {

const QString InvoiceHeading = QStringLiteral("御請求金額");

} // namespace

KindWords kindWords(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Quote:
        return {QStringLiteral("見積書"),
                QStringLiteral("御見積金額"),
                QStringLiteral("見積番号"),
                QStringLiteral("有効期限"),
                QString(),
                QStringLiteral("備考"),
                QStringLiteral("Q{yyyy}-{0000}")};
    case DocumentKind::Delivery:
        return {QStringLiteral("納品書"),
                QStringLiteral("合計金額"),
                QStringLiteral("No."),
                QString(),
                QStringLiteral("下記の通り納品いたしました"),
                QStringLiteral("備考"),
                QStringLiteral("D{yyyy}-{0000}")};
    case DocumentKind::Receipt:
        return {QStringLiteral("領収書"),
                QStringLiteral("領収金額"),
                QStringLiteral("No."),
                QString(),
                QStringLiteral("上記正に領収いたしました"),
                QStringLiteral("但し書き"),
                QStringLiteral("R{yyyy}-{0000}")};
    case DocumentKind::Invoice:
        break;
    }
    return {QStringLiteral("請求書"),       InvoiceHeading, QStringLiteral("No."),
            QStringLiteral("お支払期限"),   QString(),      QStringLiteral("備考"),
            QStringLiteral("{yyyy}-{0000}")};
}

QString titleListKey(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Quote:
        return QStringLiteral("head.quote");
    case DocumentKind::Delivery:
        return QStringLiteral("head.delivery");
    case DocumentKind::Receipt:
        return QStringLiteral("head.receipt");
    case DocumentKind::Invoice:
        break;
    }
    return QStringLiteral("head");
}

QStringList startingTitles(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Quote:
        return {QStringLiteral("見積書"), QStringLiteral("御見積書")};
    case DocumentKind::Delivery:
        return {QStringLiteral("納品書"), QStringLiteral("納品書（控）")};
    case DocumentKind::Receipt:
        return {QStringLiteral("領収書"), QStringLiteral("領収証")};
    case DocumentKind::Invoice:
        break;
    }
    return {};
}

QString amountBoxOfKind(const QString &box, DocumentKind kind)
{
    const QString stored = QLatin1Char('\b') + InvoiceHeading + QLatin1Char('\n');
    if (kind == DocumentKind::Invoice || !box.startsWith(stored))
        return box;
    return QLatin1Char('\b') + kindWords(kind).amountHeading + QLatin1Char('\n') + box.mid(stored.size());
}

bool leavesAmountsOut(const Invoice &document)
{
    return document.kind == DocumentKind::Delivery && document.amountsHidden;
}

Invoice paperShownOf(const Invoice &document)
{
    if (!leavesAmountsOut(document))
        return document;
    Invoice shown = document;
    QList<RowPtr> rows{ItemRow::makeHeader()};
    for (const ItemRow &row : document.rows)
        rows.append(std::make_shared<ItemRow>(row));
    if (const std::optional<RowRange> sums = trailingSums(rows))
        shown.rows.resize(sums->first - 1); // the header row is not one of the document's
    for (ItemRow &row : shown.rows) {
        row.setValue(Column::Solo, QString());
        row.setValue(Column::Sums, QString());
    }
    shown.amountBox = QString();
    return shown;
}

QString underAmountText(DocumentKind kind, const QDate &due, bool japaneseEra)
{
    const KindWords words = kindWords(kind);
    if (words.dueLabel.isEmpty())
        return words.statement;
    if (!due.isValid())
        return {};
    return words.dueLabel + QLatin1Char(' ') + pageDateText(due, japaneseEra);
}

QString numberOfKind(DocumentKind kind, const QString &number)
{
    return number.isEmpty() ? QString() : kindWords(kind).numberLabel + QLatin1Char(' ') + number;
}

std::optional<ReceivedAmount> receivedAmountOf(const QList<ItemRow> &rows)
{
    static const QRegularExpression taxRow(QStringLiteral("^(内)?消費税(\\(\\d{1,2}%\\))?$"));
    qsizetype first = rows.size();
    while (first > 0 && isSumsRow(rows.at(first - 1).cells()))
        --first;
    std::optional<ReceivedAmount> received;
    qint64 tax = 0;
    for (qsizetype i = first; i < rows.size(); ++i) {
        const QString label = rows.at(i).value(Column::Much).toString();
        const CellValue &value = rows.at(i).value(Column::Sums);
        // With withholding, 合計 comes before 差引請求額: what was received is the last one.
        if (label == SumsLabel::Total || label == SumsLabel::Payable)
            received = ReceivedAmount{amountOf(value), 0};
        else if (taxRow.match(label).hasMatch())
            tax += amountOf(value); // 税込済み, tax within prices that state none, reads as 0
    }
    if (received)
        received->statedTax = tax;
    return received;
}

StampDutyNote stampDutyNoteOf(const Invoice &invoice, bool issuerInBusiness)
{
    if (invoice.kind != DocumentKind::Receipt || !invoice.paper)
        return {};
    if (!issuerInBusiness)
        return {QStringLiteral("収入印紙 不要（営業に関しない受取書）"), false};
    const std::optional<ReceivedAmount> received = receivedAmountOf(invoice.rows);
    if (!received)
        return {};
    const qint64 duty = receiptStampDuty({received->amount, received->statedTax, true, true});
    if (duty == 0)
        return {QStringLiteral("収入印紙 不要（5万円未満）"), false};
    return {QStringLiteral("%1円").arg(QLocale(QLocale::Japanese, QLocale::Japan).toString(duty)), true};
}

} // namespace seikyu
