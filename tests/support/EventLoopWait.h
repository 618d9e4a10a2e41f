// SPDX-License-Identifier: MIT
// Waiting on the Qt event loop; for test folders that link Qt Core.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace sorvala {

/// Runs the event loop until `done` holds or `milliseconds` pass; answers whether it held. The
/// limit only matters when the test fails, so it is generous for a busy machine.
inline bool waitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace sorvala
