// SPDX-License-Identifier: MIT
// The event-loop wait under the name the widget and updater tests use; for folders that link Qt Core.
#pragma once

#include "support/QtEventLoop.h"

namespace sorvala {

/// Runs the event loop until `done` holds or `milliseconds` pass; answers whether it held.
inline bool waitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    return waitUntil(done, milliseconds);
}

} // namespace sorvala
