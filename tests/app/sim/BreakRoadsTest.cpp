// SPDX-License-Identifier: MIT
// The roads of a break, each told as a scenario and checked against the timeline it leaves.
#include "SimulationSupport.h"

#include "support/TemporaryDirectory.h"

namespace sorvala {
namespace {

TEST(BreakRoads, EachGoldenScenarioLeavesItsLogAndHistory) {
    // A working day (the cycle, holds by typing and by a call, a snooze, a long absence, a skip,
    // a pause, a planned break and a manual break left); a planned break held past the end of the
    // day; a pause until tomorrow on the day the clocks go back; the wall clock set forward and back.
    const std::filesystem::path data = SORVALA_TEST_DATA_DIR "/apps";
    for (const char* name : {"full-day", "planned-break-after-hours", "pause-until-tomorrow-25h", "clock-set"}) {
        SCOPED_TRACE(name);
        auto parsed = Scenario::parse(readFile(data / (std::string(name) + ".jsonl")));
        ASSERT_TRUE(std::holds_alternative<Scenario>(parsed));
        EXPECT_EQ(std::get<Scenario>(parsed).output(), readFile(data / (std::string(name) + ".golden")));
    }
}

TEST(BreakRoads, AnAbsenceIsRestUnlessItsUndoIsTaken) {
    const struct { const char* name; const char* until; const char* events; std::vector<std::string> lines;
                   const char* never; } cases[] = {
        {"the undo let go", "+00:40", R"({"at": "+00:10", "do": "idle"}
{"at": "+00:14", "do": "read"})",
         {"work clock reset on return from idle; undo offered", "notice shown kind=awayUndo",
          "notice expired kind=awayUndo", "break asleep kind=long"},
         "work clock reset undone"},
        {"the undo taken", "+00:30", R"({"at": "+00:10", "do": "idle"}
{"at": "+00:14", "do": "read"}
{"at": "+00:14:15", "do": "undoAway"})",
         {"work clock reset on return from idle; undo offered", "work clock reset undone; away time counted as work",
          "notice cleared kind=awayUndo", "long break screen shown"},
         "break asleep"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(header(c.until, longOnly) + R"({"at": "+00:00", "do": "read"})" + "\n" + c.events);
        EXPECT_TRUE(happenInOrder(sim->timeline(), c.lines));
        EXPECT_EQ(sim->timeline().count(c.never), 0) << c.never;
    }
}

} // namespace
} // namespace sorvala
