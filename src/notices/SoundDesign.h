// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"

#include <array>
#include <optional>
#include <string_view>

/// Which chime each event plays, in which volume category, behind which settings.
namespace sorvala::SoundDesign {

/// The six moments that may chime.
enum class Event { breakStart, breakEnd, reminder, smartPause, activeAfterIdle, overtimeNudge };
/// The three volume categories, one volume setting each.
enum class Category { breaks, reminders, nudges };

/// A named pair of break chimes: one for the start of a break, one for its end.
struct Pair {
    std::string_view name;
    std::string_view breakStart;
    std::string_view breakEnd;
    bool operator==(const Pair&) const = default;
};

/// Every event, in order.
inline constexpr std::array<Event, 6> events = {Event::breakStart,      Event::breakEnd,
                                                Event::reminder,        Event::smartPause,
                                                Event::activeAfterIdle, Event::overtimeNudge};

/// The chime pairs the user chooses from, in menu order; the first is the fallback.
inline constexpr std::array<Pair, 4> pairs = {{
    {"Glass", "Glass", "Glass"},
    {"Submarine & Hero", "Submarine", "Hero"},
    {"Purr & Pop", "Purr", "Pop"},
    {"Tink", "Tink", "Tink"},
}};

/// The names of every chime we ship.
inline constexpr std::array<std::string_view, 6> soundNames = {"Glass", "Submarine", "Hero",
                                                               "Purr",  "Pop",       "Tink"};

/// What to play: a chime name and a volume in (0, 1].
struct Resolved {
    std::string_view soundName;
    float volume = 0;
    bool operator==(const Resolved&) const = default;
};

/// The event's word ("breakStart"), for logs and the command line.
std::string_view text(Event event);
/// The event named by `word`; nullopt for words it does not know.
std::optional<Event> eventFromText(std::string_view word);
/// The category's word ("breaks").
std::string_view text(Category category);

/// The pair named exactly `name`; any other name (the empty one too) gives the "Glass" pair.
const Pair& pair(std::string_view name);
/// The chime `event` plays with the chosen pair.
std::string_view soundName(Event event, std::string_view pairName);
/// Nothing when the chime is off or its volume is not above 0; else the chime and the volume
/// capped at 1.
std::optional<Resolved> resolve(Event event, std::string_view pairName, bool enabled, double volume);

/// The volume category of `event`.
Category category(Event event);
/// The boolean setting that switches `event`'s chime on.
std::string_view enabledKey(Event event);
/// The volume setting of `event`'s category.
std::string_view volumeKey(Event event);

/// Reads the pair, the switch and the volume of `event` from `store` now, then resolves.
std::optional<Resolved> storedResolve(const PreferencesStore& store, Event event);

/// Whether `name` is one of the chimes we ship.
bool isSoundName(std::string_view name);

} // namespace sorvala::SoundDesign
