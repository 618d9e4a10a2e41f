// SPDX-License-Identifier: MIT
#pragma once

#include "app/ShortcutAction.h"
#include "app/ports/HotKeyRegistrar.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace sorvala {

class Logger;
class PreferencesStore;
class ShortcutCommands;

namespace HotKeys {

/// The binding in force of every action that has one, in table order, read from the store now.
std::vector<HotKeyRegistrar::Binding> bindingsInForce(const PreferencesStore& store);

/// Replaces every registration with the bindings in force now, logs each one that fails and the
/// count that registered; answers that count. Called at launch and after the settings close.
int registerHotKeys(const PreferencesStore& store, HotKeyRegistrar& registrar, Logger& log);

/// The action bound to a key press seen by one of our own windows. While the break screen holds
/// the keyboard, no global grab fires, so it asks this instead.
std::optional<ShortcutAction> actionFor(const std::vector<HotKeyRegistrar::Binding>& bindings,
                                        std::uint32_t keyCode, std::uint32_t modifiers);

/// What a press does: logs it and hands the matching command to the application.
void perform(ShortcutAction action, ShortcutCommands& commands, Logger& log);

/// Minutes a snooze action asks for; 0 for the actions that do not snooze.
int snoozeMinutes(ShortcutAction action);

} // namespace HotKeys
} // namespace sorvala
