// SPDX-License-Identifier: MIT
#include "app/HotKeys.h"

#include "app/ports/HotKeyRegistrar.h"
#include "app/ports/ShortcutCommands.h"
#include "core/Logger.h"
#include "core/PreferencesStore.h"

#include <string>

namespace sorvala::HotKeys {

std::vector<HotKeyRegistrar::Binding> bindingsInForce(const PreferencesStore& store) {
    std::vector<HotKeyRegistrar::Binding> bindings;
    for (const auto action : allShortcutActions) {
        if (auto shortcut = storedShortcut(action, store))
            bindings.push_back({action, std::move(*shortcut)});
    }
    return bindings;
}

int registerHotKeys(const PreferencesStore& store, HotKeyRegistrar& registrar, Logger& log) {
    if (!registrar.available()) {
        // The registrar said why once when it was made; a line per binding each time adds nothing.
        log.log("hot keys registered count=0");
        return 0;
    }
    const auto bindings = bindingsInForce(store);
    const auto failures = registrar.replaceBindings(bindings);
    int count = 0;
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        const bool failed = i >= failures.size() || failures[i].has_value();
        if (!failed) {
            ++count;
            continue;
        }
        const std::string status = i < failures.size() ? *failures[i] : std::string("unanswered");
        log.log("hot key registration failed action=" + std::string(text(bindings[i].action)) +
                " key=" + bindings[i].shortcut.keyLabel + " status=" + status);
    }
    log.log("hot keys registered count=" + std::to_string(count));
    return count;
}

std::optional<ShortcutAction> actionFor(const std::vector<HotKeyRegistrar::Binding>& bindings,
                                        std::uint32_t keyCode, std::uint32_t modifiers) {
    constexpr auto relevant = KeyboardShortcut::commandMask | KeyboardShortcut::shiftMask |
                              KeyboardShortcut::optionMask | KeyboardShortcut::controlMask;
    for (const auto& binding : bindings) {
        if (binding.shortcut.keyCode == keyCode && (binding.shortcut.modifiers & relevant) == (modifiers & relevant))
            return binding.action;
    }
    return std::nullopt;
}

int snoozeMinutes(ShortcutAction action) {
    switch (action) {
    case ShortcutAction::snoozeOneMinute: return 1;
    case ShortcutAction::snoozeFiveMinutes: return 5;
    case ShortcutAction::snoozeFifteenMinutes: return 15;
    case ShortcutAction::toggleBreak:
    case ShortcutAction::startMicroBreak:
    case ShortcutAction::togglePause: return 0;
    }
    return 0;
}

void perform(ShortcutAction action, ShortcutCommands& commands, Logger& log) {
    log.log("hot key pressed action=" + std::string(text(action)));
    switch (action) {
    case ShortcutAction::toggleBreak:
        commands.toggleBreakFromHotKey();
        return;
    case ShortcutAction::startMicroBreak:
        commands.startMicroBreakNow();
        return;
    case ShortcutAction::togglePause:
        if (commands.isPaused())
            commands.resumeReminders();
        else
            commands.pauseUntilResumed();
        return;
    case ShortcutAction::snoozeOneMinute:
    case ShortcutAction::snoozeFiveMinutes:
    case ShortcutAction::snoozeFifteenMinutes:
        commands.snoozeFromHotKey(snoozeMinutes(action));
        return;
    }
}

} // namespace sorvala::HotKeys
