// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace sorvala {

/// The overlay that covers every display for the length of a break.
class BreakScreen {
public:
    virtual ~BreakScreen() = default;
    /// Puts a break on screen: a micro break rests `restSeconds`; a long one lasts as long as its
    /// drawing takes. Ignored while a break is on screen or fading.
    virtual void begin(int restSeconds, bool isMicroBreak, bool startedManually) = 0;
    /// Ends the current break. `completed` means it ran its course; `enforcementApplies` false
    /// means the application tears it down (never refused, not recorded unless completed).
    virtual void end(bool completed, bool enforcementApplies) = 0;
    /// A break is on screen or fading out.
    virtual bool isActive() const = 0;
    /// The wall clock was set by `bySeconds` (negative: back); a break keeps its length.
    virtual void wallClockMoved(double bySeconds) { (void)bySeconds; }
    /// Called once per ended break, after the fade, with whether it was a micro break.
    virtual void setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) = 0;
};

} // namespace sorvala
