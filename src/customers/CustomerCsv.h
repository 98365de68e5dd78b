#pragma once

#include "base/Result.h"
#include "customers/Customer.h"
#include "import/DelimitedText.h"
#include "import/TextDecoding.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace seikyu {

/// A customer list as read from a spreadsheet or another program's export, before it is added.
struct CustomerImport
{
    QList<Customer> customers;
    QList<SkippedLine> skipped; ///< lines left out, and why
    QStringList ignoredColumns; ///< header titles that name nothing a customer holds
    TextEncoding encoding = TextEncoding::Utf8;
};

/// The column titles a customer list is written with, in order; reading knows these and the
/// titles other programs use for the same (取引先名, 会社名, ふりがな, 住所, TEL, 備考, …).
QStringList customerColumnTitles();

/// Reads a customer list: CSV in UTF-8 (with or without BOM), UTF-16 or Shift_JIS (CP932), its first
/// line naming the columns in Japanese. A line without a name, or with a postal code, honorific,
/// closing day or payment terms that read as none, is left out with the reason. A list whose first
/// line names no 顧客名 column, or that is no text, is refused (BadInput).
Result<CustomerImport> readCustomerCsv(const QByteArray &bytes);

/// The customers as CSV with the titles of customerColumnTitles(), lines ended by CRLF. In UTF-8 with
/// a byte-order mark (so that spreadsheets read it as UTF-8), or in Shift_JIS for programs that read
/// nothing else; a customer whose text Shift_JIS cannot hold is refused there, by name (BadInput).
enum class CustomerCsvEncoding { Utf8, ShiftJis };
Result<QByteArray> customerCsv(const QList<Customer> &customers, CustomerCsvEncoding encoding);

} // namespace seikyu
