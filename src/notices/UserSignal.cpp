// SPDX-License-Identifier: MIT
#include "notices/UserSignal.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "core/WorkClock.h"
#include "i18n/I18n.h"
#include "notices/WellnessNudge.h"

#include <tuple>

namespace sorvala {

namespace {

constexpr std::string_view appName = "Sorvala";

// Core keeps this text in English; here it enters the catalogue, and the status line shares it.
constexpr const char* resetDescription = I18N_NOOP("Away time counted as rest — timer restarted");
static_assert(std::string_view(resetDescription) == AwayUndo::resetDescription);

UserSignal make(UserSignal::Kind kind, std::string_view identifier, std::optional<SoundDesign::Event> sound) {
    UserSignal signal;
    signal.kind = kind;
    signal.identifier = std::string(identifier);
    signal.gatingKey = UserSignal::gatingKeyOf(kind);
    signal.sound = sound;
    return signal;
}

std::string preBreakBody(bool snoozeAllowed, int snoozesTaken, std::optional<int> snoozesRemaining,
                         std::optional<UserSignal::DailyScore> score, bool showSnoozesRemaining) {
    std::string body;
    if (!snoozeAllowed)
        body = i18n("Break in 30 seconds — no snoozes left");
    else if (showSnoozesRemaining && snoozesTaken >= 1 && snoozesRemaining)
        body = i18np("Break in 30 seconds — %1 snooze left", "Break in 30 seconds — %1 snoozes left",
                     *snoozesRemaining);
    else
        body = i18n("Break in 30 seconds");
    if (score && score->resolved >= 1) {
        // Widened so that a long history cannot overflow the percentage.
        const long long percent = static_cast<long long>(score->taken) * 100 / score->resolved;
        // TRANSLATORS: %1 breaks taken of %2 breaks due today, %3 the share taken in percent.
        body += "\n" + i18np("Today: %2 of %1 taken (%3%%)", "Today: %2 of %1 taken (%3%%)", score->resolved,
                             score->taken, percent);
    }
    return body;
}

} // namespace

bool UserSignal::Resource::operator<(const Resource& other) const {
    const auto key = [](const Resource& r) {
        return std::tuple(static_cast<int>(r.type), r.type == Type::slot ? static_cast<int>(r.position) : 0);
    };
    return key(*this) < key(other);
}

UserSignal UserSignal::preBreak(bool snoozeAllowed, int snoozesTaken, std::optional<int> snoozesRemaining,
                                std::optional<DailyScore> dailyScore, bool showSnoozesRemaining) {
    auto signal = make(Kind::preBreak, preBreakIdentifier, SoundDesign::Event::reminder);
    signal.category = snoozeAllowed ? "pre-break" : "pre-break-final";
    signal.interruption = Interruption::timeSensitive;
    signal.title = std::string(appName);
    signal.body =
        preBreakBody(snoozeAllowed, snoozesTaken, snoozesRemaining, dailyScore, showSnoozesRemaining);
    return signal;
}

UserSignal UserSignal::smartPause(std::string_view alertDescription) {
    auto signal = make(Kind::smartPause, smartPauseIdentifier, SoundDesign::Event::smartPause);
    signal.title = std::string(appName);
    // TRANSLATORS: %1 says what holds the break, such as "a video call is on".
    signal.body = i18n("Break waiting while %1 — it will start once that clears.",
                       Translation::translated(nullptr, std::string(alertDescription).c_str()));
    return signal;
}

UserSignal UserSignal::blockerStillHolding(std::string_view alertDescription, int minutes) {
    auto signal = make(Kind::smartPause, "blocker-still-holding", SoundDesign::Event::smartPause);
    // Whether it is due at all is the scheduler's decision; the smart-pause alert switch does not
    // silence it.
    signal.gatingKey.reset();
    signal.title = std::string(appName);
    // TRANSLATORS: %2 says what holds the break, such as "a video call is on".
    signal.body = i18np("Your break has been waiting %1 minute — %2. It starts as soon as that clears.",
                        "Your break has been waiting %1 minutes — %2. It starts as soon as that clears.", minutes,
                        Translation::translated(nullptr, std::string(alertDescription).c_str()));
    return signal;
}

UserSignal UserSignal::updateAvailable(std::string_view version) {
    auto signal = make(Kind::updateAvailable, "update-available", std::nullopt);
    signal.category = "update-available";
    signal.title = i18n("Sorvala %1 is available", version);
    signal.body = i18n("Download and install the update.");
    return signal;
}

UserSignal UserSignal::overtime(std::string_view text) {
    auto signal = make(Kind::overtime, "overtime", SoundDesign::Event::overtimeNudge);
    signal.body = std::string(text);
    return signal;
}

UserSignal UserSignal::wellness(std::string_view message) {
    auto signal = make(Kind::wellness, "wellness", std::nullopt);
    signal.body = std::string(message);
    return signal;
}

UserSignal UserSignal::awayUndo() {
    auto signal = make(Kind::awayUndo, "away-undo", SoundDesign::Event::activeAfterIdle);
    signal.body = i18n(resetDescription);
    return signal;
}

UserSignal::Priority UserSignal::priority(Kind kind) {
    switch (kind) {
    case Kind::preBreak: return Priority::imminent;
    case Kind::awayUndo: return Priority::actionable;
    case Kind::overtime: return Priority::ambient;
    case Kind::smartPause:
    case Kind::updateAvailable:
    case Kind::wellness: return Priority::nudge;
    }
    return Priority::nudge;
}

UserSignal::Medium UserSignal::medium(Kind kind, const PreferencesStore& store, bool bannerAvailable) {
    switch (kind) {
    case Kind::preBreak: return preBreakMedium(store, bannerAvailable);
    case Kind::smartPause:
    case Kind::updateAvailable: return bannerAvailable ? Medium::banner : Medium::silent;
    case Kind::overtime:
    case Kind::wellness:
    case Kind::awayUndo: return Medium::panel;
    }
    return Medium::silent;
}

UserSignal::Medium UserSignal::preBreakMedium(const PreferencesStore& store, bool bannerAvailable) {
    return store.boolean(SettingsSchema::preBreakOverlayKey) || !bannerAvailable ? Medium::panel
                                                                                 : Medium::banner;
}

std::optional<PreBreakOverlay::Position> UserSignal::slot(Kind kind, const PreferencesStore& store) {
    switch (kind) {
    case Kind::preBreak:
        return PreBreakOverlay::position(store.integer(SettingsSchema::preBreakOverlayPositionKey));
    case Kind::overtime: return PreBreakOverlay::Position::topRight;
    case Kind::wellness:
    case Kind::awayUndo: return PreBreakOverlay::Position::topCenter;
    case Kind::smartPause:
    case Kind::updateAvailable: return std::nullopt;
    }
    return std::nullopt;
}

std::vector<UserSignal::Resource> UserSignal::resources(Kind kind, const PreferencesStore& store) {
    std::vector<Resource> result;
    if (const auto position = slot(kind, store))
        result.push_back(Resource::slot(*position));
    if (dimsScreen(kind))
        result.push_back(Resource::screenDim());
    return result;
}

bool UserSignal::resolvesOnLoss(Kind kind) {
    return kind == Kind::awayUndo;
}

bool UserSignal::dimsScreen(Kind kind) {
    return kind == Kind::preBreak;
}

std::optional<std::string> UserSignal::gatingKeyOf(Kind kind) {
    if (kind == Kind::smartPause)
        return std::string(SettingsSchema::smartPauseAlertsKey);
    if (kind == Kind::overtime)
        return std::string(SettingsSchema::overtimeNudgeKey);
    return std::nullopt;
}

bool UserSignal::hasSomethingToDraw(Kind kind, std::string_view body) {
    return kind != Kind::wellness || WellnessNudge::kind(body).has_value();
}

bool UserSignal::isEnabled(const PreferencesStore& store) const {
    return !gatingKey || store.boolean(*gatingKey);
}

bool UserSignal::isEnabled(Kind kind, const PreferencesStore& store) {
    const auto key = gatingKeyOf(kind);
    return !key || store.boolean(*key);
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

std::string_view text(UserSignal::Interruption interruption) {
    switch (interruption) {
    case UserSignal::Interruption::passive: return "passive";
    case UserSignal::Interruption::active: return "active";
    case UserSignal::Interruption::timeSensitive: return "timeSensitive";
    }
    return "passive";
}

} // namespace sorvala
