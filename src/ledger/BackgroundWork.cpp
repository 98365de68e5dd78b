#include "ledger/BackgroundWork.h"

#include <QCoreApplication>
#include <QList>
#include <QThread>

namespace seikyu {

namespace {

QList<QPointer<QThread>> &running()
{
    static QList<QPointer<QThread>> threads;
    return threads;
}

/// A thread still inside Qt SQL must not meet its teardown.
void waitForRunning()
{
    for (const QPointer<QThread> &thread : std::as_const(running())) {
        if (thread)
            thread->wait();
    }
    running().clear();
}

} // namespace

void runInBackground(QObject *context, std::function<void()> work, std::function<void()> done)
{
    static const bool waitedForAtQuit = [] {
        qAddPostRoutine(waitForRunning);
        return true;
    }();
    Q_UNUSED(waitedForAtQuit)
    QPointer<QObject> target(context);
    QThread *thread = QThread::create([work = std::move(work)] { work(); });
    QObject::connect(thread, &QThread::finished, context, [target, done = std::move(done)] {
        if (target && done)
            done();
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    running().removeAll(nullptr);
    running().append(thread);
    thread->start();
}

} // namespace seikyu
