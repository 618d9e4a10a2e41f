// SPDX-License-Identifier: MIT
#include "app/SettingsSchema.h"

#include "app/AutomationHooks.h"
#include "core/EnforcementTier.h"
#include "notices/SoundDesign.h"

#include <algorithm>

namespace sorvala {

std::string_view text(FactoryDefault::Type type) {
    switch (type) {
    case FactoryDefault::Type::boolean:
        return "boolean";
    case FactoryDefault::Type::integer:
        return "integer";
    case FactoryDefault::Type::number:
        return "number";
    case FactoryDefault::Type::text:
        return "text";
    case FactoryDefault::Type::textList:
        return "textList";
    }
    return "text";
}

bool Setting::acceptsInEditor(double value) const {
    if (editorRange && (value < editorRange->minimum || value > editorRange->maximum))
        return false;
    if (!editorChoices.empty())
        return std::any_of(editorChoices.begin(), editorChoices.end(),
                           [value](std::int64_t choice) { return static_cast<double>(choice) == value; });
    return true;
}

bool Setting::acceptsText(std::string_view word) const {
    return textChoices.empty() || std::find(textChoices.begin(), textChoices.end(), word) != textChoices.end();
}

namespace SettingsSchema {

namespace {

using Range = Setting::Range;

Setting row(std::string_view key, FactoryDefault factoryDefault, std::vector<std::string_view> dependsOn = {},
            std::optional<Range> range = std::nullopt, std::vector<std::int64_t> choices = {}) {
    return Setting{key, std::move(factoryDefault), std::move(dependsOn), range, std::move(choices), {}};
}

FactoryDefault on(bool value) { return FactoryDefault::boolean(value); }
FactoryDefault whole(std::int64_t value) { return FactoryDefault::integer(value); }
FactoryDefault fraction(double value) { return FactoryDefault::number(value); }
FactoryDefault words(std::string value) { return FactoryDefault::text(std::move(value)); }

Setting choice(std::string_view key, std::string value, std::vector<std::string_view> choices,
               std::vector<std::string_view> dependsOn = {}) {
    Setting setting = row(key, words(std::move(value)), std::move(dependsOn));
    setting.textChoices = std::move(choices);
    return setting;
}

std::vector<std::string_view> tierWords() {
    std::vector<std::string_view> words;
    for (const auto tier : allEnforcementTiers)
        words.push_back(text(tier));
    return words;
}

std::vector<std::string_view> pairNames() {
    std::vector<std::string_view> names;
    for (const auto& pair : SoundDesign::pairs)
        names.push_back(pair.name);
    return names;
}

constexpr Range minuteOfDay{0, 1439};
constexpr Range volume{0.0, 1.0};

std::vector<Setting> buildSettings() {
    return {
        row(reminderMinutesKey, whole(20), {}, Range{0, 480}),
        row(microMinutesKey, whole(20), {}, Range{0, 120}),
        row(breakCycleEnabledKey, on(true), {microMinutesKey}),
        row(breakCycleLengthKey, whole(3), {breakCycleEnabledKey}, Range{0, 12}),
        row(fixedBreakTimesKey, words("")),
        row(workingHoursEnabledKey, on(false)),
        row(workingHoursStartMinutesKey, whole(540), {workingHoursEnabledKey}, minuteOfDay),
        row(workingHoursEndMinutesKey, whole(1020), {workingHoursEnabledKey}, minuteOfDay),
        row(workingWeekdaysMaskKey, whole(weekdaysMaskMondayToFriday), {workingHoursEnabledKey}, Range{0, 127}),
        choice(enforcementLongBreaksKey, "casual", tierWords()),
        choice(enforcementMicroBreaksKey, "casual", tierWords()),
        row(lockScreenOnBreakStartKey, on(false)),
        row(snoozesPerSessionKey, whole(3), {}, Range{0, 20}),
        row(snoozesPerDayKey, whole(0), {}, Range{0, 50}),
        row(showSnoozesRemainingKey, on(true), {snoozesPerSessionKey, snoozesPerDayKey}),
        row(doubleEscapeSkipsKey, on(true)),
        row(endNearlyDoneKey, on(true)),
        row(preBreakOverlayKey, on(false)),
        row(preBreakOverlayPositionKey, whole(1), {preBreakOverlayKey}, Range{0, 2}),
        row(overtimeNudgeKey, on(true)),
        row(overtimeNudgeWhilePausedKey, on(false), {overtimeNudgeKey}),
        row(menuBarCountdownKey, on(true)),
        row(softChimeEnabledKey, on(true)),
        choice(soundPairKey, "Glass", pairNames(), {softChimeEnabledKey}),
        row(breaksSoundVolumeKey, fraction(0.25), {softChimeEnabledKey}, volume),
        row(reminderSoundEnabledKey, on(false)),
        row(smartPauseSoundEnabledKey, on(false)),
        row(activeAfterIdleSoundEnabledKey, on(false)),
        row(remindersSoundVolumeKey, fraction(0.25),
            {reminderSoundEnabledKey, smartPauseSoundEnabledKey, activeAfterIdleSoundEnabledKey}, volume),
        row(overtimeNudgeSoundEnabledKey, on(true), {overtimeNudgeKey}),
        row(nudgesSoundVolumeKey, fraction(0.25), {overtimeNudgeSoundEnabledKey}, volume),
        row(excludedAppBundleIdentifiersKey, FactoryDefault::textList({})),
        row(pauseDuringVideoKey, on(false)),
        row(pauseDuringCalendarEventsKey, on(false)),
        row(pauseDuringScreenCaptureKey, on(false)),
        row(smartPauseCooldownSecondsKey, whole(30), {}, std::nullopt, {0, 30, 60, 120, 300}),
        row(smartPauseAlertsKey, on(false)),
        row(wellnessPostureKey, on(false)),
        row(wellnessBlinkKey, on(false)),
        row(wellnessIntervalMinutesKey, whole(10), {wellnessPostureKey, wellnessBlinkKey}, std::nullopt,
            {5, 10, 15, 20, 30}),
        row(breakStartCommandKey, words("")),
        row(breakEndCommandKey, words("")),
        // Linux: the calendar cause reads iCalendar files and folders the user picks.
        row(calendarSourcesKey, FactoryDefault::textList({}), {pauseDuringCalendarEventsKey}),
    };
}

const Setting* find(std::string_view key) {
    const auto& rows = byKey();
    const auto found = rows.find(key);
    return found == rows.end() ? nullptr : found->second;
}

// A dependency chain longer than the table would be a cycle; treat it as no effect rather than
// recursing forever.
bool isLive(std::string_view key, const std::function<bool(std::string_view)>& isOn, std::size_t depth) {
    const Setting* setting = find(key);
    if (!setting || setting->dependsOn.empty())
        return true;
    if (depth > settings().size())
        return false;
    return std::any_of(setting->dependsOn.begin(), setting->dependsOn.end(), [&](std::string_view dependency) {
        return isOn(dependency) && isLive(dependency, isOn, depth + 1);
    });
}

// The tier a strict-mode switch of the earlier version stands for.
std::string_view tierMigratedFromStrict(bool strict) {
    return strict ? "hardcore" : "casual";
}

} // namespace

const std::vector<Setting>& settings() {
    static const std::vector<Setting> table = buildSettings();
    return table;
}

const std::map<std::string_view, const Setting*>& byKey() {
    static const std::map<std::string_view, const Setting*> index = [] {
        std::map<std::string_view, const Setting*> rows;
        for (const Setting& setting : settings())
            rows.emplace(setting.key, &setting);
        return rows;
    }();
    return index;
}

void registerDefaults(PreferencesStore& store) {
    std::map<std::string, PreferenceValue> defaults;
    for (const Setting& setting : settings())
        defaults.emplace(std::string(setting.key), setting.factoryDefault.stored());
    store.registerDefaults(defaults);
}

std::optional<FactoryDefault> factoryDefault(std::string_view key) {
    if (const Setting* setting = find(key))
        return setting->factoryDefault;
    return std::nullopt;
}

namespace {
template <typename Payload>
Payload defaultPayload(std::string_view key) {
    if (const Setting* setting = find(key))
        if (const auto* payload = std::get_if<Payload>(&setting->factoryDefault.stored()))
            return *payload;
    return Payload{};
}
} // namespace

bool booleanDefault(std::string_view key) {
    return defaultPayload<bool>(key);
}

std::int64_t integerDefault(std::string_view key) {
    return defaultPayload<std::int64_t>(key);
}

double numberDefault(std::string_view key) {
    return defaultPayload<double>(key);
}

std::string textDefault(std::string_view key) {
    return defaultPayload<std::string>(key);
}

bool isLive(std::string_view key, const PreferencesStore& store) {
    return isLive(key, [&store](std::string_view dependency) { return store.boolean(dependency); });
}

bool isLive(std::string_view key, const std::function<bool(std::string_view key)>& isOn) {
    return isLive(key, isOn, 0);
}

void migrateRetiredEnforcementKeys(PreferencesStore& store) {
    const std::pair<std::string_view, std::string_view> pairs[] = {
        {enforcementLongBreaksKey, strictLongBreaksEnabledKey},
        {enforcementMicroBreaksKey, strictMicroBreaksEnabledKey},
    };
    for (const auto& [tierKey, strictKey] : pairs) {
        if (store.object(tierKey))
            continue;
        if (const auto strict = store.object(strictKey))
            store.set(tierKey, std::string(tierMigratedFromStrict(PreferenceConversion::toBoolean(*strict))));
    }
}

} // namespace SettingsSchema

namespace SettingsChanges {

namespace {

// A hook command may carry a token: the log gets its redacted form only.
std::string shownInLog(std::string_view key, const std::string& value) {
    if (value == "unset" || (key != SettingsSchema::breakStartCommandKey && key != SettingsSchema::breakEndCommandKey))
        return value;
    return AutomationHooks::redactedDescription(value);
}

} // namespace

Snapshot snapshot(const PreferencesStore& store) {
    Snapshot result;
    for (const std::string& key : store.registrationKeys()) {
        const auto value = store.object(key);
        result.emplace(key, value ? sorvala::describe(*value) : "unset");
    }
    return result;
}

std::vector<std::string> describe(const Snapshot& from, const Snapshot& to) {
    std::vector<std::string> changes;
    for (const auto& [key, value] : to) { // a map: already in key order
        const auto old = from.find(key);
        if (old != from.end() && old->second == value)
            continue;
        changes.push_back(key + "=" + (old == from.end() ? std::string("unset") : shownInLog(key, old->second)) + "->" +
                          shownInLog(key, value));
    }
    return changes;
}

bool anyChanged(const std::set<std::string, std::less<>>& keys, const Snapshot& from, const Snapshot& to) {
    return std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
        const auto old = from.find(key);
        const auto now = to.find(key);
        if ((old == from.end()) != (now == to.end()))
            return true;
        return old != from.end() && old->second != now->second;
    });
}

const std::set<std::string, std::less<>>& schedulingKeys() {
    static const std::set<std::string, std::less<>> keys = {
        std::string(SettingsSchema::reminderMinutesKey), std::string(SettingsSchema::microMinutesKey),
        std::string(SettingsSchema::fixedBreakTimesKey), std::string(SettingsSchema::breakCycleEnabledKey),
        std::string(SettingsSchema::breakCycleLengthKey)};
    return keys;
}

} // namespace SettingsChanges

} // namespace sorvala
