// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakGate.h"
#include "core/Instant.h"

#include <optional>
#include <string>

namespace sorvala {

/// A break that has become due and has not yet been taken or dropped, with what holds it back.
struct DueBreak {
    /// What holds the break right now.
    struct Hold {
        BreakGate::Block block = BreakGate::Block::smartPause;
        std::optional<std::string> cause; ///< the busy cause's menu label, only for smartPause
        Instant since;                    ///< when this hold began
        bool nudgeSent = false;           ///< the "still waiting" alert went out for this hold

        bool operator==(const Hold&) const = default;
    };

    /// Whether a new hold is worth a log line and the user's attention.
    struct HoldOutcome {
        bool shouldLog = false;
        bool shouldAlert = false;

        bool operator==(const HoldOutcome&) const = default;
    };

    bool isFixedTime = false;            ///< a planned clock-time break is armed
    std::optional<Instant> excusedSince; ///< first held while billed as excused
    std::optional<Hold> hold;

    /// Whether the break was ever excused or is held right now.
    bool isHeld() const { return excusedSince.has_value() || hold.has_value(); }

    /// Notes that `block` (with `cause`) holds the break at `now`. A hold that persists is logged
    /// once; the user is alerted only the first time the break is excused by a busy cause.
    HoldOutcome recordHold(BreakGate::Block block, std::optional<std::string> cause, bool billedAsExcused,
                           Instant now);
    /// Seconds since the break was first held back, once per hold when the cause has held it for
    /// `threshold` seconds and is not an attended activity; nullopt otherwise.
    std::optional<double> nudgeIfDue(bool isAttendedActivity, double threshold, Instant now);

    /// What survives an abandoned hold: only a bare planned arm.
    std::optional<DueBreak> withoutHold() const;
    /// The break without its current block, kept only while armed or excused.
    std::optional<DueBreak> withoutCurrentBlock() const;
    /// The break with its planned arm consumed, kept only while it is held.
    std::optional<DueBreak> withoutFixedTimeArm() const;

    bool operator==(const DueBreak&) const = default;
};

} // namespace sorvala
