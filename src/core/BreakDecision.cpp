// SPDX-License-Identifier: MIT
#include "core/BreakDecision.h"

namespace sorvala {

BreakDecision BreakDecision::decide(const Preconditions& p) {
    if (!p.schedulingAllowed)
        return drop(DropReason::paused);
    if (!p.withinWorkingHours)
        return drop(DropReason::offHours);
    if (p.displayAsleep)
        return drop(DropReason::displayAsleep);
    if (!p.present)
        return drop(DropReason::away);
    if (p.resting)
        return ignore();
    if (p.commitBlock)
        return hold(*p.commitBlock);
    return commit();
}

std::string_view text(BreakDecision::DropReason reason) {
    switch (reason) {
    case BreakDecision::DropReason::paused: return "paused";
    case BreakDecision::DropReason::offHours: return "offHours";
    case BreakDecision::DropReason::away: return "away";
    case BreakDecision::DropReason::displayAsleep: return "displayAsleep";
    }
    return "paused";
}

std::optional<BreakDecision::DropReason> dropReasonFromText(std::string_view word) {
    for (const auto reason : allDropReasons)
        if (text(reason) == word)
            return reason;
    return std::nullopt;
}

} // namespace sorvala
