// SPDX-License-Identifier: MIT
#include "notices/WellnessNudge.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "i18n/I18n.h"

#include <algorithm>

namespace sorvala::WellnessNudge {

std::string message(Kind kind) {
    return kind == Kind::posture ? i18nc("wellness nudge", "Stand up") : i18nc("wellness nudge", "Blink");
}

std::string_view text(Kind kind) {
    return kind == Kind::posture ? "posture" : "blink";
}

std::optional<Kind> kind(std::string_view body) {
    if (body == message(Kind::posture))
        return Kind::posture;
    if (body == message(Kind::blink))
        return Kind::blink;
    return std::nullopt;
}

std::optional<Kind> nextKind(std::optional<Kind> last, bool postureEnabled, bool blinkEnabled) {
    if (postureEnabled && blinkEnabled)
        return last == Kind::posture ? Kind::blink : Kind::posture;
    if (postureEnabled)
        return Kind::posture;
    if (blinkEnabled)
        return Kind::blink;
    return std::nullopt;
}

std::optional<Kind> storedNextKind(std::optional<Kind> last, const PreferencesStore& store) {
    return nextKind(last, store.boolean(SettingsSchema::wellnessPostureKey),
                    store.boolean(SettingsSchema::wellnessBlinkKey));
}

bool shouldShow(bool onBreak, bool paused, bool withinWorkingHours, bool smartPauseActive,
                bool pauseDuringSmartPause) {
    return withinWorkingHours && !onBreak && !paused && !(smartPauseActive && pauseDuringSmartPause);
}

bool storedShouldShow(bool onBreak, bool paused, bool withinWorkingHours, bool smartPauseActive) {
    return shouldShow(onBreak, paused, withinWorkingHours, smartPauseActive, pausesDuringSmartPause);
}

std::optional<double> storedIntervalSeconds(const PreferencesStore& store) {
    if (!store.boolean(SettingsSchema::wellnessPostureKey) &&
        !store.boolean(SettingsSchema::wellnessBlinkKey))
        return std::nullopt;
    return std::max(1, store.boundedInteger(SettingsSchema::wellnessIntervalMinutesKey)) * 60.0;
}

} // namespace sorvala::WellnessNudge
