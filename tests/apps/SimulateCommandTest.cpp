// SPDX-License-Identifier: MIT
#include "SubcommandRun.h"

#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace sorvala::ctl {
namespace {

using Result = SubcommandResult;

Result simulate(std::vector<std::string> args) {
    return runSubcommand("simulate", std::move(args));
}

TEST(SimulateCommand, PrintsTheLogAndTheHistoryTheScenarioWouldMake) {
    const std::filesystem::path data = SORVALA_TEST_DATA_DIR "/apps";
    const auto result = simulate({(data / "full-day.jsonl").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, readFile(data / "full-day.golden"));
}

TEST(SimulateCommand, BadScenariosNameTheLineAndPrintNothing) {
    const std::string header = R"({"start": "2026-12-07T08:00:00", "timeZone": "Europe/Berlin", "until": "+01:00"})" "\n";
    const struct { std::string scenario; std::string error; } cases[] = {
        {header + R"({"at": "+00:10", "do": "work", "loudly": true})", "line 2: unknown field \"loudly\""},
        {header + R"({"at": "+00:10", "do": "work"})" "\n" R"({"at": "+00:05", "do": "idle"})",
         "line 3: time goes backwards"},
        {header + R"({"at": "+00:10", "settings": {"reminderMinutes": "twenty"}})",
         "line 2: setting \"reminderMinutes\" must be of type integer"},
        {header + R"({"at": "+00:10", "cause": "Lunch", "active": true})",
         "line 2: \"cause\" is not the menu label of a smart-pause cause"},
        {header + R"({"at": "10 minutes", "do": "work"})", "line 2: \"at\" is not an offset like \"+01:30\""},
        {header + "\n" + R"({"at": "+02:00", "do": "work"})", "line 3: the event comes after \"until\""},
        {R"({"start": "2026-12-07T08:00:00", "timeZone": "Mars/Olympus", "until": "+01:00"})",
         "line 1: \"timeZone\" is not a known time zone"},
        {header + "{not json", "line 2: not valid JSON"},
    };
    TemporaryDirectory folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        const auto file = folder / "scenario.jsonl";
        writeFile(file, c.scenario);
        const auto result = simulate({file.string()});
        EXPECT_EQ(result.status, usageError);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "sorvalactl: " + c.error + "\n");
    }
    EXPECT_EQ(simulate({(folder / "missing.jsonl").string()}).status, usageError);
}

} // namespace
} // namespace sorvala::ctl
