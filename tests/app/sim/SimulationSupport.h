// SPDX-License-Identifier: MIT
#pragma once

#include "simulation/Scenario.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// The header of a scenario starting Monday 7 December 2026 at 08:00 in Berlin and running for
/// `until`, with `settings` (a JSON object) stored before the launch.
inline std::string header(std::string_view until, std::string_view settings = "{}") {
    return R"({"start": "2026-12-07T08:00:00", "timeZone": "Europe/Berlin", "until": ")" + std::string(until) +
           R"(", "settings": )" + std::string(settings) + "}\n";
}

/// Settings with long breaks only, on their own 20-minute interval.
inline constexpr std::string_view longOnly = R"({"breakCycleEnabled": false, "microMinutes": 0})";

/// Runs the scenario `text`. One that cannot be read throws, so the test fails there with the
/// line and never goes on without a simulation.
inline std::unique_ptr<Simulation> simulate(std::string_view text) {
    auto parsed = Scenario::parse(text);
    if (const auto* error = std::get_if<Scenario::Error>(&parsed))
        throw std::invalid_argument("scenario line " + std::to_string(error->line) + ": " + error->message);
    return std::get<Scenario>(parsed).run();
}

/// Each fragment is found in a later timeline entry than the one before, port calls included.
inline ::testing::AssertionResult happenInOrder(const Timeline& timeline, const std::vector<std::string>& fragments) {
    const auto texts = timeline.texts();
    std::size_t next = 0;
    for (const auto& fragment : fragments) {
        while (next < texts.size() && texts[next].find(fragment) == std::string::npos)
            ++next;
        if (next == texts.size()) {
            auto failure = ::testing::AssertionFailure() << "no \"" << fragment << "\" in order; timeline:\n";
            for (const auto& text : texts)
                failure << "  " << text << "\n";
            return failure;
        }
        ++next;
    }
    return ::testing::AssertionSuccess();
}

/// When the first timeline entry beginning with `prefix` happened; the epoch (and a failure) when none did.
inline Instant firstAt(const Timeline& timeline, std::string_view prefix) {
    for (const auto& entry : timeline.entries())
        if (entry.text.starts_with(prefix))
            return entry.at;
    ADD_FAILURE() << "no \"" << prefix << "\" in the timeline";
    return Instant();
}

/// The kinds and outcomes of the recorded breaks, "long taken", "micro skipped", ...
inline std::vector<std::string> outcomes(const Simulation& simulation) {
    std::vector<std::string> words;
    for (const auto& event : simulation.history())
        words.push_back(std::string(text(event.kind)) + " " + std::string(text(event.outcome)));
    return words;
}

} // namespace sorvala
