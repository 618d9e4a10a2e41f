// SPDX-License-Identifier: MIT
#pragma once

#include "core/SnoozeBudget.h"

#include <optional>
#include <string_view>
#include <variant>

/// A request to snooze the next break, granted or refused by the budget.
namespace sorvala::SnoozeRequest {

/// Where the request came from; only logged.
enum class Source { menu, hotKey, notification, overlay };
/// Why a request is refused.
enum class Reason { budgetSpent };

/// Granted: snooze the next break by this many minutes.
struct Snooze {
    int minutes = 0;
    bool operator==(const Snooze&) const = default;
};
/// Refused for a reason.
struct Refuse {
    Reason reason = Reason::budgetSpent;
    bool operator==(const Refuse&) const = default;
};
using Verdict = std::variant<Snooze, Refuse>;

inline constexpr Source allSources[] = {Source::menu, Source::hotKey, Source::notification, Source::overlay};

/// The minutes of a granted snooze; nullopt for a refusal.
std::optional<int> grantedMinutes(const Verdict& verdict);
/// Grants `minutes` while the budget allows one more snooze; the source does not matter.
Verdict verdict(int minutes, Source from, const SnoozeBudget& budget, int snoozeCount, int dailyCount);
/// Whether a snooze would be granted now; the heads-up uses it to offer snoozing at all.
bool isAllowed(const SnoozeBudget& budget, int snoozeCount, int dailyCount);

} // namespace sorvala::SnoozeRequest

namespace sorvala {
/// "menu", "hotKey", "notification" or "overlay".
std::string_view text(SnoozeRequest::Source source);
/// The source a word names; nullopt for a word it does not know.
std::optional<SnoozeRequest::Source> snoozeSourceFromText(std::string_view word);
/// "budgetSpent".
std::string_view text(SnoozeRequest::Reason reason);
} // namespace sorvala
