#pragma once

#include <QString>
#include <optional>

namespace seikyu {

/// A Japanese bank account as an invoice's bank line gives it: "みずほ銀行(0001) 丸の内支店(110) 普通
/// 1234567 ヤマダシヨクヒン（カ". The codes and the holder are optional; the bank, the branch, the
/// type and the number are not.
struct BankAccount
{
    QString bank;       ///< みずほ銀行
    QString bankCode;   ///< 4 digits (金融機関コード); empty when not given
    QString branch;     ///< 丸の内支店
    QString branchCode; ///< 3 digits (支店コード); empty when not given
    QString type;       ///< 普通, 当座 or 貯蓄
    QString number;     ///< 7 digits
    QString holder;     ///< the holder's name as the bank writes it (in kana); empty when not given

    friend bool operator==(const BankAccount &, const BankAccount &) = default;
};

/// The account a bank line describes; nothing when the line does not give a bank, a branch, the
/// account's type and its seven-digit number in that order (the line is then only text to print).
std::optional<BankAccount> parseBankAccount(const QString &line);

} // namespace seikyu
