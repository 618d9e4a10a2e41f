// SPDX-License-Identifier: MIT
#include "app/AutomationHooks.h"

#include "app/ports/ProcessLauncher.h"
#include "core/Logger.h"
#include "core/Text.h"

#include <algorithm>

namespace sorvala::AutomationHooks {

namespace {

constexpr std::string_view whiteSpace = " \t\n\r\v\f";

std::string_view trimmed(const std::optional<std::string>& command) {
    return command ? Text::trimmed(*command) : std::string_view();
}

// The NAME of a shell assignment NAME=value; nullopt for any other word.
std::optional<std::string_view> assignedName(std::string_view word) {
    const auto equals = word.find('=');
    if (equals == 0 || equals == std::string_view::npos)
        return std::nullopt;
    const auto name = word.substr(0, equals);
    const auto isNameCharacter = [](char c) {
        return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    };
    if (name.front() >= '0' && name.front() <= '9')
        return std::nullopt;
    if (!std::all_of(name.begin(), name.end(), isNameCharacter))
        return std::nullopt;
    return name;
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
    auto text = trimmed(command);
    if (text.empty())
        return "none";
    std::string shown;
    // Any white space ends a word, not only spaces: a tab or a second line would otherwise carry
    // the arguments (and a line break) into the one-line log.
    for (;;) {
        const auto end = text.find_first_of(whiteSpace);
        const auto word = text.substr(0, end);
        const auto name = assignedName(word);
        if (!name) {
            shown += std::string(word);
            if (end != std::string_view::npos)
                shown += " …";
            return shown;
        }
        // A leading assignment is how a token is handed to a command: only its name is shown.
        shown += std::string(*name) + "=…";
        if (end == std::string_view::npos)
            return shown;
        shown += ' ';
        text = Text::trimmed(text.substr(end));
    }
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
