#include "einvoice/BankAccount.h"

#include <QRegularExpression>

namespace seikyu {

std::optional<BankAccount> parseBankAccount(const QString &line)
{
    // Full-width digits, brackets and spaces folded first: the shape is then one expression.
    QString folded = line.normalized(QString::NormalizationForm_KC).simplified();
    folded.replace(QStringLiteral("口座番号"), QString()).replace(QStringLiteral("口座名義"), QString());
    static const QRegularExpression shape(
        QStringLiteral("^(\\S+?(?:銀行|信用金庫|信金|信用組合|労働金庫|農業協同組合|農協|バンク))\\s*(?:\\((\\d{4})\\))"
                       "?[\\s,、]*"                                                                 // the bank
                       "(\\S+?(?:支店|出張所|営業部|本店|支所|店))\\s*(?:\\((\\d{3})\\))?[\\s,、]*" // the branch
                       "(普通|当座|貯蓄)(?:預金)?[\\s,、:]*"                                        // the type
                       "(?:No\\.?\\s*)?(\\d{7})"                                                    // the number
                       "(?:[\\s,、]+(.+))?$"));                                                     // the holder
    const QRegularExpressionMatch match = shape.match(folded);
    if (!match.hasMatch())
        return std::nullopt;
    BankAccount account;
    account.bank = match.captured(1);
    account.bankCode = match.captured(2);
    account.branch = match.captured(3);
    account.branchCode = match.captured(4);
    account.type = match.captured(5);
    account.number = match.captured(6);
    account.holder = match.captured(7).trimmed();
    return account;
}

} // namespace seikyu
