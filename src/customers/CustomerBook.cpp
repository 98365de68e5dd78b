#include "customers/CustomerBook.h"

#include "customers/CustomerSearch.h"
#include "ledger/SqlConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace seikyu {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(CustomerBook)
};

/// The book's layout; a file stamped with a later one was written by a later Seikyu.
constexpr int BookVersion = 1;
/// The application_id that marks a SQLite file as a customer book ("SKCB").
constexpr int BookMark = 0x534b4342;

const QString Columns = QStringLiteral("name, kana, honorific, department, contact_title, contact_name, postal_code, "
                                       "address1, address2, telephone, email, peppol_id, closing_day, terms_basis, "
                                       "terms_months, terms_day, terms_days, note");

Fault unreadable(const QSqlError &error)
{
    return Fault{FaultKind::Unreadable, Text::tr("The customer book could not be read."), error.text()};
}

Fault unwritable(const QSqlError &error)
{
    return Fault{FaultKind::Unwritable,
                 Text::tr("The customer book could not be changed: the disk may be full or the file read-only. "
                          "Nothing was changed."),
                 error.text()};
}

QVariant text(const QString &value)
{
    return value.trimmed();
}

void bindCustomer(QSqlQuery &query, const Customer &c)
{
    for (const QString &value : {c.name, c.kana})
        query.addBindValue(text(value));
    query.addBindValue(c.honorific == 1 ? 1 : 0);
    for (const QString &value : {c.department, c.contactTitle, c.contactName, c.postalCode, c.address1, c.address2,
                                 c.telephone, c.email, c.peppolId})
        query.addBindValue(text(value));
    const QVariant none(QMetaType::fromType<int>());
    query.addBindValue(c.terms ? QVariant(c.terms->closingDay) : none);
    query.addBindValue(c.terms ? QVariant(int(c.terms->basis)) : none);
    query.addBindValue(c.terms ? QVariant(c.terms->months) : none);
    query.addBindValue(c.terms ? QVariant(c.terms->day) : none);
    query.addBindValue(c.terms ? QVariant(c.terms->days) : none);
    query.addBindValue(text(c.note));
}

Customer customerAt(const QSqlQuery &query)
{
    const auto s = [&](const char *column) { return query.value(QLatin1String(column)).toString(); };
    const auto n = [&](const char *column) { return query.value(QLatin1String(column)).toInt(); };
    Customer c;
    c.id = query.value(QStringLiteral("id")).toLongLong();
    c.name = s("name");
    c.kana = s("kana");
    c.honorific = n("honorific") == 1 ? 1 : 0;
    c.department = s("department");
    c.contactTitle = s("contact_title");
    c.contactName = s("contact_name");
    c.postalCode = s("postal_code");
    c.address1 = s("address1");
    c.address2 = s("address2");
    c.telephone = s("telephone");
    c.email = s("email");
    c.peppolId = s("peppol_id");
    if (!query.value(QStringLiteral("closing_day")).isNull()) {
        PaymentTerms terms;
        terms.closingDay = std::clamp(n("closing_day"), 1, MonthEndDay);
        terms.basis = n("terms_basis") == int(PaymentTerms::Basis::InvoiceDate) ? PaymentTerms::Basis::InvoiceDate
                                                                                : PaymentTerms::Basis::Closing;
        terms.months = std::clamp(n("terms_months"), 0, 12);
        terms.day = std::clamp(n("terms_day"), 1, MonthEndDay);
        terms.days = std::clamp(n("terms_days"), 0, 3660);
        c.terms = terms;
    }
    c.note = s("note");
    return c;
}

Result<void> checkName(const Customer &customer)
{
    if (customer.name.trimmed().isEmpty())
        return Fault{FaultKind::BadInput, Text::tr("A customer needs a name.")};
    return {};
}

/// Runs `work` inside one write transaction, committed only when it succeeds.
template <class T, class Work> Result<T> inTransaction(QSqlDatabase db, Work work)
{
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return unwritable(begin.lastError());
    Result<T> done = work();
    QSqlQuery end(db);
    if (!done) {
        end.exec(QStringLiteral("ROLLBACK"));
        return done;
    }
    if (!end.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = end.lastError();
        end.exec(QStringLiteral("ROLLBACK"));
        return unwritable(error);
    }
    return done;
}

Result<qint64> insert(QSqlDatabase db, const Customer &customer)
{
    if (Result<void> named = checkName(customer); !named)
        return named.fault();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO customers (%1) VALUES (%2)")
                      .arg(Columns, QStringLiteral("?, ").repeated(17) + QStringLiteral("?")));
    bindCustomer(query, customer);
    if (!query.exec())
        return unwritable(query.lastError());
    return query.lastInsertId().toLongLong();
}

/// Sets the file up as a book, or says why it is none. A file some other program wrote (another
/// application_id, or tables without ours) is not taken over.
Result<void> setUp(QSqlDatabase db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        return Fault{FaultKind::BadInput, Text::tr("The customer book is damaged: it is not a database file."),
                     query.lastError().text()};
    const int mark = query.value(0).toInt();
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return unreadable(query.lastError());
    const int version = query.value(0).toInt();
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return Fault{FaultKind::BadInput, Text::tr("The customer book is damaged: it is not a database file."),
                     query.lastError().text()};
    const bool empty = query.value(0).toInt() == 0;
    // A statement left open holds a read snapshot, and a write begun on a snapshot another process
    // has since moved past fails at once instead of waiting its turn.
    query.finish();
    if (!empty && mark != BookMark)
        return Fault{FaultKind::BadInput, Text::tr("The file is not a customer book.")};
    if (version > BookVersion)
        return Fault{FaultKind::Refused, Text::tr("The customer book was written by a later version of Seikyu.")};
    if (!empty && version == BookVersion)
        return {};
    return inTransaction<void>(db, [&]() -> Result<void> {
        QSqlQuery make(db);
        for (const QString &statement :
             {QStringLiteral("CREATE TABLE IF NOT EXISTS customers (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                             "name TEXT NOT NULL, kana TEXT, honorific INTEGER NOT NULL DEFAULT 0, department TEXT, "
                             "contact_title TEXT, contact_name TEXT, postal_code TEXT, address1 TEXT, address2 TEXT, "
                             "telephone TEXT, email TEXT, peppol_id TEXT, closing_day INTEGER, terms_basis INTEGER, "
                             "terms_months INTEGER, terms_day INTEGER, terms_days INTEGER, note TEXT)"),
              QStringLiteral("PRAGMA application_id = %1").arg(BookMark),
              QStringLiteral("PRAGMA user_version = %1").arg(BookVersion)}) {
            if (!make.exec(statement))
                return unwritable(make.lastError());
        }
        return {};
    });
}

Result<std::unique_ptr<SqlConnection>> connectTo(const QString &path)
{
    auto connection = std::make_unique<SqlConnection>(QStringLiteral("QSQLITE"), QStringLiteral("seikyu-customers"));
    QSqlDatabase db = connection->database();
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    if (!db.open())
        return Fault{FaultKind::Unreadable, Text::tr("The customer book could not be opened."), db.lastError().text()};
    return connection;
}

/// Puts a new, empty book at `path`, where there is no file. It is made whole
/// aside and put in place in one step, in the write-ahead log from its first byte: processes
/// opening the book at once never see it half made, and none has to switch the journal of a
/// file others have open, which SQLite refuses.
Result<void> makeBook(const QString &path)
{
    const QString aside =
        QStringLiteral("%1.new-%2-%3").arg(path).arg(QCoreApplication::applicationPid()).arg(quintptr(&path));
    const auto cleanUp = [&] {
        for (const char *suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(aside + QLatin1String(suffix));
    };
    {
        Result<std::unique_ptr<SqlConnection>> connection = connectTo(aside);
        Result<void> made = connection ? Result<void>() : Result<void>(connection.fault());
        if (made) {
            QSqlDatabase db = (*connection)->database();
            QSqlQuery pragma(db);
            const bool logged = pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            pragma.finish(); // its answer ("wal") would keep the creating transaction from committing
            made = logged ? setUp(db) : unwritable(pragma.lastError());
        }
        if (!made) {
            if (connection)
                connection->reset();
            cleanUp();
            return made;
        }
    } // closed, its log folded into the file
    const QByteArray from = QFile::encodeName(aside);
    const QByteArray to = QFile::encodeName(path);
    // link(), unlike rename(), never replaces a book another process put there meanwhile.
    const bool placed = ::link(from.constData(), to.constData()) == 0 || errno == EEXIST;
    const int error = errno;
    cleanUp();
    if (!placed)
        return Fault{FaultKind::Unwritable, Text::tr("The customer book could not be made."),
                     QString::fromLocal8Bit(std::strerror(error))};
    return {};
}

} // namespace

CustomerBook::CustomerBook(std::unique_ptr<SqlConnection> connection) : m_connection(std::move(connection)) {}

CustomerBook::~CustomerBook() = default;

QString CustomerBook::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("customers.sqlite"));
}

Result<std::unique_ptr<CustomerBook>> CustomerBook::open(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists() && !file.isFile())
        return Fault{FaultKind::BadInput, Text::tr("The customer book's place is not a file: %1").arg(path)};
    if (!QDir().mkpath(file.absolutePath()))
        return Fault{FaultKind::Unwritable, Text::tr("The folder of the customer book could not be made: %1")
                                                .arg(QDir::toNativeSeparators(file.absolutePath()))};
    if (!file.exists()) {
        if (Result<void> made = makeBook(path); !made)
            return made.fault();
    }
    Result<std::unique_ptr<SqlConnection>> connection = connectTo(path);
    if (!connection)
        return connection.fault();
    QSqlDatabase db = (*connection)->database();
    if (Result<void> ready = setUp(db); !ready)
        return ready.fault();
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return unreadable(pragma.lastError());
    return std::unique_ptr<CustomerBook>(new CustomerBook(std::move(*connection)));
}

Result<QList<Customer>> CustomerBook::all() const
{
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id, %1 FROM customers").arg(Columns)))
        return unreadable(query.lastError());
    QList<Customer> customers;
    while (query.next())
        customers.append(customerAt(query));
    if (query.lastError().isValid())
        return unreadable(query.lastError());
    // Sorted here rather than by SQL: the reading sorts as the user reads it, katakana and
    // hiragana and both widths alike.
    std::stable_sort(customers.begin(), customers.end(), [](const Customer &a, const Customer &b) {
        const QString ka = customerSearchKey(a.kana.isEmpty() ? a.name : a.kana);
        const QString kb = customerSearchKey(b.kana.isEmpty() ? b.name : b.kana);
        return ka != kb ? ka < kb : a.id < b.id;
    });
    return customers;
}

Result<QList<Customer>> CustomerBook::search(const QString &typed) const
{
    Result<QList<Customer>> everyone = all();
    if (!everyone)
        return everyone;
    QList<Customer> found;
    for (const Customer &customer : *everyone) {
        if (customerMatches(typed, customer.name, customer.kana))
            found.append(customer);
    }
    return found;
}

Result<Customer> CustomerBook::byId(qint64 id) const
{
    QSqlQuery query(m_connection->database());
    query.prepare(QStringLiteral("SELECT id, %1 FROM customers WHERE id = ?").arg(Columns));
    query.addBindValue(id);
    if (!query.exec())
        return unreadable(query.lastError());
    if (!query.next())
        return Fault{FaultKind::NotFound, Text::tr("The customer is no longer in the customer book.")};
    return customerAt(query);
}

Result<qint64> CustomerBook::add(const Customer &customer)
{
    QSqlDatabase db = m_connection->database();
    return inTransaction<qint64>(db, [&] { return insert(db, customer); });
}

Result<QList<qint64>> CustomerBook::addAll(const QList<Customer> &customers)
{
    QSqlDatabase db = m_connection->database();
    return inTransaction<QList<qint64>>(db, [&]() -> Result<QList<qint64>> {
        QList<qint64> ids;
        for (const Customer &customer : customers) {
            const Result<qint64> id = insert(db, customer);
            if (!id)
                return id.fault();
            ids.append(*id);
        }
        return ids;
    });
}

Result<int> CustomerBook::addMissing(const QList<Customer> &customers)
{
    QSqlDatabase db = m_connection->database();
    return inTransaction<int>(db, [&]() -> Result<int> {
        QSet<QString> held;
        {
            QSqlQuery names(db);
            if (!names.exec(QStringLiteral("SELECT name FROM customers")))
                return unreadable(names.lastError());
            while (names.next())
                held.insert(names.value(0).toString());
        }
        int added = 0;
        for (const Customer &customer : customers) {
            if (held.contains(customer.name.trimmed()))
                continue;
            const Result<qint64> id = insert(db, customer);
            if (!id)
                return id.fault();
            held.insert(customer.name.trimmed());
            ++added;
        }
        return added;
    });
}

Result<void> CustomerBook::update(const Customer &customer)
{
    if (Result<void> named = checkName(customer); !named)
        return named;
    QSqlDatabase db = m_connection->database();
    return inTransaction<void>(db, [&]() -> Result<void> {
        QSqlQuery query(db);
        QStringList assignments = Columns.split(QStringLiteral(", "));
        for (QString &column : assignments)
            column += QStringLiteral(" = ?");
        query.prepare(
            QStringLiteral("UPDATE customers SET %1 WHERE id = ?").arg(assignments.join(QStringLiteral(", "))));
        bindCustomer(query, customer);
        query.addBindValue(customer.id);
        if (!query.exec())
            return unwritable(query.lastError());
        if (query.numRowsAffected() != 1)
            return Fault{FaultKind::NotFound, Text::tr("The customer is no longer in the customer book.")};
        return {};
    });
}

Result<void> CustomerBook::remove(qint64 id)
{
    QSqlDatabase db = m_connection->database();
    return inTransaction<void>(db, [&]() -> Result<void> {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM customers WHERE id = ?"));
        query.addBindValue(id);
        if (!query.exec())
            return unwritable(query.lastError());
        return {};
    });
}

} // namespace seikyu
