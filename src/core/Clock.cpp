// SPDX-License-Identifier: MIT
#include "core/Clock.h"

#include <chrono>

namespace sorvala {

Instant SystemClock::now() const {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return Instant::fromSecondsSinceEpoch(std::chrono::duration<double>(sinceEpoch).count());
}

} // namespace sorvala
