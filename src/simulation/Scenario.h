// SPDX-License-Identifier: MIT
#pragma once

#include "simulation/Simulation.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sorvala {

/// A day to simulate, read from JSON Lines: a header with the start, time zone, length and
/// settings, then the user's and the machine's events in time order.
struct Scenario {
    /// One event line.
    struct Event {
        int line = 0;
        double at = 0; ///< seconds after the start
        /// "work", "read", "idle", "snooze", "pause", ..., or "cause", "displayAsleep", "settings".
        std::string action;
        int minutes = 0;
        int count = 0; ///< displays connected, for "displays"
        double forSeconds = 0;
        std::string cause;
        bool active = false;
        std::map<std::string, PreferenceValue> settings;
    };
    /// Why a scenario could not be read.
    struct Error {
        int line = 0;
        std::string message;
    };

    Simulation::Options options;
    double untilSeconds = 0;
    std::vector<Event> events;

    /// The scenario `text` describes, or the first fault in it with its line number.
    static std::variant<Scenario, Error> parse(std::string_view text);
    /// Runs the scenario on a fresh simulation, which it returns at the end of the run.
    std::unique_ptr<Simulation> run() const;
    /// Runs the scenario and prints each log line with its virtual date, then "--- history" and
    /// the recorded breaks as JSON Lines.
    std::string output() const;
};

/// Seconds of an offset "+HH:MM" or "+HH:MM:SS"; nullopt for anything else.
std::optional<double> parseOffset(std::string_view text);

} // namespace sorvala
