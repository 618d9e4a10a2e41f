// SPDX-License-Identifier: MIT
#include "sensing/BreakLock.h"

#include "sensing/SystemSignals.h"

namespace sorvala::BreakLock {

void lockNow(SystemSignals& system) {
    system.lockScreen();
}

} // namespace sorvala::BreakLock
