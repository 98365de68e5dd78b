#pragma once

#include "customers/PaymentTerms.h"

#include <QString>
#include <optional>

namespace seikyu {

/// One customer as a business keeps it. A customer has an identity of its own (`id`), so renaming
/// it keeps everything else it holds.
struct Customer
{
    qint64 id = 0;        ///< the book's identity for it; 0 until it is stored
    QString name;         ///< 株式会社山田商事, or a person's name
    QString kana;         ///< the reading, for sorting and searching: ヤマダショウジ
    int honorific = 0;    ///< 0 御中 (a company), 1 様 (a person)
    QString department;   ///< 経理部
    QString contactTitle; ///< 部長
    QString contactName;  ///< 山田太郎
    QString postalCode;   ///< 100-0005
    QString address1;     ///< 東京都千代田区丸の内1-1-1
    QString address2;     ///< 丸の内ビル 12階
    QString telephone;
    QString email;
    QString peppolId;                  ///< the e-invoice address, "0188:…" or "0221:…"
    std::optional<PaymentTerms> terms; ///< its closing day and payment terms; none when not agreed
    QString note;

    /// The contact person with their title in front, as an address block names them.
    QString attention() const;

    friend bool operator==(const Customer &, const Customer &) = default;
};

} // namespace seikyu
