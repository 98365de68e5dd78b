#include "ledger/ServerProblem.h"

#include <QList>
#include <QRegularExpression>
#include <utility>

namespace seikyu {

namespace {

/// A sign in libpq's or the server's words, English first and then as the Japanese catalogues
/// word it. The first that matches decides, so the narrower signs come first.
struct Sign
{
    const char *pattern;
    ServerProblem problem;
};

const Sign Signs[] = {
    // A keyword's value libpq does not take: the text is wrong, nothing was sent anywhere.
    {R"(invalid \S+ value: ")", ServerProblem::BadText},
    {"の値が不正", ServerProblem::BadText},
    {"invalid integer value", ServerProblem::BadText},
    {"不正な整数値", ServerProblem::BadText},
    {"invalid connection option", ServerProblem::BadText},
    {"接続オプション\"[^\"]*\"は不正です", ServerProblem::BadText},
    {"invalid port number", ServerProblem::BadText},
    {"不正なポート番号", ServerProblem::BadText},
    // Nothing there, or nothing that answers: a host that takes the connection and then stays
    // silent ends in libpq's timeout.
    {"timeout expired", ServerProblem::NoServer},
    {"タイムアウト期間が過ぎました", ServerProblem::NoServer},
    {"Is the server running", ServerProblem::NoServer},
    {"稼働していて", ServerProblem::NoServer},
    {"could not translate host name", ServerProblem::NoServer},
    {"をアドレスに変換できませんでした", ServerProblem::NoServer},
    {"server closed the connection unexpectedly", ServerProblem::NoServer},
    {"サーバーとの接続が想定外にクローズされました", ServerProblem::NoServer},
    {"SSL SYSCALL error", ServerProblem::NoServer},
    // The login: password, peer, certificate… authentication, a missing password, an unknown role.
    {"authentication failed", ServerProblem::WrongPassword},
    {"認証に失敗しました", ServerProblem::WrongPassword},
    {"no password supplied", ServerProblem::WrongPassword},
    {R"(role "[^"]*" does not exist)", ServerProblem::WrongPassword},
    {R"(ロール"[^"]*"は存在しません)", ServerProblem::WrongPassword},
    {R"(database "[^"]*" does not exist)", ServerProblem::NoSuchDatabase},
    {R"(データベース"[^"]*"は存在しません)", ServerProblem::NoSuchDatabase},
    {"permission denied for", ServerProblem::PermissionDenied},
    {"へのアクセスが拒否されました", ServerProblem::PermissionDenied},
    // The server's rules do not admit this user from here (its "SSL off" is no TLS failure).
    {"pg_hba\\.conf", ServerProblem::Other},
    {"SSL", ServerProblem::Tls},
    {"certificate", ServerProblem::Tls},
    {"証明書", ServerProblem::Tls},
    {"private key", ServerProblem::Tls},
    {"秘密鍵", ServerProblem::Tls},
};

/// The kinds of object a "permission denied" names, as PostgreSQL's Japanese catalogue words them.
const std::pair<const char *, const char *> JapaneseKinds[] = {
    {"テーブル", "table"}, {"関数", "function"},          {"スキーマ", "schema"},       {"シーケンス", "sequence"},
    {"ビュー", "view"},    {"プロシージャ", "procedure"}, {"データベース", "database"},
};

} // namespace

QString sqlStateIn(const QString &text)
{
    // QPSQL appends the state in parentheses to the server's text; a key's value in its detail
    // may look alike, but comes before it.
    static const QRegularExpression state(QStringLiteral(R"(\(([0-9A-Z]{5})\))"));
    QString found;
    for (QRegularExpressionMatchIterator it = state.globalMatch(text); it.hasNext();)
        found = it.next().captured(1);
    return found;
}

ServerProblem classifyServerError(const QString &text, const QString &sqlState)
{
    const QString state = sqlState.isEmpty() ? sqlStateIn(text) : sqlState;
    if (!state.isEmpty()) {
        if (state == QLatin1String("42501"))
            return ServerProblem::PermissionDenied;
        if (state == QLatin1String("3D000"))
            return ServerProblem::NoSuchDatabase;
        if (state.startsWith(QLatin1String("28")))
            return ServerProblem::WrongPassword;
        // A connection lost, or a server starting up, shutting down or out of connections.
        if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
            state == QLatin1String("53300"))
            return ServerProblem::NoServer;
        return ServerProblem::Other;
    }
    static const QList<std::pair<QRegularExpression, ServerProblem>> signs = [] {
        QList<std::pair<QRegularExpression, ServerProblem>> compiled;
        for (const Sign &sign : Signs)
            compiled.append({QRegularExpression(QString::fromUtf8(sign.pattern)), sign.problem});
        return compiled;
    }();
    for (const auto &[pattern, problem] : signs) {
        if (pattern.match(text).hasMatch())
            return problem;
    }
    return ServerProblem::None;
}

DeniedObject deniedObject(const QString &text)
{
    static const QRegularExpression english(QStringLiteral(R"re(permission denied for (\w+) "?([^"\s]+)"?)re"));
    if (const QRegularExpressionMatch match = english.match(text); match.hasMatch())
        return {match.captured(1), match.captured(2)};
    static const QRegularExpression japanese(
        QStringLiteral(R"re((\S+?) ?"?([^"\s]+?)"? ?へのアクセスが拒否されました)re"));
    if (const QRegularExpressionMatch match = japanese.match(text); match.hasMatch()) {
        for (const auto &[word, kind] : JapaneseKinds) {
            if (match.captured(1).endsWith(QString::fromUtf8(word)))
                return {QString::fromLatin1(kind), match.captured(2)};
        }
    }
    return {};
}

QString serverSaid(const QString &text)
{
    QString said = text;
    if (const qsizetype driver = said.lastIndexOf(QLatin1String("QPSQL: ")); driver >= 0)
        said.truncate(driver);
    return said.trimmed();
}

} // namespace seikyu
