#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <utility>

namespace seikyu {

/// A customer's closing day (締め日): the day of the month up to which its purchases are billed
/// together, 1 to 28, or 31 for the month's end (末締め); a 29th or 30th typed closes at the month's end.
inline constexpr int MonthEndDay = 31;

/// When a customer pays (支払条件): a day some months after the closing, or some days after the
/// invoice date.
struct PaymentTerms
{
    enum class Basis { Closing, InvoiceDate };
    Basis basis = Basis::Closing;
    int closingDay = MonthEndDay; ///< 1 to 31; 31 is the month's end
    int months = 1;               ///< after the closing month: 0 当月, 1 翌月, 2 翌々月, …
    int day = MonthEndDay;        ///< the day of that month, 1 to 31; 31 is the month's end
    int days = 30;                ///< for Basis::InvoiceDate: days after the invoice date

    friend bool operator==(const PaymentTerms &, const PaymentTerms &) = default;
};

/// The closing date an invoice dated `invoiceDate` falls in: the first closing day on or after it.
QDate closingDateFor(const QDate &invoiceDate, int closingDay);

/// The latest closing period that has ended by `today`: from the day after the closing before it to
/// the last closing day before `today` (with 末締め on 9 December: 1 to 30 November).
std::pair<QDate, QDate> lastClosedPeriod(const QDate &today, int closingDay);

/// The due date the terms give for an invoice dated `invoiceDate`; invalid for an invalid date.
/// A due day past the month's end is its last day (31 → 28 or 29 February). Weekends and holidays
/// are not moved: the date is what the terms say, and the user sees and may change it.
QDate dueDateFromTerms(const QDate &invoiceDate, const PaymentTerms &terms);

/// The terms as a Japanese business writes them: "20日締め翌月末払い", "末締め翌々月10日払い",
/// "請求日から30日後払い".
QString paymentTermsText(const PaymentTerms &terms);

/// A closing day as typed in a customer list: "20", "２０日", "20日締め", "末", "末日", "月末",
/// "末締め"; nothing when it reads as none of them.
std::optional<int> parseClosingDay(const QString &text);

/// Payment terms as typed in a customer list, with or without the closing day in front:
/// "翌月末", "翌月末払い", "翌々月10日", "当月25日払い", "2ヶ月後末", "30日", "30日後",
/// "請求日から30日以内", "20日締め翌月末払い". A closing day the text does not give is `closingDay`.
/// Nothing when the text reads as no terms.
std::optional<PaymentTerms> parsePaymentTerms(const QString &text, int closingDay = MonthEndDay);

} // namespace seikyu
