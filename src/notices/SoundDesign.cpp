// SPDX-License-Identifier: MIT
#include "notices/SoundDesign.h"

#include "core/SettingsKeys.h"

#include <algorithm>

namespace sorvala::SoundDesign {

std::string_view text(Event event) {
    switch (event) {
    case Event::breakStart: return "breakStart";
    case Event::breakEnd: return "breakEnd";
    case Event::reminder: return "reminder";
    case Event::smartPause: return "smartPause";
    case Event::activeAfterIdle: return "activeAfterIdle";
    case Event::overtimeNudge: return "overtimeNudge";
    }
    return "breakStart";
}

std::optional<Event> eventFromText(std::string_view word) {
    for (const Event event : events)
        if (text(event) == word)
            return event;
    return std::nullopt;
}

std::string_view text(Category category) {
    switch (category) {
    case Category::breaks: return "breaks";
    case Category::reminders: return "reminders";
    case Category::nudges: return "nudges";
    }
    return "breaks";
}

const Pair& pair(std::string_view name) {
    for (const Pair& candidate : pairs)
        if (candidate.name == name)
            return candidate;
    return pairs.front();
}

std::string_view soundName(Event event, std::string_view pairName) {
    switch (event) {
    case Event::breakStart: return pair(pairName).breakStart;
    case Event::breakEnd: return pair(pairName).breakEnd;
    case Event::reminder:
    case Event::smartPause: return "Tink";
    case Event::activeAfterIdle:
    case Event::overtimeNudge: return "Pop";
    }
    return "Tink";
}

std::optional<Resolved> resolve(Event event, std::string_view pairName, bool enabled, double volume) {
    // A NaN volume fails `volume > 0` and plays nothing, like a zero.
    if (!enabled || !(volume > 0))
        return std::nullopt;
    return Resolved{soundName(event, pairName), static_cast<float>(std::min(volume, 1.0))};
}

Category category(Event event) {
    switch (event) {
    case Event::breakStart:
    case Event::breakEnd: return Category::breaks;
    case Event::reminder:
    case Event::smartPause:
    case Event::activeAfterIdle: return Category::reminders;
    case Event::overtimeNudge: return Category::nudges;
    }
    return Category::breaks;
}

std::string_view enabledKey(Event event) {
    using namespace SettingsSchema;
    switch (event) {
    case Event::breakStart:
    case Event::breakEnd: return softChimeEnabledKey;
    case Event::reminder: return reminderSoundEnabledKey;
    case Event::smartPause: return smartPauseSoundEnabledKey;
    case Event::activeAfterIdle: return activeAfterIdleSoundEnabledKey;
    case Event::overtimeNudge: return overtimeNudgeSoundEnabledKey;
    }
    return softChimeEnabledKey;
}

std::string_view volumeKey(Event event) {
    using namespace SettingsSchema;
    switch (category(event)) {
    case Category::breaks: return breaksSoundVolumeKey;
    case Category::reminders: return remindersSoundVolumeKey;
    case Category::nudges: return nudgesSoundVolumeKey;
    }
    return breaksSoundVolumeKey;
}

std::optional<Resolved> storedResolve(const PreferencesStore& store, Event event) {
    const std::string pairName = store.text(SettingsSchema::soundPairKey).value_or(std::string());
    return resolve(event, pairName, store.boolean(enabledKey(event)), store.number(volumeKey(event)));
}

bool isSoundName(std::string_view name) {
    return std::find(soundNames.begin(), soundNames.end(), name) != soundNames.end();
}

} // namespace sorvala::SoundDesign
