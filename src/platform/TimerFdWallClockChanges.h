// SPDX-License-Identifier: MIT
#pragma once

#include "core/WallClockChanges.h"

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace sorvala {

class Logger;

/// Hears the wall clock being set through a timerfd armed with TFD_TIMER_CANCEL_ON_SET, on the Qt
/// main loop. How far it moved is the change of the gap between the wall clock and the boot-time
/// clock, which counts sleep too, so waking from sleep is no clock change.
class TimerFdWallClockChanges final : public WallClockChanges {
public:
    explicit TimerFdWallClockChanges(Logger& log);
    ~TimerFdWallClockChanges() override;
    TimerFdWallClockChanges(const TimerFdWallClockChanges&) = delete;
    TimerFdWallClockChanges& operator=(const TimerFdWallClockChanges&) = delete;

    Subscription observe(std::function<void(double bySeconds)> changed) override;
    /// Whether the kernel tells us of clock changes (false: no timerfd, or no main loop).
    bool isWatching() const { return m_notifier != nullptr; }

private:
    bool arm();
    void fired();

    Logger& m_log;
    int m_fd = -1;
    double m_wallMinusBoot = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::map<int, std::function<void(double)>> m_observers;
    int m_nextObserver = 0;
};

/// Seconds the wall clock is ahead of the boot-time clock now.
double wallMinusBootSeconds();

} // namespace sorvala
