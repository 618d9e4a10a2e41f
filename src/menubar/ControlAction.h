// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace sorvala {

/// The commands a script, a status bar or a desktop shortcut hands to the running program
/// (`sorvala --action NAME`, `sorvalactl action NAME`, the D-Bus interface).
enum class ControlAction { startBreak, startMicroBreak, togglePause, snooze1, snooze5, snooze15, skipBreak };

/// Every action, in the order help texts list them.
inline constexpr std::array allControlActions{ControlAction::startBreak, ControlAction::startMicroBreak,
                                              ControlAction::togglePause, ControlAction::snooze1,
                                              ControlAction::snooze5,     ControlAction::snooze15,
                                              ControlAction::skipBreak};

/// The action's name on the command line: "start-break", "snooze-5", ...
std::string_view text(ControlAction action);
/// The action of a command-line name; nullopt for any other word (case matters).
std::optional<ControlAction> controlActionFromText(std::string_view name);
/// The minutes a snooze action asks for; 0 for the others.
int snoozeMinutes(ControlAction action);
/// "start-break, start-micro-break, ...": the names for a help or error text.
std::string_view controlActionNames();

} // namespace sorvala
