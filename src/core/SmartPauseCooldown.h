// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <algorithm>
#include <cstdint>
#include <optional>

/// After a busy cause ends, breaks stay held for a while from the last hold.
namespace sorvala::SmartPauseCooldown {

/// Seconds of cooldown left; 0 when the cooldown is switched off or no break was ever held.
/// Never more than the cooldown itself, so a clock set back does not hold breaks for that long.
inline double remainingSeconds(std::optional<Instant> lastBlockedAt, std::int64_t cooldownSeconds, Instant now) {
    if (cooldownSeconds <= 0 || !lastBlockedAt)
        return 0;
    const double cooldown = static_cast<double>(cooldownSeconds);
    return std::clamp(cooldown - (now - *lastBlockedAt), 0.0, cooldown);
}

} // namespace sorvala::SmartPauseCooldown
