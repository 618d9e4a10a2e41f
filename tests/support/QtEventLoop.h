// SPDX-License-Identifier: MIT
// Event-loop waits for tests of Qt adapters; only test programs that link Qt Core include this.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace sorvala {

/// Runs the event loop until `done` holds or `milliseconds` pass; answers whether it holds. The
/// short sleeps leave the processor to the other programs a test waits on.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 10000) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

/// Runs the event loop for `milliseconds`, so that what is already on its way arrives (or a
/// second notification that should not come has its chance to show).
inline void runEventsFor(int milliseconds) {
    waitUntil([] { return false; }, milliseconds);
}

} // namespace sorvala
