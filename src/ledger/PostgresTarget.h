#pragma once

#include "base/Result.h"

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace seikyu {

/// Where a PostgreSQL server is and how to log in, as the fields Qt's QPSQL driver takes. The
/// driver builds libpq's connection string from host, port, database, user and password, and
/// appends its connect options, so every other libpq keyword travels as an option.
struct PostgresTarget
{
    QString host;  ///< a name, an address, or a socket folder (starting with '/'); empty: libpq's default
    int port = -1; ///< -1: libpq's default
    QString dbname;
    QString user;
    QString password;                       ///< only what the text itself held; Seikyu never stores one
    QList<QPair<QString, QString>> options; ///< the other keywords, in the order written

    /// The options as QSqlDatabase::setConnectOptions takes them ("key=value;key='a b'").
    QString connectOptions() const;
    /// The text shown to the user: the conninfo form, a password left out.
    QString display() const;
};

/// Reads a libpq connection string (`host=db.office port=5432 dbname=seikyu user=taro`, values
/// in single quotes where they hold spaces) or URI (`postgresql://taro@db.office:5432/seikyu?
/// sslmode=require`, percent-encoded). BadInput, with the reason, for text libpq would not take.
Result<PostgresTarget> parsePostgresTarget(const QString &text);

} // namespace seikyu
