#include "ledger/LongRead.h"

#include "ledger/BackgroundWork.h"
#include "ledger/LedgerSchema.h"
#include "ledger/LedgerStore.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QSqlDriver>
#include <QTimer>
#include <sqlite3.h>

namespace seikyu {

namespace {

/// A read that ends at once is not announced; one that takes a moment is.
constexpr int QuietMs = 300;

/// How many of SQLite's steps pass between looks at the flag: a few thousand a millisecond.
constexpr int StepsBetweenLooks = 1000;

int stopWanted(void *stop)
{
    return static_cast<const std::atomic<bool> *>(stop)->load() ? 1 : 0;
}

} // namespace

bool runCancellable(QWidget *parent, const QString &doing, std::function<void(const std::atomic<bool> &stop)> work)
{
    auto stop = std::make_shared<std::atomic<bool>>(false);
    QEventLoop loop;
    bool ended = false;
    QProgressDialog note(parent); // with its own Cancel button, in the user's language
    note.setLabelText(doing);
    note.setRange(0, 0);
    note.setObjectName(QStringLiteral("longRead"));
    note.setWindowModality(Qt::WindowModal);
    note.setMinimumDuration(QuietMs);
    note.setAutoClose(false);
    note.setAutoReset(false);
    QObject::connect(&note, &QProgressDialog::canceled, &loop, [stop] { *stop = true; });
    // Until the note shows, what the user types waits (as for a server's answer), so that nothing
    // reaches the window meanwhile; then the note, window-modal, keeps it from the window.
    QTimer::singleShot(QuietMs, &loop, [&note, &loop] {
        note.show();
        loop.quit();
    });
    runInBackground(
        &loop, [work = std::move(work), stop] { work(*stop); },
        [&loop, &ended] {
            ended = true;
            loop.quit();
        });
    if (!ended)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!ended)
        loop.exec(QEventLoop::AllEvents);
    note.hide();
    return !*stop;
}

void stopSqliteWhen(const QSqlDatabase &db, const std::atomic<bool> &stop)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    if (sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData()))
        sqlite3_progress_handler(connection, StepsBetweenLooks, stopWanted,
                                 const_cast<void *>(static_cast<const void *>(&stop)));
}

std::unique_ptr<LedgerStore> openToReadAside(const QString &path, const QString &anchorFile,
                                             const std::atomic<bool> &stop)
{
    std::unique_ptr<LedgerStore> store = LedgerStore::openSqlite(path, LedgerAccess::ReadOnly).value_or(nullptr);
    if (!store || store->schemaVersion() < CurrentSchemaVersion)
        return nullptr;
    stopSqliteWhen(store->database(), stop);
    store->setAnchor(anchorFile, QStringLiteral("local"));
    return store;
}

} // namespace seikyu
