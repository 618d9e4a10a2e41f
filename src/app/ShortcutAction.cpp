// SPDX-License-Identifier: MIT
#include "app/ShortcutAction.h"

#include "core/PreferencesStore.h"
#include "core/Text.h"
#include "i18n/I18n.h"

#include <vector>

namespace sorvala {

std::string_view text(ShortcutAction action) {
    switch (action) {
    case ShortcutAction::toggleBreak: return "toggleBreak";
    case ShortcutAction::startMicroBreak: return "startMicroBreak";
    case ShortcutAction::togglePause: return "togglePause";
    case ShortcutAction::snoozeOneMinute: return "snoozeOneMinute";
    case ShortcutAction::snoozeFiveMinutes: return "snoozeFiveMinutes";
    case ShortcutAction::snoozeFifteenMinutes: return "snoozeFifteenMinutes";
    }
    return {};
}

std::optional<ShortcutAction> shortcutActionFromText(std::string_view word) {
    for (const auto action : allShortcutActions) {
        if (text(action) == word)
            return action;
    }
    return std::nullopt;
}

int rawValue(ShortcutAction action) {
    return static_cast<int>(action);
}

std::optional<ShortcutAction> shortcutActionFromRawValue(std::int64_t raw) {
    for (const auto action : allShortcutActions) {
        if (rawValue(action) == raw)
            return action;
    }
    return std::nullopt;
}

std::string_view defaultsKey(ShortcutAction action) {
    using namespace SettingsSchema;
    switch (action) {
    case ShortcutAction::toggleBreak: return shortcutToggleBreakKey;
    case ShortcutAction::startMicroBreak: return shortcutStartMicroBreakKey;
    case ShortcutAction::togglePause: return shortcutTogglePauseKey;
    case ShortcutAction::snoozeOneMinute: return shortcutSnoozeOneMinuteKey;
    case ShortcutAction::snoozeFiveMinutes: return shortcutSnoozeFiveMinutesKey;
    case ShortcutAction::snoozeFifteenMinutes: return shortcutSnoozeFifteenMinutesKey;
    }
    return {};
}

std::string title(ShortcutAction action) {
    switch (action) {
    case ShortcutAction::toggleBreak: return i18n("Start or skip break");
    case ShortcutAction::startMicroBreak: return i18n("Start micro break");
    case ShortcutAction::togglePause: return i18n("Pause or resume reminders");
    case ShortcutAction::snoozeOneMinute: return i18np("Snooze by %1 minute", "Snooze by %1 minutes", 1);
    case ShortcutAction::snoozeFiveMinutes: return i18np("Snooze by %1 minute", "Snooze by %1 minutes", 5);
    case ShortcutAction::snoozeFifteenMinutes: return i18np("Snooze by %1 minute", "Snooze by %1 minutes", 15);
    }
    return {};
}

std::optional<KeyboardShortcut> defaultShortcut(ShortcutAction action) {
    if (action == ShortcutAction::toggleBreak)
        return KeyboardShortcut{11, KeyboardShortcut::controlMask | KeyboardShortcut::optionMask |
                                        KeyboardShortcut::commandMask, "B"};
    return std::nullopt;
}

std::string_view commandLineName(ShortcutAction action) {
    switch (action) {
    case ShortcutAction::toggleBreak: return "start-break";
    case ShortcutAction::startMicroBreak: return "start-micro-break";
    case ShortcutAction::togglePause: return "toggle-pause";
    case ShortcutAction::snoozeOneMinute: return "snooze-1";
    case ShortcutAction::snoozeFiveMinutes: return "snooze-5";
    case ShortcutAction::snoozeFifteenMinutes: return "snooze-15";
    }
    return {};
}

std::optional<ShortcutAction> shortcutActionFromCommandLineName(std::string_view name) {
    for (const auto action : allShortcutActions) {
        if (commandLineName(action) == name)
            return action;
    }
    return std::nullopt;
}

std::optional<KeyboardShortcut> shortcut(ShortcutAction action, const std::optional<std::string>& saved) {
    if (!saved)
        return defaultShortcut(action);
    return KeyboardShortcut::fromEncoded(*saved);
}

std::optional<KeyboardShortcut> storedShortcut(ShortcutAction action, const PreferencesStore& store) {
    const auto value = store.object(defaultsKey(action));
    if (!value)
        return defaultShortcut(action);
    // Present but not text (a list) decodes to nothing, like any other unreadable binding.
    return shortcut(action, PreferenceConversion::toText(*value).value_or(std::string()));
}

std::string desktopShortcutsHint() {
    std::vector<std::string> names;
    for (const auto action : allShortcutActions)
        names.emplace_back(commandLineName(action));
    // TRANSLATORS: "sorvala --action NAME" is a command and stays as it is; %1 lists the names.
    return i18n("This desktop does not let Sorvala register global shortcuts. Bind keys in your desktop's "
                "keyboard settings to the command “sorvala --action NAME”, where NAME is %1.",
                Text::joined(names));
}

} // namespace sorvala
