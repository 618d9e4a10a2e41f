// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <algorithm>
#include <cstdint>
#include <optional>

/// After a busy cause ends, breaks stay held for a while from the last hold.
namespace sorvala::SmartPauseCooldown {

/// Seconds of cooldown left; 0 when the cooldown is switched off or no break was ever held.
inline double remainingSeconds(std::optional<Instant> lastBlockedAt, std::int64_t cooldownSeconds, Instant now) {
    if (cooldownSeconds <= 0 || !lastBlockedAt)
        return 0;
    return std::max(0.0, static_cast<double>(cooldownSeconds) - (now - *lastBlockedAt));
}

} // namespace sorvala::SmartPauseCooldown
