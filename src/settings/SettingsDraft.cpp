// SPDX-License-Identifier: MIT
#include "settings/SettingsDraft.h"

#include "app/SettingsSchema.h"
#include "core/EnforcementTier.h"
#include "core/WorkingHours.h"
#include "drawing/AppearanceKeys.h"
#include "notices/SoundDesign.h"

#include <algorithm>
#include <cmath>

namespace sorvala {
namespace {

struct AppearanceRow {
    std::string_view key;
    double minimum;
    double maximum;
    bool whole;
};

// The appearance choices the window edits beside the schema, with the codes they may take.
constexpr AppearanceRow appearanceRows[] = {
    {AppearanceKeys::themeKey, 0, 3, true},
    {AppearanceKeys::styleKey, 0, 2, true},
    {AppearanceKeys::inkKey, 0, Settings::inkCount - 1, true},
    {AppearanceKeys::speedKey, 1, 10, false},
};

const AppearanceRow* appearanceRow(std::string_view key) {
    for (const auto& row : appearanceRows)
        if (row.key == key)
            return &row;
    return nullptr;
}

const Setting* schemaRow(std::string_view key) {
    const auto& rows = SettingsSchema::byKey();
    const auto found = rows.find(key);
    return found == rows.end() ? nullptr : found->second;
}

double bounded(double value, double minimum, double maximum) {
    if (std::isnan(value))
        return minimum;
    return std::clamp(value, minimum, maximum);
}

std::int64_t boundedWhole(std::int64_t value, const std::optional<Setting::Range>& range) {
    if (!range)
        return value;
    return std::clamp(value, static_cast<std::int64_t>(range->minimum),
                      static_cast<std::int64_t>(range->maximum));
}

// Some texts are choices: an unknown one shows (and saves) as the value it is read as.
std::string normalisedText(std::string_view key, std::string text) {
    if (key == SettingsSchema::enforcementLongBreaksKey || key == SettingsSchema::enforcementMicroBreaksKey)
        return std::string(sorvala::text(storedEnforcementTier(text)));
    if (key == SettingsSchema::soundPairKey)
        return std::string(SoundDesign::pair(text).name);
    return text;
}

std::optional<PreferenceValue> converted(const Setting& row, const PreferenceValue& value) {
    switch (row.factoryDefault.type()) {
    case FactoryDefault::Type::boolean: return PreferenceConversion::toBoolean(value);
    case FactoryDefault::Type::integer:
        return boundedWhole(PreferenceConversion::toInteger(value), row.editorRange);
    case FactoryDefault::Type::number: {
        const double number = PreferenceConversion::toNumber(value);
        return row.editorRange ? bounded(number, row.editorRange->minimum, row.editorRange->maximum) : number;
    }
    case FactoryDefault::Type::text: {
        auto text = PreferenceConversion::toText(value);
        if (!text)
            return std::nullopt;
        return normalisedText(row.key, std::move(*text));
    }
    case FactoryDefault::Type::textList: return PreferenceConversion::toTextList(value);
    }
    return std::nullopt;
}

std::size_t slot(ShortcutAction action) {
    return static_cast<std::size_t>(rawValue(action));
}

} // namespace

SettingsDraft SettingsDraft::load(PreferencesStore& store, int drawingCount) {
    SettingsDraft draft;
    for (const auto& row : SettingsSchema::settings()) {
        const auto stored = store.object(row.key);
        std::optional<PreferenceValue> value = stored ? converted(row, *stored) : std::nullopt;
        draft.m_values[std::string(row.key)] = value ? *value : row.factoryDefault.stored();
    }
    const Settings appearance = Settings::load(store, drawingCount);
    draft.m_values[std::string(AppearanceKeys::themeKey)] = std::int64_t(appearance.theme);
    draft.m_values[std::string(AppearanceKeys::styleKey)] = std::int64_t(appearance.style);
    draft.m_values[std::string(AppearanceKeys::inkKey)] = std::int64_t(appearance.ink);
    draft.m_values[std::string(AppearanceKeys::speedKey)] = appearance.speed;
    draft.m_enabledDrawings = appearance.enabledDrawings;
    draft.m_pinnedDrawing = appearance.pinnedDrawing;
    draft.m_drawingCount = drawingCount;
    for (const auto action : allShortcutActions)
        draft.m_shortcuts[slot(action)] = storedShortcut(action, store);
    return draft;
}

SettingsDraft SettingsDraft::factory(int drawingCount) {
    SettingsDraft draft;
    for (const auto& row : SettingsSchema::settings())
        draft.m_values[std::string(row.key)] = row.factoryDefault.stored();
    draft.m_values[std::string(AppearanceKeys::themeKey)] = std::int64_t(Settings::defaultTheme);
    draft.m_values[std::string(AppearanceKeys::styleKey)] = std::int64_t(Settings::defaultStyle);
    draft.m_values[std::string(AppearanceKeys::inkKey)] = std::int64_t(Settings::defaultInk);
    draft.m_values[std::string(AppearanceKeys::speedKey)] = Settings::defaultSpeed;
    draft.m_enabledDrawings = Settings::enabledDrawingsFor(0, 0, drawingCount);
    draft.m_drawingCount = drawingCount;
    for (const auto action : allShortcutActions)
        draft.m_shortcuts[slot(action)] = defaultShortcut(action);
    return draft;
}

const PreferenceValue* SettingsDraft::value(std::string_view key) const {
    const auto found = m_values.find(key);
    return found == m_values.end() ? nullptr : &found->second;
}

bool SettingsDraft::set(std::string_view key, const PreferenceValue& value) {
    const auto found = m_values.find(key);
    if (found == m_values.end())
        return false;
    if (const auto* row = appearanceRow(key)) {
        const double number = bounded(PreferenceConversion::toNumber(value), row->minimum, row->maximum);
        if (row->whole)
            found->second = static_cast<std::int64_t>(number);
        else
            found->second = number;
        return true;
    }
    const auto convertedValue = converted(*schemaRow(key), value);
    if (!convertedValue)
        return false;
    found->second = *convertedValue;
    return true;
}

bool SettingsDraft::boolean(std::string_view key) const {
    const auto* v = value(key);
    return v && PreferenceConversion::toBoolean(*v);
}

std::int64_t SettingsDraft::integer(std::string_view key) const {
    const auto* v = value(key);
    return v ? PreferenceConversion::toInteger(*v) : 0;
}

double SettingsDraft::number(std::string_view key) const {
    const auto* v = value(key);
    return v ? PreferenceConversion::toNumber(*v) : 0.0;
}

std::string SettingsDraft::text(std::string_view key) const {
    const auto* v = value(key);
    return v ? PreferenceConversion::toText(*v).value_or("") : std::string();
}

std::vector<std::string> SettingsDraft::textList(std::string_view key) const {
    const auto* v = value(key);
    return v ? PreferenceConversion::toTextList(*v).value_or(std::vector<std::string>{})
             : std::vector<std::string>{};
}

bool SettingsDraft::isOn(std::string_view key) const {
    return boolean(key);
}

bool SettingsDraft::isLive(std::string_view key) const {
    return SettingsSchema::isLive(key, [this](std::string_view dependency) { return isOn(dependency); });
}

void SettingsDraft::setDrawingEnabled(int number, bool enabled) {
    if (enabled)
        m_enabledDrawings.insert(number);
    else
        m_enabledDrawings.erase(number);
}

Settings SettingsDraft::appearance() const {
    Settings settings;
    settings.theme = static_cast<Settings::Theme>(integer(AppearanceKeys::themeKey));
    settings.style = static_cast<Settings::Style>(integer(AppearanceKeys::styleKey));
    settings.ink = static_cast<Settings::Ink>(integer(AppearanceKeys::inkKey));
    settings.speed = number(AppearanceKeys::speedKey);
    settings.pinnedDrawing = m_pinnedDrawing;
    settings.enabledDrawings = m_enabledDrawings;
    return settings;
}

std::optional<KeyboardShortcut> SettingsDraft::shortcut(ShortcutAction action) const {
    return m_shortcuts[slot(action)];
}

void SettingsDraft::setShortcut(ShortcutAction action, std::optional<KeyboardShortcut> shortcut) {
    m_shortcuts[slot(action)] = std::move(shortcut);
}

std::vector<ClockTime> SettingsDraft::plannedTimes() const {
    return FixedBreakTimes::parse(text(SettingsSchema::fixedBreakTimesKey));
}

void SettingsDraft::setPlannedTimes(const std::vector<ClockTime>& times) {
    set(SettingsSchema::fixedBreakTimesKey, FixedBreakTimes::formatted(times));
}

std::vector<std::string> SettingsDraft::neverFiringTimes() const {
    const WorkingHours hours{boolean(SettingsSchema::workingHoursEnabledKey),
                             static_cast<int>(integer(SettingsSchema::workingHoursStartMinutesKey)),
                             static_cast<int>(integer(SettingsSchema::workingHoursEndMinutesKey)),
                             static_cast<int>(integer(SettingsSchema::workingWeekdaysMaskKey))};
    auto times = plannedTimes();
    std::sort(times.begin(), times.end());
    std::vector<std::string> never;
    for (const auto& time : times) {
        const std::string formatted = time.formatted();
        if (!hours.everFires(time.minutesOfDay()) &&
            std::find(never.begin(), never.end(), formatted) == never.end())
            never.push_back(formatted);
    }
    return never;
}

std::optional<std::string> SettingsDraft::plannedBreakRejection() const {
    const auto never = neverFiringTimes();
    if (never.empty())
        return std::nullopt;
    const WorkingHours hours{true, static_cast<int>(integer(SettingsSchema::workingHoursStartMinutesKey)),
                             static_cast<int>(integer(SettingsSchema::workingHoursEndMinutesKey)),
                             static_cast<int>(integer(SettingsSchema::workingWeekdaysMaskKey))};
    return hours.plannedBreakRejection(never);
}

SettingsDraft SettingsDraft::mergedOver(const SettingsDraft& openedWith, const SettingsDraft& current) const {
    SettingsDraft merged = *this;
    for (auto& [key, value] : merged.m_values) {
        const auto* before = openedWith.value(key);
        const auto* now = current.value(key);
        if (before && now && value == *before)
            value = *now;
    }
    if (m_enabledDrawings == openedWith.m_enabledDrawings)
        merged.m_enabledDrawings = current.m_enabledDrawings;
    merged.m_pinnedDrawing = current.m_pinnedDrawing;
    for (std::size_t i = 0; i < m_shortcuts.size(); ++i)
        if (m_shortcuts[i] == openedWith.m_shortcuts[i])
            merged.m_shortcuts[i] = current.m_shortcuts[i];
    return merged;
}

void SettingsDraft::save(PreferencesStore& store) const {
    for (const auto& row : SettingsSchema::settings())
        if (const auto* v = value(row.key))
            store.set(row.key, *v);
    appearance().save(store, m_drawingCount);
    for (const auto action : allShortcutActions) {
        const auto& binding = m_shortcuts[slot(action)];
        store.set(defaultsKey(action), binding ? binding->encoded() : std::string());
    }
}

} // namespace sorvala
