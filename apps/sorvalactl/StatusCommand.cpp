// SPDX-License-Identifier: MIT
// sorvalactl status and action: the running program's control interface from a script.
#include "StatusCommand.h"

#include "QtCommand.h"
#include "Subcommand.h"
#include "i18n/I18n.h"
#include "menubar/ControlAction.h"

#include <nlohmann/json.hpp>

#include <QCoreApplication>

namespace sorvala::ctl {

namespace {

constexpr const char* notRunningText = I18N_NOOP("Sorvala is not running");

std::string statusClass(const ControlService::Status& status) {
    if (status.onBreak)
        return "break";
    return status.paused ? "paused" : "running";
}

void printStatusHelp(std::ostream& out) {
    // TRANSLATORS: the options and the JSON field names stay as they are.
    out << i18n("usage: sorvalactl status [--json] [--follow]\n\n"
                "Prints what the running Sorvala is doing: the status line of its menu.\n"
                "  --json    one JSON object with text, tooltip and class for status bars, and the values\n"
                "            statusText, countdown, secondsUntilNextBreak, paused and onBreak\n"
                "  --follow  keep running and print a line each time the status changes\n"
                "Exits 3 when Sorvala is not running (with --follow it says so and keeps waiting).\n");
}

void printActionHelp(std::ostream& out) {
    // TRANSLATORS: %1 lists the action names, which stay as they are.
    out << i18n("usage: sorvalactl action NAME\n\n"
                "Hands a command to the running Sorvala. NAME is one of: %1.\nExits 3 when Sorvala is not running.\n",
                controlActionNames());
}

int follow(const Invocation& invocation, bool json) {
    const auto application = coreApplicationIfMissing();
    std::optional<std::string> printed;
    ControlClient::StatusFollower follower([&](const std::optional<ControlService::Status>& status) {
        auto line = statusLine(status, json);
        if (line == printed)
            return;
        invocation.out << line << std::endl; // flushed: a status bar reads line by line
        printed = std::move(line);
    });
    follower.start();
    return QCoreApplication::exec();
}

} // namespace

std::string statusLine(const std::optional<ControlService::Status>& status, bool json) {
    if (!json)
        return status ? status->statusText.toStdString() : i18n(notRunningText);
    nlohmann::json object;
    if (!status) {
        object = {{"running", false}, {"text", ""}, {"tooltip", i18n(notRunningText)}, {"class", "stopped"}};
        return object.dump();
    }
    const auto text = status->statusText.toStdString();
    const auto countdown = status->countdown.toStdString();
    object = {
        {"running", true},
        {"text", countdown.empty() ? text : countdown},
        {"tooltip", text},
        {"class", statusClass(*status)},
        {"statusText", text},
        {"countdown", countdown},
        {"secondsUntilNextBreak", nullptr},
        {"paused", status->paused},
        {"onBreak", status->onBreak},
    };
    if (status->secondsUntilNextBreak >= 0)
        object["secondsUntilNextBreak"] = status->secondsUntilNextBreak;
    return object.dump();
}

int statusCommand(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        printStatusHelp(invocation.out);
        return 0;
    }
    bool json = false;
    bool following = false;
    for (const auto& arg : invocation.args) {
        if (arg == "--json")
            json = true;
        else if (arg == "--follow")
            following = true;
        else
            return fail(invocation, i18n("status takes only --json and --follow (see sorvalactl status --help)"));
    }
    if (following)
        return follow(invocation, json);
    const auto application = coreApplicationIfMissing();
    const auto status = ControlClient::status();
    if (!status) {
        if (json)
            invocation.out << statusLine(status, true) << '\n';
        invocation.err << "sorvalactl: " << i18n(notRunningText) << '\n';
        return notRunning;
    }
    invocation.out << statusLine(status, json) << '\n';
    return 0;
}

int actionCommand(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        printActionHelp(invocation.out);
        return 0;
    }
    if (invocation.args.size() != 1)
        return fail(invocation, i18n("action takes one NAME (%1)", controlActionNames()));
    const auto& name = invocation.args.front();
    if (!controlActionFromText(name))
        return fail(invocation, i18n("unknown action '%1' (one of: %2)", name, controlActionNames()));
    const auto application = coreApplicationIfMissing();
    const auto result = ControlClient::call(QStringLiteral("Action"), {QString::fromStdString(name)});
    if (!result.running) {
        invocation.err << "sorvalactl: " << i18n(notRunningText) << '\n';
        return notRunning;
    }
    if (!result.ok()) {
        invocation.err << "sorvalactl: " << i18n("Sorvala refused the action: %1", result.error.toStdString()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace sorvala::ctl
