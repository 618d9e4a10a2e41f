// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <functional>
#include <memory>

namespace sorvala {

/// One armed timer. Destroying the handle invalidates the timer, so a field that holds the
/// handle is the only owner: replacing the field can never leave a second timer running.
class TimerHandle {
public:
    virtual ~TimerHandle() = default;
    /// Stops the timer for good; a fired one-shot timer is already invalid.
    virtual void invalidate() = 0;
    /// Whether the timer will still fire.
    virtual bool isValid() const = 0;
    /// When the timer fires next.
    virtual Instant fireDate() const = 0;
    /// Moves the next firing to `date` (at once when it is past); a repeating timer keeps its
    /// interval from there.
    virtual void setFireDate(Instant date) = 0;
};

/// A field holding at most one timer.
using TimerField = std::unique_ptr<TimerHandle>;

/// Whether `field` holds a timer that will still fire.
inline bool isLive(const TimerField& field) {
    return field && field->isValid();
}

/// How every timer of the application is made: on the main loop, firing while a menu is open.
class MainLoopTimer {
public:
    virtual ~MainLoopTimer() = default;
    /// A timer firing `after` seconds from now (and every `after` seconds when `repeats`), allowed
    /// to fire up to `tolerance` seconds late; `block` runs on the main thread at each firing.
    virtual TimerField scheduled(double after, bool repeats, double tolerance, std::function<void()> block) = 0;
};

} // namespace sorvala
