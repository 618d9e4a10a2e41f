// SPDX-License-Identifier: MIT
#include "notices/SignalAction.h"

#include <charconv>

namespace sorvala {

namespace {

/// The minutes of a "snooze-N" action; none unless N is a plain positive decimal that fits.
std::optional<int> snoozeMinutes(std::string_view action) {
    if (!action.starts_with(SignalAction::snoozePrefix))
        return std::nullopt;
    const auto digits = action.substr(SignalAction::snoozePrefix.size());
    if (digits.empty() || digits.front() == '+' || digits.front() == '-')
        return std::nullopt;
    int minutes = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), minutes);
    if (error != std::errc() || end != digits.data() + digits.size() || minutes <= 0)
        return std::nullopt;
    return minutes;
}

} // namespace

bool SignalAction::isBreakCategory(std::string_view category) {
    return category == "pre-break" || category == "pre-break-final";
}

SignalAction::Outcome SignalAction::forResponse(std::string_view action, std::string_view category,
                                                bool isDefaultAction) {
    if (const auto minutes = snoozeMinutes(action))
        return Snooze{*minutes};
    if (action == downloadUpdateAction)
        return OpenUpdate{};
    if (isDefaultAction) {
        if (category == updateCategory)
            return OpenUpdate{};
        if (isBreakCategory(category))
            return StartBreak{};
    }
    return Ignore{};
}

} // namespace sorvala
