#pragma once

#include "table/ItemRow.h"

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace seikyu {

/// What an invoice file records, as read off the page by the writer.
struct InvoicePage
{
    QString head;          ///< the title as shown
    QDate date;            ///< the invoice date
    QString whomText;      ///< the addressee line as shown: name, space, honorific
    QString whomHonorific; ///< the honorific that line carries; empty when it is the name alone
    QString from;          ///< the issuer block, five lines
    QString full;          ///< the amount box text exactly as shown
    QList<ItemRow> rows;
    qint64 jgen = 0;
    qint64 tail = 0;
    qint64 plus = 0;
    int rate = 8;      ///< the invoice's consumption-tax rate; 8 is not written, as files always had it
    bool hold = false; ///< income tax withheld (源泉徴収); written only when on
    QString numb;      ///< the invoice number; written only when there is one
    QDate dues;        ///< the payment due date; written only when there is one
    QString note;      ///< the remarks under the table; written only when there are some
    QString peer;      ///< the customer's electronic address ("0188:…"); written only when there is one
};

/// An invoice file as read, with every member already checked for type. Members that were
/// missing, null or of the wrong type are absent.
struct InvoiceContents
{
    std::optional<QString> head;
    std::optional<QString> whom;
    std::optional<QString> from;
    std::optional<QString> full;
    std::optional<QDate> date;
    QList<ItemRow> rows; ///< elements 1 onward of "item"
    bool jgen = false;
    bool plus = false;
    int rate = 8;      ///< "rate": 10, or 8 when absent
    bool hold = false; ///< "hold": 1 when the sums withhold income tax
    QString numb;      ///< "numb": the invoice number, empty when there is none
    QDate dues;        ///< "dues": the payment due date, "yyyy-MM-dd"; invalid when there is none
    QString note;      ///< "note": the remarks, empty when there are none
    QString peer;      ///< "peer": the customer's electronic address, empty when there is none
    int tail = 0;      ///< -1 selects no honorific
};

struct InvoiceReadResult
{
    std::optional<InvoiceContents> contents;
    QString error; ///< why the file was refused, for the user
};

/// The customer's name: the addressee line without the honorific it carries (" 御中" or " 様"
/// dropped from its end). A line without an honorific is the name, even one ending in 様 (お客様).
QString customerName(const QString &whomText, const QString &honorific);

/// One "item" element's JSON form of a row; a row taxed otherwise than at the invoice's rate
/// carries its own "rate" (8 reduced, 0 exempt).
QJsonObject encodeRow(const ItemRow &row);

/// The file's bytes: UTF-8 JSON, indented, with the nine members every invoice has and the
/// optional ones that differ from an older invoice's defaults.
QByteArray writeInvoice(const InvoicePage &page);

/// Parses a file. Refuses (with a reason) bytes that are not JSON, a top level that is not an
/// object and an "item" that is not an array of objects; everything else is taken leniently.
InvoiceReadResult readInvoice(const QByteArray &bytes);

/// Reads a whole invoice file, refusing what cannot be one; the bytes or an explanation for the user.
bool readInvoiceFile(const QString &path, QByteArray *bytes, QString *error);

/// The number of honorific segments that "tail" may select.
inline constexpr int HonorificCount = 2;

} // namespace seikyu
