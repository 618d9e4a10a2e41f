// SPDX-License-Identifier: MIT
#pragma once

#include "app/KeyboardShortcut.h"

#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

class PreferencesStore;

namespace SettingsSchema {
// The hot-key bindings: text in the store, outside the schema table and its registration domain.
inline constexpr std::string_view shortcutToggleBreakKey = "shortcutToggleBreak";
inline constexpr std::string_view shortcutStartMicroBreakKey = "shortcutStartMicroBreak";
inline constexpr std::string_view shortcutTogglePauseKey = "shortcutTogglePause";
inline constexpr std::string_view shortcutSnoozeOneMinuteKey = "shortcutSnoozeOneMinute";
inline constexpr std::string_view shortcutSnoozeFiveMinutesKey = "shortcutSnoozeFiveMinutes";
inline constexpr std::string_view shortcutSnoozeFifteenMinutesKey = "shortcutSnoozeFifteenMinutes";
} // namespace SettingsSchema

/// The six commands a global shortcut can trigger. The position (0 to 5) identifies a
/// registered hot key.
enum class ShortcutAction { toggleBreak, startMicroBreak, togglePause, snoozeOneMinute, snoozeFiveMinutes, snoozeFifteenMinutes };

inline constexpr ShortcutAction allShortcutActions[] = {
    ShortcutAction::toggleBreak,       ShortcutAction::startMicroBreak,   ShortcutAction::togglePause,
    ShortcutAction::snoozeOneMinute,   ShortcutAction::snoozeFiveMinutes, ShortcutAction::snoozeFifteenMinutes};

/// The case name used in log lines: "toggleBreak", "startMicroBreak", ...
std::string_view text(ShortcutAction action);
/// The action a case name names; nullopt for a word it does not know.
std::optional<ShortcutAction> shortcutActionFromText(std::string_view word);

/// The action's position, 0 to 5: the identifier its hot key is registered under.
int rawValue(ShortcutAction action);
/// The action at a position; nullopt outside 0 to 5.
std::optional<ShortcutAction> shortcutActionFromRawValue(std::int64_t raw);

/// The settings key holding the action's binding ("shortcutToggleBreak", ...).
std::string_view defaultsKey(ShortcutAction action);
/// The action's title in the settings editor ("Start or skip break", ...).
std::string title(ShortcutAction action);
/// The factory binding: Ctrl+Alt+Super+B for toggleBreak, none for the others.
std::optional<KeyboardShortcut> defaultShortcut(ShortcutAction action);

/// The name `sorvala --action NAME` takes ("start-break", "snooze-5", ...), for desktops where
/// the user binds keys in the desktop's own settings.
std::string_view commandLineName(ShortcutAction action);
/// The action a command-line name names; nullopt for a name it does not know.
std::optional<ShortcutAction> shortcutActionFromCommandLineName(std::string_view name);

/// The binding in force given the stored value: nullopt (missing) means the default, a text
/// that does not decode (the empty text included) means no binding.
std::optional<KeyboardShortcut> shortcut(ShortcutAction action, const std::optional<std::string>& saved);
/// Reads the action's key at the moment of use and decides like `shortcut`. A stored value that
/// is not text (a list) is no binding.
std::optional<KeyboardShortcut> storedShortcut(ShortcutAction action, const PreferencesStore& store);

/// What the settings say when the desktop offers no way to register global shortcuts.
std::string desktopShortcutsHint();

} // namespace sorvala
