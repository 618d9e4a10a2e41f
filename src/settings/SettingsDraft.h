// SPDX-License-Identifier: MIT
#pragma once

#include "app/KeyboardShortcut.h"
#include "app/ShortcutAction.h"
#include "core/FixedBreakTimes.h"
#include "core/PreferencesStore.h"
#include "drawing/Settings.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// Everything the settings window edits, held apart from the store until the user saves: every
/// schema setting in its schema type, the drawing appearance and the six shortcut bindings.
class SettingsDraft {
public:
    /// The window's edits as read from the store now (registers the appearance defaults first).
    static SettingsDraft load(PreferencesStore& store, int drawingCount);
    /// Every factory default: the schema's, the appearance's and each action's default binding.
    static SettingsDraft factory(int drawingCount);

    /// The value under a schema key or an appearance key ("theme", "style", "ink", "speed");
    /// nullptr for a key the window does not edit.
    const PreferenceValue* value(std::string_view key) const;
    /// Sets a key in its row's own type, bounded by the row's editor range; false (and nothing
    /// changes) for a key the window does not edit.
    bool set(std::string_view key, const PreferenceValue& value);

    bool boolean(std::string_view key) const;
    std::int64_t integer(std::string_view key) const;
    double number(std::string_view key) const;
    std::string text(std::string_view key) const;
    std::vector<std::string> textList(std::string_view key) const;

    /// A switch that is on or a number that is not 0, in this unsaved state.
    bool isOn(std::string_view key) const;
    /// Whether the setting would have an effect with this unsaved state.
    bool isLive(std::string_view key) const;

    /// The drawings allowed to come up.
    const std::set<int>& enabledDrawings() const { return m_enabledDrawings; }
    void setDrawingEnabled(int number, bool enabled);
    /// The appearance as these edits describe it.
    Settings appearance() const;

    std::optional<KeyboardShortcut> shortcut(ShortcutAction action) const;
    void setShortcut(ShortcutAction action, std::optional<KeyboardShortcut> shortcut);

    /// The planned times, in stored order.
    std::vector<ClockTime> plannedTimes() const;
    void setPlannedTimes(const std::vector<ClockTime>& times);
    /// The planned times the working hours of this state never let fire, formatted ("07:00").
    std::vector<std::string> neverFiringTimes() const;
    /// The explanation that refuses a save, while some planned time can never fire.
    std::optional<std::string> plannedBreakRejection() const;

    /// This state with every value the user left alone since `openedWith` replaced by the
    /// store's `current` one, so a change made elsewhere while the window was open survives.
    SettingsDraft mergedOver(const SettingsDraft& openedWith, const SettingsDraft& current) const;
    /// Writes every edited value under its key in its schema type, the appearance and every
    /// binding (the empty text for none).
    void save(PreferencesStore& store) const;

    bool operator==(const SettingsDraft&) const = default;

private:
    SettingsDraft() = default;

    std::map<std::string, PreferenceValue, std::less<>> m_values;
    std::set<int> m_enabledDrawings;
    std::optional<int> m_pinnedDrawing;
    int m_drawingCount = 0;
    std::array<std::optional<KeyboardShortcut>, std::size(allShortcutActions)> m_shortcuts{};
};

} // namespace sorvala
