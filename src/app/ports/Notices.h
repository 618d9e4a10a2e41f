// SPDX-License-Identifier: MIT
#pragma once

#include "notices/UserSignal.h"
#include "notices/WellnessNudge.h"

#include <functional>
#include <optional>
#include <string>

namespace sorvala {

/// The on-screen notices: the pre-break overlay, the away-undo panel, the overtime badge and the
/// wellness nudges, with the banner as the other medium of a signal.
class Notices {
public:
    /// What the notices hand back to the application.
    struct Callbacks {
        std::function<void()> onSnoozeBreak;    ///< the pre-break overlay's snooze (5 minutes)
        std::function<void()> onSkipBreak;      ///< the pre-break overlay's skip
        std::function<void()> onUndoAwayReset;  ///< undo chosen on the away-undo panel
        std::function<void()> onAwayResetStood; ///< the away-undo panel went away without undo
        std::function<void()> onOvertimeDismissed;
        /// A posture or blink reminder was put up.
        std::function<void(WellnessNudge::Kind)> onWellnessNudgeShown;
        /// Seconds until the announced long break; none when no break is coming.
        std::function<std::optional<double>()> secondsUntilBreak;
        /// Whether the coming break may still be snoozed.
        std::function<bool()> snoozeAllowed;
        /// The overtime badge's text now; none while it should not show.
        std::function<std::optional<std::string>()> overtimeText;
        /// The reminder due now; none while reminders should wait.
        std::function<std::optional<WellnessNudge::Kind>()> wellnessKindDue;
    };

    virtual ~Notices() = default;
    /// Sets the callbacks, once at launch.
    virtual void wire(Callbacks callbacks) = 0;
    /// Shows `signal` through its medium, as arbitration allows.
    virtual void show(const UserSignal& signal) = 0;
    /// Withdraws whatever shows a signal of `kind`.
    virtual void clear(UserSignal::Kind kind) = 0;
    /// Starts, restarts or stops the overtime badge's ticker as the settings and facts say.
    virtual void refreshOvertimeTicker() = 0;
    virtual void refreshWellnessTicker() = 0;
    virtual void stopOvertimeTicker() = 0;
};

} // namespace sorvala
