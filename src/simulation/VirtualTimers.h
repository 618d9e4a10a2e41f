// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/MainLoopTimer.h"
#include "core/Clock.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace sorvala {

/// A clock that only moves when told to.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(Instant start = Instant()) : m_now(start) {}
    Instant now() const override { return m_now; }
    void set(Instant now) { m_now = now; }

private:
    Instant m_now;
};

/// Timers on virtual time: nothing fires until `runUntil`, which fires every due timer in deadline
/// order (equal deadlines in creation order) with the clock set to each deadline.
class VirtualTimers final : public MainLoopTimer {
public:
    explicit VirtualTimers(VirtualClock& clock) : m_clock(clock) {}

    TimerField scheduled(double after, bool repeats, double tolerance, std::function<void()> block) override;
    /// Fires every timer due up to `until`, a repeating one again each interval, then sets the
    /// clock to `until`.
    void runUntil(Instant until);
    /// `seconds` pass with the machine asleep: monotonic timers do not count them, so every
    /// deadline moves with the clock.
    void suspend(double seconds);
    /// Timers that will still fire.
    int liveCount() const;
    /// How many timers fired so far.
    std::uint64_t firings() const { return m_firings; }

    struct Entry;

private:
    VirtualClock& m_clock;
    std::vector<std::shared_ptr<Entry>> m_entries;
    std::uint64_t m_created = 0;
    std::uint64_t m_firings = 0;
};

} // namespace sorvala
