#include "support/TestSupport.h"

#include "app/RecoveryStore.h"
#include "customers/CustomerBook.h"
#include "sections/SavedLists.h"
#include "table/Amounts.h"
#include "widgets/RoomBox.h"
#include "widgets/SegmentedControl.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace seikyu::test {

void initApplication()
{
    nameApplication();
    clearSettings();
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Seikyu"));
    QCoreApplication::setOrganizationName(QStringLiteral("Seikyu"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SEIKYU_VERSION));
    QStandardPaths::setTestModeEnabled(true);
    // The test environment points XDG_CONFIG_HOME at the build tree; refuse to run against a
    // real user's settings if it does not.
    const QString config = QSettings().fileName();
    if (!config.contains(QLatin1String("/tests/home/")) && !config.contains(QLatin1String("/.qttest/")))
        qFatal("Refusing to run against real user settings: %s", qPrintable(config));
}

bool noWindowShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.cbegin(), windows.cend(), [](QWidget *window) { return window->isVisible(); });
}

void clearSettings()
{
    QSettings settings;
    settings.clear();
    settings.sync();
    // The customer book is the user's too: a test starts with none, as a new user does.
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(CustomerBook::defaultPath() + QLatin1String(suffix));
}

void storeCustomers(const QStringList &names, const QStringList &readings)
{
    Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(CustomerBook::defaultPath());
    if (!book)
        qFatal("no customer book: %s", qPrintable(book.message()));
    for (int i = 0; i < names.size(); ++i) {
        Customer customer;
        customer.name = names.at(i);
        customer.kana = readings.value(i);
        if (!(*book)->add(customer))
            qFatal("customer not added");
    }
}

QList<Customer> bookCustomers()
{
    Result<std::unique_ptr<CustomerBook>> book = CustomerBook::open(CustomerBook::defaultPath());
    return book ? (*book)->all().value_or(QList<Customer>()) : QList<Customer>();
}

QStringList bookCustomerNames()
{
    QStringList names;
    for (const Customer &customer : bookCustomers())
        names.append(customer.name);
    return names;
}

Customer bookCustomer(const QString &name)
{
    for (const Customer &customer : bookCustomers()) {
        if (customer.name == name)
            return customer;
    }
    return {};
}

QString yen(qint64 amount)
{
    return mark(amount, QStringLiteral("ja_JP"));
}

PrompterGuard::PrompterGuard()
{
    auto prompter = std::make_unique<ScriptedPrompter>();
    m_prompter = prompter.get();
    Prompter::setInstance(std::move(prompter));
}

PrompterGuard::~PrompterGuard()
{
    Prompter::setInstance(nullptr);
}

std::unique_ptr<Document> makeDocument(const QByteArray &fileBytes)
{
    auto document = std::make_unique<Document>();
    if (!fileBytes.isEmpty()) {
        if (const Result<void> read = document->readFromData(fileBytes); !read)
            qWarning("test file did not read: %s", qPrintable(read.message()));
    }
    document->windowControllerDidLoadNib();
    return document;
}

QByteArray invoiceBytes(const QString &customer, qint64 amount, const QString &number, const QString &date,
                        const QString &due)
{
    const qint64 base = amount * 10 / 11;
    const qint64 tax = amount - base;
    return QStringLiteral(R"({"head":"請求書","whom":"%1","tail":0,"from":"〒100\n東京都千代田区\n山田太郎\n03\n銀行",
"full":"御請求金額\n￥%7","date":"%2","numb":"%3","dues":"%4","jgen":1,"plus":0,"rate":10,
"item":[{"date":"日付","name":"項目","solo":"単価","much":"個数","sums":"価格"},
{"date":"3/1","name":"作業","solo":%5,"much":1,"sums":%5},
{"date":" ","name":" ","solo":" ","much":" ","sums":" "},
{"date":" ","name":" ","solo":"","much":"小計","sums":%5},
{"date":" ","name":" ","solo":"","much":"消費税","sums":"%6"},
{"date":" ","name":" ","solo":"","much":"合計","sums":%7}]})")
        .arg(customer, date, number, due)
        .arg(base)
        .arg(tax)
        .arg(amount)
        .toUtf8();
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QByteArray encodedImage(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

int recoveryFiles(const QString &pattern)
{
    int count = 0;
    for (QDirIterator it(RecoveryStore::rootFolder(), {pattern}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext(); it.next())
        ++count;
    return count;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString sha256Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QStringList savedList(const char *key)
{
    return SavedLists::instance().read(QString::fromLatin1(key)).value_or(QStringList{QStringLiteral("<absent>")});
}

QStringList tableTexts(const Document &document)
{
    QStringList rows;
    for (const RowPtr &row : document.tableModel()->rows()) {
        QStringList cells;
        for (const CellValue &cell : row->cells())
            cells.append(cell.isValid() ? cellDisplay(cell) : QStringLiteral("<absent>"));
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

bool anyGuideBorder(const Document &document)
{
    const QList<RoomBox *> rooms = document.window()->findChildren<RoomBox *>();
    return std::any_of(rooms.cbegin(), rooms.cend(), [](RoomBox *room) { return room->hasGuideBorder(); });
}

QObject *namedElement(const Document &document, const QString &name)
{
    QObject *found = document.window()->findChild<QObject *>(name);
    if (!found)
        qFatal("no element %s", qPrintable(name));
    return found;
}

void click(const Document &document, const QString &button)
{
    QTest::mouseClick(child<QAbstractButton>(document, button), Qt::LeftButton);
}

void chooseHonorific(const Document &document, int segment)
{
    QTest::mouseClick(child<SegmentedControl>(document, QStringLiteral("tail"))
                          ->findChild<QToolButton *>(QStringLiteral("segment%1").arg(segment)),
                      Qt::LeftButton);
}

} // namespace seikyu::test
