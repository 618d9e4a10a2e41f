// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

class Logger;
class ProcessLauncher;

/// The commands the user runs when a break starts and ends: fire and forget, never waited for.
namespace AutomationHooks {

/// The shell hooks run in: the user database's login shell, else `$SHELL`, else /bin/sh.
/// An empty text counts as absent.
std::string loginShell(std::string_view fromUserDatabase, std::string_view fromEnvironment);

/// The command line to start: `shell`, "-lc" and the trimmed command; nullopt for a missing or
/// blank command.
std::optional<std::vector<std::string>> processArguments(const std::optional<std::string>& command,
                                                         std::string_view shell);

/// How a command appears in the log: its first word, followed by " …" when anything follows, so
/// arguments (names, tokens, paths) never reach the log; leading NAME=value assignments show only
/// "NAME=…"; "none" for a missing or blank command. Every log line and report that names a hook
/// command uses this form.
std::string redactedDescription(const std::optional<std::string>& command);

/// Starts the command in the user's login shell unless it is blank, and logs the start or the
/// failure to start. Returns at once.
void run(const std::optional<std::string>& command, ProcessLauncher& launcher, Logger& log);

} // namespace AutomationHooks
} // namespace sorvala
