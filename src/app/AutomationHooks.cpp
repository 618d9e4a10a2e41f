// SPDX-License-Identifier: MIT
#include "app/AutomationHooks.h"

#include "app/ports/ProcessLauncher.h"
#include "core/Logger.h"
#include "core/Text.h"

namespace sorvala::AutomationHooks {

namespace {

constexpr std::string_view whiteSpace = " \t\n\r\v\f";

std::string_view trimmed(const std::optional<std::string>& command) {
    return command ? Text::trimmed(*command) : std::string_view();
}

} // namespace

std::string loginShell(std::string_view fromUserDatabase, std::string_view fromEnvironment) {
    if (!fromUserDatabase.empty())
        return std::string(fromUserDatabase);
    if (!fromEnvironment.empty())
        return std::string(fromEnvironment);
    return "/bin/sh";
}

std::optional<std::vector<std::string>> processArguments(const std::optional<std::string>& command,
                                                         std::string_view shell) {
    const auto text = trimmed(command);
    if (text.empty())
        return std::nullopt;
    return std::vector<std::string>{std::string(shell), "-lc", std::string(text)};
}

std::string redactedDescription(const std::optional<std::string>& command) {
    const auto text = trimmed(command);
    if (text.empty())
        return "none";
    // Any white space ends the first word, not only spaces: a tab or a second line would
    // otherwise carry the arguments (and a line break) into the one-line log.
    const auto end = text.find_first_of(whiteSpace);
    if (end == std::string_view::npos)
        return std::string(text);
    return std::string(text.substr(0, end)) + " …";
}

void run(const std::optional<std::string>& command, ProcessLauncher& launcher, Logger& log) {
    const auto arguments = processArguments(command, launcher.loginShell());
    if (!arguments)
        return;
    const auto launch = launcher.startDetached(*arguments);
    if (launch.started)
        log.log("automation hook started: " + redactedDescription(command));
    else
        log.log("automation hook failed to start: " + launch.failure);
}

} // namespace sorvala::AutomationHooks
