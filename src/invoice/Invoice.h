#pragma once

#include "table/ItemRow.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace seikyu {

/// The customer's address as the invoice shows it in the envelope's window, as it was when the
/// invoice was made: the customer book may change later, an invoice sent does not.
struct CustomerPostalAddress
{
    QString postalCode; ///< "100-0005"; empty when there is none
    QString address;    ///< the address, its lines separated by a line feed
    QString department; ///< 経理部
    QString attention;  ///< the contact person with their title in front: "部長 山田太郎"

    bool isEmpty() const
    {
        return postalCode.isEmpty() && address.isEmpty() && department.isEmpty() && attention.isEmpty();
    }
    friend bool operator==(const CustomerPostalAddress &, const CustomerPostalAddress &) = default;
};

/// What kind of document the file is: the invoice, or one of the documents beside it.
enum class DocumentKind {
    Invoice,  ///< 請求書; files without a kind are invoices
    Quote,    ///< 見積書
    Delivery, ///< 納品書
    Receipt,  ///< 領収書
};

/// What makes an invoice a month's statement (合計請求書): the closing period, the balance it
/// carries from the previous statement and the delivery slips it bills. The page's amount box bills
/// the carried balance with the table's total; the ledger owes the table's total alone, as the
/// carried balance is still owed on the invoices that billed it.
struct StatementFacts
{
    QDate from;          ///< the first day of the period
    QDate to;            ///< the closing day
    qint64 previous = 0; ///< 前回御請求額: what was owed when the previous statement was issued
    qint64 paid = 0;     ///< 御入金額: the payments against it recorded since
    QStringList slips;   ///< the numbers of the delivery slips the statement bills

    qint64 carried() const { return previous - paid; } ///< 繰越金額
    friend bool operator==(const StatementFacts &, const StatementFacts &) = default;
};

/// One invoice's values, without any widget: what the page shows, what its file holds and what the
/// ledger and the e-invoice are made from.
///
/// A title, customer, issuer or amount box that a file does not hold is absent, not empty: opening
/// such a file keeps the section's own default. The page always has them.
struct Invoice
{
    std::optional<QString> title; ///< the title as shown ("請求書")
    QDate date;                   ///< the invoice date; invalid when a file has none
    bool japaneseEra = false;     ///< the date shown in the Japanese era (令和) rather than the western year

    std::optional<QString> customer; ///< the customer's name, without its honorific
    int honorificChoice = 0;         ///< the honorific chosen for the customer: 0 御中, 1 様, -1 none
    QString honorificShown;          ///< the honorific the page shows after the name; empty when none

    std::optional<QString> issuer;    ///< the issuer block: postal code, address, name, telephone, bank…
    std::optional<QString> amountBox; ///< the amount box text exactly as shown (a filled box starts with U+0008)

    QList<ItemRow> rows;   ///< the item table below its header, sums rows included
    int taxRate = 8;       ///< the consumption-tax rate of rows of the standard class: 10, or 8 as older invoices had
    bool taxOnTop = false; ///< the tax is added to the prices; false when the prices include it
    bool withholding = false; ///< income tax is withheld (源泉徴収)

    QString number;                        ///< the invoice number; empty when there is none
    QDate dueDate;                         ///< the payment due date; invalid when there is none
    QString remarks;                       ///< the remarks under the table; empty when there are none
    QString customerElectronicAddress;     ///< the customer's Peppol ID ("0188:…"); empty when there is none
    CustomerPostalAddress customerAddress; ///< empty for invoices made before the customer book
    DocumentKind kind = DocumentKind::Invoice;
    bool paper = false; ///< a receipt handed over on paper, which may need a revenue stamp
    /// A delivery slip that goes with the goods without its prices: the paper leaves out the unit
    /// prices, the prices, the sums and the amount; the file keeps them all.
    bool amountsHidden = false;
    std::optional<StatementFacts> statement; ///< only on a month's statement
    /// The ledger's entry of the payment a receipt acknowledges; 0 for none. Issuing the receipt
    /// ties it to that payment.
    qint64 payment = 0;
    /// The document this one was made from ("見積書 No. Q2026-0001"), which its ledger entry names;
    /// empty for none.
    QString madeFrom;

    friend bool operator==(const Invoice &, const Invoice &) = default;
};

/// The balance a statement bills in its amount box beside its table's total; 0 for any other invoice.
inline qint64 carriedBalanceOf(const Invoice &invoice)
{
    return invoice.statement ? invoice.statement->carried() : 0;
}

/// The number of honorifics a customer may be given.
inline constexpr int HonorificCount = 2;

/// The honorific of a choice: 御中 (0), 様 (1); empty for any other.
QString honorificLabel(int choice);

/// The customer's name: the addressee line without the honorific it carries (" 御中" or " 様"
/// dropped from its end). A line without an honorific is the name, even one ending in 様 (お客様).
QString customerName(const QString &addresseeLine, const QString &honorific);

} // namespace seikyu
