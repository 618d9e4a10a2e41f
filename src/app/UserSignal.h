// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

class PreferencesStore;

/// Something the application tells the user between breaks: what it is and the texts a banner
/// or panel shows for it.
struct UserSignal {
    enum class Kind { preBreak, smartPause, updateAvailable, overtime, wellness, awayUndo };
    /// How the signal reaches the user.
    enum class Medium { banner, panel, silent };

    Kind kind = Kind::preBreak;
    std::string identifier; ///< withdraws a banner by identifier
    std::string category;   ///< the banner category with the signal's actions; empty for none
    std::string body;
    // The heads-up's snooze offer.
    bool snoozeAllowed = false;
    int snoozesTaken = 0;
    std::optional<int> snoozesRemaining;
    int takenToday = 0;
    int resolvedToday = 0;

    /// The heads-up before a long break; its category carries the snooze actions while allowed.
    static UserSignal preBreak(bool snoozeAllowed, int snoozesTaken, std::optional<int> snoozesRemaining,
                               int takenToday, int resolvedToday);
    /// A due break is held while the cause described by `alertDescription` lasts.
    static UserSignal smartPause(std::string_view alertDescription);
    /// A cause has held the break for `minutes`.
    static UserSignal blockerStillHolding(std::string_view alertDescription, int minutes);
    /// The user came back from an absence that reset the work clock; undo is offered.
    static UserSignal awayUndo();

    /// The heads-up goes as a panel when the overlay setting is on or no banner can be posted.
    static Medium preBreakMedium(const PreferencesStore& store, bool bannerAvailable);
};

/// "preBreak", "smartPause", ...: the word in log lines.
std::string_view text(UserSignal::Kind kind);
/// "banner", "panel" or "silent".
std::string_view text(UserSignal::Medium medium);

} // namespace sorvala
