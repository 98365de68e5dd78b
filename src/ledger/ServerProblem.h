#pragma once

#include <QString>

namespace seikyu {

/// What stands between Seikyu and a shared ledger on a PostgreSQL server.
enum class ServerProblem {
    None,
    BadText,          ///< the connection text does not read
    NoServer,         ///< nothing answers at that address, or it does not answer in time
    WrongPassword,    ///< the server refuses the user name or password
    NoSuchDatabase,   ///< the server has no database of that name
    NotLedger,        ///< the database holds other things than a Seikyu ledger
    NewerSchema,      ///< a newer Seikyu set up the ledger
    PermissionDenied, ///< the role lacks a right on a table, function, schema or the database
    Tls,              ///< the encrypted connection failed: no TLS on the server, or its certificate
    Other,
};

/// What an error from libpq or the server says is wrong. The SQLSTATE decides where there is one
/// (given, or the "(42501)" QPSQL appends to a statement's text); a failed connection has none,
/// and then libpq's own words and the server's decide, in English or in Japanese as libpq and
/// the server word them. None when the text says nothing known: the caller looks further.
ServerProblem classifyServerError(const QString &text, const QString &sqlState = QString());

/// The SQLSTATE QPSQL appends to a failed statement's text ("… (42501)"), or empty.
QString sqlStateIn(const QString &text);

/// What a "permission denied" names: its kind ("table", "function", "schema", "sequence",
/// "view", "procedure", "database"; empty when not known) and its name.
struct DeniedObject
{
    QString kind;
    QString name;
};
DeniedObject deniedObject(const QString &text);

/// The driver's text without QPSQL's own words after it: what the server or libpq said.
QString serverSaid(const QString &text);

} // namespace seikyu
