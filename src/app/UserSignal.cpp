// SPDX-License-Identifier: MIT
#include "app/UserSignal.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "core/WorkClock.h"

namespace sorvala {

UserSignal UserSignal::preBreak(bool snoozeAllowed, int snoozesTaken, std::optional<int> snoozesRemaining,
                                int takenToday, int resolvedToday) {
    UserSignal signal;
    signal.kind = Kind::preBreak;
    signal.identifier = "pre-break";
    signal.category = snoozeAllowed ? "pre-break" : "pre-break-final";
    signal.snoozeAllowed = snoozeAllowed;
    signal.snoozesTaken = snoozesTaken;
    signal.snoozesRemaining = snoozesRemaining;
    signal.takenToday = takenToday;
    signal.resolvedToday = resolvedToday;
    return signal;
}

UserSignal UserSignal::smartPause(std::string_view alertDescription) {
    UserSignal signal;
    signal.kind = Kind::smartPause;
    signal.identifier = "smart-pause";
    signal.body = "Break waiting while " + std::string(alertDescription) + " — it will start once that clears.";
    return signal;
}

UserSignal UserSignal::blockerStillHolding(std::string_view alertDescription, int minutes) {
    UserSignal signal;
    signal.kind = Kind::smartPause;
    signal.identifier = "blocker-still-holding";
    signal.body = "Your break has been waiting " + std::to_string(minutes) + " minutes — " +
                  std::string(alertDescription) + ". It starts as soon as that clears.";
    return signal;
}

UserSignal UserSignal::awayUndo() {
    UserSignal signal;
    signal.kind = Kind::awayUndo;
    signal.identifier = "away-undo";
    signal.body = std::string(AwayUndo::resetDescription);
    return signal;
}

UserSignal::Medium UserSignal::preBreakMedium(const PreferencesStore& store, bool bannerAvailable) {
    return store.boolean(SettingsSchema::preBreakOverlayKey) || !bannerAvailable ? Medium::panel : Medium::banner;
}

std::string_view text(UserSignal::Kind kind) {
    switch (kind) {
    case UserSignal::Kind::preBreak: return "preBreak";
    case UserSignal::Kind::smartPause: return "smartPause";
    case UserSignal::Kind::updateAvailable: return "updateAvailable";
    case UserSignal::Kind::overtime: return "overtime";
    case UserSignal::Kind::wellness: return "wellness";
    case UserSignal::Kind::awayUndo: return "awayUndo";
    }
    return "preBreak";
}

std::string_view text(UserSignal::Medium medium) {
    switch (medium) {
    case UserSignal::Medium::banner: return "banner";
    case UserSignal::Medium::panel: return "panel";
    case UserSignal::Medium::silent: return "silent";
    }
    return "banner";
}

} // namespace sorvala
