#pragma once

#include "base/Result.h"

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

/// The bank line of an account, as parseBankAccount reads it back: "みずほ銀行(0001) 丸の内支店(110) 普通
/// 1234567 ヤマダシヨクヒン(カ"; the codes and the holder only when given.
QString formatBankAccount(const BankAccount &account);

/// The account as typed into its fields, tidied (full-width digits and letters as an input method
/// gives them, spaces within names dropped) and checked: a bank and a branch by the names their
/// kind ends in, codes of four and three digits or none, a type, a seven-digit number. The fault
/// says which field is wrong and how.
Result<BankAccount> checkedBankAccount(const BankAccount &typed);

/// The issuer's text with its bank line replaced by `line`: the fifth line (where the bank account
/// is kept) when it reads as an account or no other does, else the first line that does. An issuer
/// text of fewer lines gets empty ones up to the bank line.
QString withBankLine(const QString &issuer, const QString &line);

/// The account of the issuer's bank line (the fifth line first, then any other); nothing when no
/// line reads as one.
std::optional<BankAccount> bankAccountOf(const QString &issuer);

} // namespace seikyu
