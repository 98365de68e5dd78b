#pragma once

#include <QSqlDatabase>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace seikyu {

class LedgerStore;

/// Runs `work` off the window's thread while a window-modal note on `parent` says `doing` and
/// offers Cancel; the window keeps painting and answering meanwhile. Cancel sets the flag `work` is
/// given, which it heeds soon (see stopSqliteWhen). Returns once `work` has ended: false when the
/// user cancelled, whatever `work` then made of it. `work` holds what it uses by value.
bool runCancellable(QWidget *parent, const QString &doing, std::function<void(const std::atomic<bool> &stop)> work);

/// runCancellable() with the work's result; nothing when cancelled.
template <typename R>
std::optional<R> readCancellable(QWidget *parent, const QString &doing,
                                 std::function<R(const std::atomic<bool> &stop)> work)
{
    auto result = std::make_shared<std::optional<R>>();
    if (!runCancellable(parent, doing,
                        [work = std::move(work), result](const std::atomic<bool> &stop) { *result = work(stop); }))
        return std::nullopt;
    return std::move(*result);
}

/// Makes SQLite end what `db` runs (with an error) soon after `stop` is set, and refuse what it is
/// asked next. Called on the thread that uses `db`; `stop` outlives the connection.
void stopSqliteWhen(const QSqlDatabase &db, const std::atomic<bool> &stop);

/// The local ledger's file at `path` opened to read on a connection of this thread's own, its
/// anchor kept in `anchorFile`, stopped by `stop`. Nothing when it cannot be opened or is an older
/// Seikyu's (read through an up-to-date copy): the window's thread then reads it as ever.
std::unique_ptr<LedgerStore> openToReadAside(const QString &path, const QString &anchorFile,
                                             const std::atomic<bool> &stop);

} // namespace seikyu
