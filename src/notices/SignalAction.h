// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>
#include <variant>

namespace sorvala {

/// What the user's response to a banner asks the application to do.
struct SignalAction {
    struct Snooze {
        int minutes = 0;
        bool operator==(const Snooze&) const = default;
    };
    struct StartBreak {
        bool operator==(const StartBreak&) const = default;
    };
    struct OpenUpdate {
        bool operator==(const OpenUpdate&) const = default;
    };
    struct Ignore {
        bool operator==(const Ignore&) const = default;
    };
    using Outcome = std::variant<Snooze, StartBreak, OpenUpdate, Ignore>;

    static constexpr std::string_view snoozePrefix = "snooze-";
    static constexpr std::string_view updateCategory = "update-available";
    static constexpr std::string_view downloadUpdateAction = "download-update";

    /// Whether `category` is one of the heads-up's categories.
    static bool isBreakCategory(std::string_view category);
    /// The outcome of choosing `action` on a banner of `category`; `isDefaultAction` when the
    /// banner itself was clicked.
    static Outcome forResponse(std::string_view action, std::string_view category, bool isDefaultAction);
};

} // namespace sorvala
