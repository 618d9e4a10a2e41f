// SPDX-License-Identifier: MIT
#include "core/Diagnostics.h"

namespace sorvala {

std::optional<Diagnostics::SuppressedTickReason> Diagnostics::suppressedTickReason(bool schedulingAllowed,
                                                                                   bool withinWorkingHours,
                                                                                   bool resting) {
    if (!schedulingAllowed)
        return SuppressedTickReason::paused;
    if (!withinWorkingHours)
        return SuppressedTickReason::offHours;
    if (resting)
        return SuppressedTickReason::resting;
    return std::nullopt;
}

std::string_view text(Diagnostics::SuppressedTickReason reason) {
    switch (reason) {
    case Diagnostics::SuppressedTickReason::paused: return "paused";
    case Diagnostics::SuppressedTickReason::offHours: return "offHours";
    case Diagnostics::SuppressedTickReason::resting: return "resting";
    }
    return "paused";
}

std::optional<Diagnostics::SuppressedTickReason> suppressedTickReasonFromText(std::string_view word) {
    for (const auto reason : Diagnostics::allSuppressedTickReasons)
        if (text(reason) == word)
            return reason;
    return std::nullopt;
}

} // namespace sorvala
