#include "einvoice/BankAccount.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace seikyu {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(BankAccount)
};

/// Where an issuer's text keeps its bank account: postal code, address, name, telephone, bank.
constexpr int BankLine = 4;

/// A typed field as the line holds it: full-width forms folded, spaces gone.
QString tidy(const QString &typed)
{
    QString folded = typed.normalized(QString::NormalizationForm_KC);
    static const QRegularExpression spaces(QStringLiteral("\\s"));
    folded.remove(spaces);
    return folded;
}

bool isDigits(const QString &text, int count)
{
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    return text.size() == count && digits.match(text).hasMatch();
}

/// The lines of the issuer's text in the order a bank line is looked for.
QList<int> bankLineOrder(const QStringList &lines)
{
    QList<int> order;
    if (lines.size() > BankLine)
        order.append(BankLine);
    for (int i = 0; i < lines.size(); ++i) {
        if (i != BankLine)
            order.append(i);
    }
    return order;
}

} // namespace

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

QString formatBankAccount(const BankAccount &account)
{
    const auto withCode = [](const QString &name, const QString &code) {
        return code.isEmpty() ? name : QStringLiteral("%1(%2)").arg(name, code);
    };
    QStringList parts{withCode(account.bank, account.bankCode), withCode(account.branch, account.branchCode),
                      account.type, account.number};
    if (!account.holder.trimmed().isEmpty())
        parts.append(account.holder.trimmed());
    return parts.join(QLatin1Char(' '));
}

Result<BankAccount> checkedBankAccount(const BankAccount &typed)
{
    BankAccount account;
    account.bank = tidy(typed.bank);
    account.bankCode = tidy(typed.bankCode);
    account.branch = tidy(typed.branch);
    account.branchCode = tidy(typed.branchCode);
    account.type = tidy(typed.type);
    account.number = tidy(typed.number);
    account.holder = typed.holder.normalized(QString::NormalizationForm_KC).simplified();
    const auto refused = [](const QString &why) { return Fault{FaultKind::BadInput, why}; };
    if (!account.bankCode.isEmpty() && !isDigits(account.bankCode, 4))
        return refused(Text::tr("The bank code is four digits (金融機関コード), such as 0001 for みずほ銀行."));
    if (!account.branchCode.isEmpty() && !isDigits(account.branchCode, 3))
        return refused(Text::tr("The branch code is three digits (支店コード), such as 110."));
    if (!isDigits(account.number, 7))
        return refused(Text::tr("The account number is seven digits; put zeros in front of a shorter one "
                                "(0123456)."));
    if (account.type != QStringLiteral("普通") && account.type != QStringLiteral("当座") &&
        account.type != QStringLiteral("貯蓄"))
        return refused(Text::tr("The account type is 普通, 当座 or 貯蓄."));
    // The names must end as a bank's and a branch's do: the line is then read back as the same
    // account, and the e-invoice carries it too.
    static const QRegularExpression bank(
        QStringLiteral("\\S(銀行|信用金庫|信金|信用組合|労働金庫|農業協同組合|農協|バンク)$"));
    static const QRegularExpression branch(QStringLiteral("\\S(支店|出張所|営業部|本店|支所|店)$"));
    if (!bank.match(account.bank).hasMatch())
        return refused(Text::tr("The bank's name ends in 銀行, 信用金庫, 信用組合, 労働金庫 or 農協, as in "
                                "みずほ銀行."));
    if (!branch.match(account.branch).hasMatch())
        return refused(Text::tr("The branch's name ends in 支店, 本店, 営業部, 出張所 or 店, as in 丸の内支店."));
    if (parseBankAccount(formatBankAccount(account)) != account)
        return refused(Text::tr("The account does not read back the same from its bank line: write the "
                                "names and the holder as the bank does, without brackets or commas."));
    return account;
}

QString withBankLine(const QString &issuer, const QString &line)
{
    QStringList lines = issuer.isEmpty() ? QStringList() : issuer.split(QLatin1Char('\n'));
    int target = BankLine;
    for (const int i : bankLineOrder(lines)) {
        if (parseBankAccount(lines.at(i))) {
            target = i;
            break;
        }
    }
    while (lines.size() <= target)
        lines.append(QString());
    lines[target] = line;
    return lines.join(QLatin1Char('\n'));
}

std::optional<BankAccount> bankAccountOf(const QString &issuer)
{
    const QStringList lines = issuer.split(QLatin1Char('\n'));
    for (const int i : bankLineOrder(lines)) {
        if (std::optional<BankAccount> account = parseBankAccount(lines.at(i)))
            return account;
    }
    return std::nullopt;
}

} // namespace seikyu
