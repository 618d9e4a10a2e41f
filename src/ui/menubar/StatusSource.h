// SPDX-License-Identifier: MIT
#pragma once

#include "app/StatusLine.h"
#include "core/Instant.h"

#include <functional>
#include <optional>
#include <string>

namespace sorvala {

class Clock;

/// The status facts and the status line for the tray, its tooltip and the control interface. The
/// smart-pause label behind the line comes from a sweep of every probe, so it is kept for a
/// while instead of being probed on every refresh.
class StatusSource {
public:
    struct Suppliers {
        std::function<StatusLine::Facts()> facts;
        /// The label of the active smart-pause cause, probed now.
        std::function<std::optional<std::string>()> blockerLabel;
        /// The user's short time of day for a pause deadline.
        std::function<std::string(Instant)> shortTime;
    };

    /// The status as the tray and the control interface show it side by side: one reading of the
    /// facts, so the countdown title and the line agree on the second.
    struct Shown {
        /// The facts with the seconds rounded as the title shows them.
        StatusLine::Facts facts;
        /// The countdown title; none when the countdown is off, paused, on a break or unscheduled.
        std::optional<std::string> title;
        std::string line;
    };

    StatusSource(const Clock& clock, Suppliers suppliers);

    StatusLine::Facts facts() const { return m_suppliers.facts(); }
    /// The facts read now, with the title when `countdownEnabled`, and the line behind a blocker
    /// label at most `labelLifetime` seconds old.
    Shown shown(bool countdownEnabled, double labelLifetime);
    /// The status line for `facts`, with a blocker label at most `labelLifetime` seconds old.
    std::string text(const StatusLine::Facts& facts, double labelLifetime);
    std::string shortTime(Instant instant) const { return m_suppliers.shortTime(instant); }
    /// Drops the kept label: the next line probes again.
    void forgetLabel() { m_labelReadAt.reset(); }

private:
    std::optional<std::string> blockerLabel(double lifetime);

    const Clock& m_clock;
    Suppliers m_suppliers;
    std::optional<std::string> m_label;
    std::optional<Instant> m_labelReadAt;
};

} // namespace sorvala
