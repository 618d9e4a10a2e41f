// SPDX-License-Identifier: MIT
#include "simulation/Scenario.h"

#include "app/AppLogger.h"
#include "app/SettingsSchema.h"
#include "history/BreakLog.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <filesystem>
#include <set>

namespace sorvala {

namespace {

using nlohmann::json;

struct Fault {
    std::string message;
};

std::optional<int> twoDigits(std::string_view text, std::size_t at) {
    if (at + 2 > text.size())
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + at + 2, value);
    if (error != std::errc() || end != text.data() + at + 2)
        return std::nullopt;
    return value;
}

void allowOnly(const json& object, const std::set<std::string>& known) {
    for (const auto& [key, value] : object.items())
        if (!known.contains(key))
            throw Fault{"unknown field \"" + key + "\""};
}

const json& required(const json& object, const std::string& key) {
    if (!object.contains(key))
        throw Fault{"missing field \"" + key + "\""};
    return object.at(key);
}

double offsetField(const json& object, const std::string& key) {
    const auto& value = required(object, key);
    const auto seconds = value.is_string() ? parseOffset(value.get<std::string>()) : std::nullopt;
    if (!seconds)
        throw Fault{"\"" + key + "\" is not an offset like \"+01:30\""};
    return *seconds;
}

int positiveMinutes(const json& object) {
    const auto& value = required(object, "minutes");
    if (!value.is_number_integer() || value.get<long long>() < 1 || value.get<long long>() > 100000)
        throw Fault{"\"minutes\" is not a whole number of minutes"};
    return value.get<int>();
}

PreferenceValue settingValue(const std::string& key, const json& value) {
    const auto setting = SettingsSchema::factoryDefault(key);
    if (!setting)
        throw Fault{"unknown setting \"" + key + "\""};
    const auto wrongType = [&] {
        return Fault{"setting \"" + key + "\" must be of type " + std::string(text(setting->type()))};
    };
    switch (setting->type()) {
    case FactoryDefault::Type::boolean:
        if (!value.is_boolean())
            throw wrongType();
        return value.get<bool>();
    case FactoryDefault::Type::integer:
        if (!value.is_number_integer())
            throw wrongType();
        return value.get<std::int64_t>();
    case FactoryDefault::Type::number:
        if (!value.is_number())
            throw wrongType();
        return value.get<double>();
    case FactoryDefault::Type::text:
        if (!value.is_string())
            throw wrongType();
        return value.get<std::string>();
    case FactoryDefault::Type::textList: {
        if (!value.is_array())
            throw wrongType();
        std::vector<std::string> list;
        for (const auto& item : value) {
            if (!item.is_string())
                throw wrongType();
            list.push_back(item.get<std::string>());
        }
        return list;
    }
    }
    throw wrongType();
}

std::map<std::string, PreferenceValue> settingsField(const json& value) {
    if (!value.is_object())
        throw Fault{"\"settings\" is not an object"};
    std::map<std::string, PreferenceValue> settings;
    for (const auto& [key, item] : value.items())
        settings.emplace(key, settingValue(key, item));
    return settings;
}

bool knownZone(const std::string& zone) {
    if (zone == "UTC")
        return true;
    if (zone.empty() || zone.find("..") != std::string::npos || zone.front() == '/')
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path("/usr/share/zoneinfo") / zone, error);
}

void readHeader(const json& header, Scenario& scenario) {
    allowOnly(header, {"start", "timeZone", "until", "settings", "drawingSeconds"});
    if (header.contains("timeZone")) {
        if (!header["timeZone"].is_string() || !knownZone(header["timeZone"].get<std::string>()))
            throw Fault{"\"timeZone\" is not a known time zone"};
        scenario.options.timeZone = header["timeZone"].get<std::string>();
    }
    const auto& start = required(header, "start");
    const auto local = start.is_string() ? parseIso8601(start.get<std::string>() + "Z") : std::nullopt;
    if (!local)
        throw Fault{"\"start\" is not a local date and time like \"2026-12-07T08:00:00\""};
    scenario.options.start = ZoneCalendar(scenario.options.timeZone).at(start.get<std::string>());
    scenario.untilSeconds = offsetField(header, "until");
    if (header.contains("settings"))
        scenario.options.settings = settingsField(header["settings"]);
    if (header.contains("drawingSeconds")) {
        const auto& seconds = header["drawingSeconds"];
        if (!seconds.is_number() || seconds.get<double>() < 0 || seconds.get<double>() > 86400)
            throw Fault{"\"drawingSeconds\" is not a number of seconds"};
        scenario.options.drawingSeconds = seconds.get<double>();
    }
}

const std::set<std::string> plainActions = {
    "work",   "read",      "idle",       "pauseUntilTomorrow", "pauseUntilResumed", "resume",
    "startBreak", "startMicroBreak", "skip", "escape", "extend", "skipHeadsUp", "undoAway", "quit", "launch"};

Scenario::Event readEvent(const json& line) {
    Scenario::Event event;
    event.at = offsetField(line, "at");
    if (line.contains("do")) {
        if (!line["do"].is_string())
            throw Fault{"\"do\" is not a text"};
        event.action = line["do"].get<std::string>();
        if (event.action == "snooze" || event.action == "pause") {
            allowOnly(line, {"at", "do", "minutes"});
            event.minutes = positiveMinutes(line);
        } else if (event.action == "displays") {
            allowOnly(line, {"at", "do", "count"});
            const auto& count = required(line, "count");
            if (!count.is_number_integer() || count.get<long long>() < 0 || count.get<long long>() > 16)
                throw Fault{"\"count\" is not a number of displays from 0 to 16"};
            event.count = count.get<int>();
        } else if (event.action == "sleep") {
            allowOnly(line, {"at", "do", "for"});
            event.forSeconds = offsetField(line, "for");
        } else if (plainActions.contains(event.action)) {
            allowOnly(line, {"at", "do"});
        } else {
            throw Fault{"unknown action \"" + event.action + "\""};
        }
    } else if (line.contains("cause")) {
        allowOnly(line, {"at", "cause", "active"});
        event.action = "cause";
        if (!line["cause"].is_string() || !SimulatedUser::isCauseLabel(line["cause"].get<std::string>()))
            throw Fault{"\"cause\" is not the menu label of a smart-pause cause"};
        event.cause = line["cause"].get<std::string>();
        const auto& active = required(line, "active");
        if (!active.is_boolean())
            throw Fault{"\"active\" is not true or false"};
        event.active = active.get<bool>();
    } else if (line.contains("displayAsleep")) {
        allowOnly(line, {"at", "displayAsleep"});
        event.action = "displayAsleep";
        if (!line["displayAsleep"].is_boolean())
            throw Fault{"\"displayAsleep\" is not true or false"};
        event.active = line["displayAsleep"].get<bool>();
    } else if (line.contains("settings")) {
        allowOnly(line, {"at", "settings"});
        event.action = "settings";
        event.settings = settingsField(line["settings"]);
    } else {
        allowOnly(line, {"at"});
        throw Fault{"the event says nothing to do"};
    }
    return event;
}

void apply(const Scenario::Event& event, Simulation& simulation) {
    const auto& action = event.action;
    auto* app = simulation.app();
    if (action == "work")
        simulation.user().setActivity(SimulatedUser::Activity::work);
    else if (action == "read")
        simulation.user().setActivity(SimulatedUser::Activity::read);
    else if (action == "idle")
        simulation.user().setActivity(SimulatedUser::Activity::idle);
    else if (action == "cause")
        simulation.user().setCause(event.cause, event.active);
    else if (action == "displayAsleep")
        simulation.user().setDisplayAsleep(event.active);
    else if (action == "settings")
        simulation.changeSettings(event.settings);
    else if (action == "snooze")
        simulation.snooze(event.minutes);
    else if (action == "sleep")
        simulation.sleep(event.forSeconds);
    else if (action == "quit")
        simulation.quit();
    else if (action == "launch")
        simulation.launch();
    else if (action == "skip")
        simulation.skip();
    else if (action == "displays")
        simulation.setDisplayCount(event.count);
    else if (action == "escape")
        simulation.escape();
    else if (action == "extend")
        simulation.extend();
    else if (action == "skipHeadsUp")
        simulation.skipHeadsUp();
    else if (action == "undoAway")
        simulation.undoAway();
    else if (!app)
        return; // the menu's commands need the running application
    else if (action == "pause")
        app->pause(simulation.now() + event.minutes * 60.0);
    else if (action == "pauseUntilTomorrow")
        app->pauseUntilTomorrow();
    else if (action == "pauseUntilResumed")
        app->pauseUntilResumed();
    else if (action == "resume")
        app->resumeReminders();
    else if (action == "startBreak")
        app->startBreakNow();
    else if (action == "startMicroBreak")
        app->startMicroBreakNow();
}

} // namespace

std::optional<double> parseOffset(std::string_view text) {
    if (text.size() != 6 && text.size() != 9)
        return std::nullopt;
    if (text[0] != '+' || text[3] != ':' || (text.size() == 9 && text[6] != ':'))
        return std::nullopt;
    const auto hours = twoDigits(text, 1);
    const auto minutes = twoDigits(text, 4);
    const auto seconds = text.size() == 9 ? twoDigits(text, 7) : std::optional<int>(0);
    if (!hours || !minutes || !seconds || *minutes > 59 || *seconds > 59)
        return std::nullopt;
    return *hours * 3600.0 + *minutes * 60.0 + *seconds;
}

std::variant<Scenario, Scenario::Error> Scenario::parse(std::string_view text) {
    Scenario scenario;
    bool haveHeader = false;
    int number = 0;
    double previous = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos)
            continue;
        try {
            const auto object = json::parse(line);
            if (!object.is_object())
                throw Fault{"not a JSON object"};
            if (!haveHeader) {
                readHeader(object, scenario);
                haveHeader = true;
                continue;
            }
            auto event = readEvent(object);
            if (event.at < previous)
                throw Fault{"time goes backwards"};
            if (event.at > scenario.untilSeconds)
                throw Fault{"the event comes after \"until\""};
            previous = event.at;
            event.line = number;
            scenario.events.push_back(std::move(event));
        } catch (const Fault& fault) {
            return Error{number, fault.message};
        } catch (const json::exception&) {
            return Error{number, "not valid JSON"};
        }
    }
    if (!haveHeader)
        return Error{number + 1, "missing header"};
    return scenario;
}

std::unique_ptr<Simulation> Scenario::run() const {
    auto simulation = std::make_unique<Simulation>(options);
    simulation->launch();
    for (const auto& event : events) {
        simulation->runUntil(options.start + event.at);
        apply(event, *simulation);
    }
    simulation->runUntil(options.start + untilSeconds);
    return simulation;
}

std::string Scenario::output() const {
    const auto simulation = run();
    std::string out;
    for (const auto& entry : simulation->timeline().entries())
        if (entry.isLogLine)
            out += AppLogger::line(entry.text, entry.at) + "\n";
    out += "--- history\n";
    for (const auto& event : simulation->history())
        if (const auto line = BreakLog::encode(event))
            out += *line + "\n";
    return out;
}

} // namespace sorvala
