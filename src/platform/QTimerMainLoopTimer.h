// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/MainLoopTimer.h"

#include <Qt>

namespace sorvala {

class Clock;

/// Timers on the Qt event loop of the main thread. A timer aimed at a wall-clock instant counts
/// monotonic time, which stands still while the machine sleeps; its owner re-arms it on wake.
class QTimerMainLoopTimer final : public MainLoopTimer {
public:
    /// Timers whose fire dates are read and set in `clock`'s time.
    explicit QTimerMainLoopTimer(const Clock& clock) : m_clock(clock) {}

    TimerField scheduled(double after, bool repeats, double tolerance, std::function<void()> block) override;

    /// A precise timer where no lateness is tolerated, else a coarse one the system may batch.
    static Qt::TimerType timerType(double tolerance);

private:
    const Clock& m_clock;
};

} // namespace sorvala
