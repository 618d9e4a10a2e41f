// SPDX-License-Identifier: MIT
#include "core/SnoozeRequest.h"

namespace sorvala {

namespace SnoozeRequest {

std::optional<int> grantedMinutes(const Verdict& verdict) {
    if (const auto* snooze = std::get_if<Snooze>(&verdict))
        return snooze->minutes;
    return std::nullopt;
}

Verdict verdict(int minutes, Source, const SnoozeBudget& budget, int snoozeCount, int dailyCount) {
    if (budget.allowsSnooze(snoozeCount, dailyCount))
        return Snooze{minutes};
    return Refuse{Reason::budgetSpent};
}

bool isAllowed(const SnoozeBudget& budget, int snoozeCount, int dailyCount) {
    return budget.allowsSnooze(snoozeCount, dailyCount);
}

} // namespace SnoozeRequest

std::string_view text(SnoozeRequest::Source source) {
    switch (source) {
    case SnoozeRequest::Source::menu: return "menu";
    case SnoozeRequest::Source::hotKey: return "hotKey";
    case SnoozeRequest::Source::notification: return "notification";
    case SnoozeRequest::Source::overlay: return "overlay";
    }
    return "menu";
}

std::optional<SnoozeRequest::Source> snoozeSourceFromText(std::string_view word) {
    for (const auto source : SnoozeRequest::allSources)
        if (text(source) == word)
            return source;
    return std::nullopt;
}

std::string_view text(SnoozeRequest::Reason reason) {
    switch (reason) {
    case SnoozeRequest::Reason::budgetSpent: return "budgetSpent";
    }
    return "budgetSpent";
}

} // namespace sorvala
