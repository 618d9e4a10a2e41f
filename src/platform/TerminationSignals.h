// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace sorvala::TerminationSignals {

/// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C) into a call of `quit` on the Qt
/// event loop of the calling thread, so the program quits in order instead of dying mid-write.
/// False when the signals could not be routed (they keep their default action).
bool routeToEventLoop(std::function<void(int signal)> quit);

} // namespace sorvala::TerminationSignals
