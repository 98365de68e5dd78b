#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

namespace seikyu {

/// Runs `work` on a thread of its own and then `done` on the thread of `context`, unless `context`
/// went away meanwhile. For work that may wait on the network (a test of a server that does not
/// answer) and must not hold up the window; the application waits for it when it quits.
void runInBackground(QObject *context, std::function<void()> work, std::function<void()> done);

} // namespace seikyu
