#include "ledger/PostgresTarget.h"

#include <QCoreApplication>
#include <QUrl>

namespace seikyu {

namespace {

/// Text libpq would not take: the user's to put right.
Fault refused(const QString &why)
{
    return Fault{FaultKind::BadInput, why};
}

/// The texts of this file share one translation context, declared where lupdate sees it too.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(PostgresTarget)
};

/// The keywords libpq knows; anything else it refuses to connect with.
bool isLibpqKeyword(const QString &key)
{
    static const QStringList keywords = {QStringLiteral("host"),
                                         QStringLiteral("hostaddr"),
                                         QStringLiteral("port"),
                                         QStringLiteral("dbname"),
                                         QStringLiteral("user"),
                                         QStringLiteral("password"),
                                         QStringLiteral("passfile"),
                                         QStringLiteral("channel_binding"),
                                         QStringLiteral("connect_timeout"),
                                         QStringLiteral("client_encoding"),
                                         QStringLiteral("options"),
                                         QStringLiteral("application_name"),
                                         QStringLiteral("fallback_application_name"),
                                         QStringLiteral("keepalives"),
                                         QStringLiteral("keepalives_idle"),
                                         QStringLiteral("keepalives_interval"),
                                         QStringLiteral("keepalives_count"),
                                         QStringLiteral("tcp_user_timeout"),
                                         QStringLiteral("replication"),
                                         QStringLiteral("gssencmode"),
                                         QStringLiteral("sslmode"),
                                         QStringLiteral("requiressl"),
                                         QStringLiteral("sslcompression"),
                                         QStringLiteral("sslcert"),
                                         QStringLiteral("sslkey"),
                                         QStringLiteral("sslpassword"),
                                         QStringLiteral("sslrootcert"),
                                         QStringLiteral("sslcrl"),
                                         QStringLiteral("sslcrldir"),
                                         QStringLiteral("sslsni"),
                                         QStringLiteral("requirepeer"),
                                         QStringLiteral("ssl_min_protocol_version"),
                                         QStringLiteral("ssl_max_protocol_version"),
                                         QStringLiteral("krbsrvname"),
                                         QStringLiteral("gsslib"),
                                         QStringLiteral("service"),
                                         QStringLiteral("target_session_attrs"),
                                         QStringLiteral("load_balance_hosts")};
    return keywords.contains(key);
}

/// The values libpq takes for a keyword of a few words; empty for any other keyword.
QStringList valuesOf(const QString &key)
{
    if (key == QLatin1String("sslmode"))
        return {QStringLiteral("disable"), QStringLiteral("allow"),     QStringLiteral("prefer"),
                QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    if (key == QLatin1String("gssencmode") || key == QLatin1String("channel_binding"))
        return {QStringLiteral("disable"), QStringLiteral("prefer"), QStringLiteral("require")};
    if (key == QLatin1String("target_session_attrs"))
        return {QStringLiteral("any"),     QStringLiteral("read-write"), QStringLiteral("read-only"),
                QStringLiteral("primary"), QStringLiteral("standby"),    QStringLiteral("prefer-standby")};
    return {};
}

Result<void> assign(PostgresTarget &target, const QString &key, const QString &value)
{
    if (!isLibpqKeyword(key)) {
        return refused(Text::tr("“%1” is not a PostgreSQL connection setting.").arg(key));
    }
    if (const QStringList choices = valuesOf(key); !choices.isEmpty() && !choices.contains(value)) {
        return refused(
            Text::tr("“%1” is not a value of %2, which takes %3.").arg(value, key, choices.join(QStringLiteral(", "))));
    }
    if (key == QLatin1String("host"))
        target.host = value;
    else if (key == QLatin1String("dbname"))
        target.dbname = value;
    else if (key == QLatin1String("user"))
        target.user = value;
    else if (key == QLatin1String("password"))
        target.password = value;
    else if (key == QLatin1String("port")) {
        bool number = false;
        const int port = value.toInt(&number);
        if (!number || port <= 0 || port > 65535) {
            return refused(Text::tr("The port “%1” is not a number from 1 to 65535.").arg(value));
        }
        target.port = port;
    } else {
        for (auto &option : target.options) {
            if (option.first == key) {
                option.second = value;
                return {};
            }
        }
        target.options.append({key, value});
    }
    return {};
}

Result<PostgresTarget> parseConninfo(const QString &text)
{
    PostgresTarget target;
    qsizetype at = 0;
    const qsizetype size = text.size();
    auto skipSpace = [&] {
        while (at < size && text.at(at).isSpace())
            ++at;
    };
    skipSpace();
    while (at < size) {
        const qsizetype keyStart = at;
        while (at < size && text.at(at) != QLatin1Char('=') && !text.at(at).isSpace())
            ++at;
        const QString key = text.mid(keyStart, at - keyStart);
        skipSpace();
        if (at >= size || text.at(at) != QLatin1Char('=')) {
            return refused(Text::tr("“%1” needs a value after “=”.").arg(key));
        }
        ++at;
        skipSpace();
        QString value;
        if (at < size && text.at(at) == QLatin1Char('\'')) {
            ++at;
            bool closed = false;
            while (at < size) {
                const QChar c = text.at(at++);
                if (c == QLatin1Char('\\') && at < size)
                    value.append(text.at(at++));
                else if (c == QLatin1Char('\'')) {
                    closed = true;
                    break;
                } else
                    value.append(c);
            }
            if (!closed)
                return refused(Text::tr("A quoted value is not closed."));
        } else {
            while (at < size && !text.at(at).isSpace()) {
                const QChar c = text.at(at++);
                if (c == QLatin1Char('\\') && at < size)
                    value.append(text.at(at++));
                else
                    value.append(c);
            }
        }
        if (Result<void> assigned = assign(target, key, value); !assigned)
            return assigned.fault();
        skipSpace();
    }
    return target;
}

Result<PostgresTarget> parseUri(const QString &text)
{
    const qsizetype schemeEnd = text.indexOf(QLatin1String("://"));
    QString rest = text.mid(schemeEnd + 3);
    PostgresTarget target;
    QString query;
    if (const qsizetype mark = rest.indexOf(QLatin1Char('?')); mark >= 0) {
        query = rest.mid(mark + 1);
        rest.truncate(mark);
    }
    QString authority = rest;
    if (const qsizetype slash = rest.indexOf(QLatin1Char('/')); slash >= 0) {
        authority = rest.left(slash);
        target.dbname = QUrl::fromPercentEncoding(rest.mid(slash + 1).toUtf8());
    }
    if (const qsizetype atSign = authority.lastIndexOf(QLatin1Char('@')); atSign >= 0) {
        const QString credentials = authority.left(atSign);
        authority = authority.mid(atSign + 1);
        const qsizetype colon = credentials.indexOf(QLatin1Char(':'));
        target.user = QUrl::fromPercentEncoding(credentials.left(colon).toUtf8());
        if (colon >= 0)
            target.password = QUrl::fromPercentEncoding(credentials.mid(colon + 1).toUtf8());
    }
    QString host = authority;
    QString port;
    if (host.startsWith(QLatin1Char('['))) { // an IPv6 address
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0) {
            return refused(Text::tr("An IPv6 address in brackets is not closed."));
        }
        port = host.mid(close + 1).startsWith(QLatin1Char(':')) ? host.mid(close + 2) : QString();
        host = host.mid(1, close - 1);
    } else if (const qsizetype colon = host.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        port = host.mid(colon + 1);
        host.truncate(colon);
    }
    target.host = QUrl::fromPercentEncoding(host.toUtf8());
    if (!port.isEmpty()) {
        if (Result<void> assigned = assign(target, QStringLiteral("port"), port); !assigned)
            return assigned.fault();
    }
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            return refused(Text::tr("“%1” needs a value after “=”.").arg(pair));
        }
        const QString key = QUrl::fromPercentEncoding(pair.left(equals).toUtf8());
        const QString value = QUrl::fromPercentEncoding(pair.mid(equals + 1).toUtf8().replace('+', ' '));
        if (Result<void> assigned = assign(target, key, value); !assigned)
            return assigned.fault();
    }
    return target;
}

QString quoted(const QString &value)
{
    if (!value.isEmpty() && !value.contains(QLatin1Char(' ')) && !value.contains(QLatin1Char('\'')) &&
        !value.contains(QLatin1Char('\\')))
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace

QString PostgresTarget::connectOptions() const
{
    QStringList parts;
    for (const auto &[key, value] : options)
        parts.append(key + QLatin1Char('=') + quoted(value));
    return parts.join(QLatin1Char(';'));
}

QString PostgresTarget::display() const
{
    QStringList parts;
    if (!host.isEmpty())
        parts.append(QStringLiteral("host=") + quoted(host));
    if (port > 0)
        parts.append(QStringLiteral("port=%1").arg(port));
    if (!dbname.isEmpty())
        parts.append(QStringLiteral("dbname=") + quoted(dbname));
    if (!user.isEmpty())
        parts.append(QStringLiteral("user=") + quoted(user));
    for (const auto &[key, value] : options)
        parts.append(key + QLatin1Char('=') + quoted(value));
    return parts.join(QLatin1Char(' '));
}

Result<PostgresTarget> parsePostgresTarget(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return refused(Text::tr("No server is given."));
    }
    const bool uri =
        trimmed.startsWith(QLatin1String("postgresql://")) || trimmed.startsWith(QLatin1String("postgres://"));
    if (!uri && trimmed.contains(QLatin1String("://"))) {
        return refused(Text::tr("Only postgresql:// addresses lead to a PostgreSQL server."));
    }
    Result<PostgresTarget> target = uri ? parseUri(trimmed) : parseConninfo(trimmed);
    if (target) {
        for (const auto &[key, value] : target->options) {
            if (value.contains(QLatin1Char(';'))) { // the driver reads ';' as the options' separator
                return refused(Text::tr("The value of “%1” cannot hold a semicolon.").arg(key));
            }
        }
    }
    return target;
}

} // namespace seikyu
