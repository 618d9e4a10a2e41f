// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala {

class SystemSignals;

/// Locking the screen when a long break starts.
namespace BreakLock {

/// Lock when the setting is on and the break is not a micro break.
constexpr bool shouldLock(bool lockOnBreakStartEnabled, bool isMicroBreak) {
    return lockOnBreakStartEnabled && !isMicroBreak;
}

/// Locks the screen at once; without a reachable locker nothing happens.
void lockNow(SystemSignals& system);

} // namespace BreakLock

} // namespace sorvala
