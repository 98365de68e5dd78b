#pragma once

#include "invoice/Invoice.h"

#include <QDate>
#include <QString>
#include <optional>

namespace seikyu {

/// What a kind of document says on its page where an invoice says its own words. They are the
/// documents' own Japanese and are never translated.
struct KindWords
{
    QString title; ///< the title a new document of the kind starts with: 請求書, 見積書, 納品書, 領収書
    QString amountHeading; ///< the amount box's heading: 御請求金額, 御見積金額, 合計金額, 領収金額
    QString numberLabel;   ///< before the number under the date: "No.", or 見積番号 on a quotation
    /// Before the date under the amount: お支払期限 of an invoice, 有効期限 of a quotation; empty for
    /// the kinds that have no such date and say `statement` there instead.
    QString dueLabel;
    QString statement; ///< 下記の通り納品いたしました, 上記正に領収いたしました; empty for the others
    QString remarksHeading; ///< 備考, or 但し書き on a receipt
    QString numberPattern;  ///< the numbers a new document of the kind is given unless the user sets another
};

KindWords kindWords(DocumentKind kind);

/// The saved list of titles the title panel of a document of `kind` chooses from: each kind keeps
/// its own, so a quotation is not offered 請求書. An invoice's is the list it always was ("head").
QString titleListKey(DocumentKind kind);
/// The titles a kind's list starts with until the user changes it; none for an invoice, whose
/// list starts empty as it always did.
QStringList startingTitles(DocumentKind kind);

/// The amount box's text as a document of `kind` shows it: a filled box's heading (御請求金額, as
/// every file stores it) becomes the kind's own; any other text is shown as it is.
QString amountBoxOfKind(const QString &box, DocumentKind kind);

/// Whether the document's paper leaves its amounts out: a delivery slip told to.
bool leavesAmountsOut(const Invoice &document);
/// The document as its paper shows it: a slip that leaves its amounts out without its unit prices,
/// prices, sums rows and amount box; any other document as it is.
Invoice paperShownOf(const Invoice &document);

/// The line under the amount: the due date or the validity with the kind's words (empty without a
/// date), or the kind's statement.
QString underAmountText(DocumentKind kind, const QDate &due, bool japaneseEra);

/// The number under the date with the kind's label ("No. 2026-0012", "見積番号 Q2026-0003"); empty
/// without a number.
QString numberOfKind(DocumentKind kind, const QString &number);

/// The receipt's amount received and the consumption tax it states apart, read from the sums rows
/// that end its table (合計 or 差引請求額, and every 消費税 or 内消費税 row); nullopt without sums.
struct ReceivedAmount
{
    qint64 amount = 0;
    qint64 statedTax = 0;
};
std::optional<ReceivedAmount> receivedAmountOf(const QList<ItemRow> &rows);

/// What a paper receipt's page says of the revenue stamp: when one is due, a box headed 収入印紙 to
/// put it on, with the duty ("200円") inside; otherwise why none is due. Empty for a receipt sent
/// electronically and any other kind.
struct StampDutyNote
{
    QString text;
    bool box = false; ///< a stamp is due: the text is its duty, set in a box headed 収入印紙
};
StampDutyNote stampDutyNoteOf(const Invoice &invoice, bool issuerInBusiness);

} // namespace seikyu
