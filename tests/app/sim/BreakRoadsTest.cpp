// SPDX-License-Identifier: MIT
// The roads of a break, each told as a scenario and checked against the timeline it leaves.
#include "SimulationSupport.h"

namespace sorvala {
namespace {

TEST(BreakRoads, MicroBreaksComeOnTheirCadenceAndEndAfterTheirRest) {
    const auto sim = simulate(header("+00:50", R"({"breakCycleEnabled": false, "reminderMinutes": 60})") +
                              R"({"at": "+00:00", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"app launched version=0.1.0 pid=1 menuBarOwner=simulated screens=1",
                                                "micro break screen shown rest=20s startedManually=false",
                                                "break taken kind=micro duration=20s",
                                                "micro break screen shown rest=20s startedManually=false",
                                                "break taken kind=micro duration=20s"}));
    EXPECT_EQ(outcomes(*sim), (std::vector<std::string>{"micro taken", "micro taken"}));
    EXPECT_EQ(sim->timeline().count("long break screen shown"), 0);
}

TEST(BreakRoads, TheCyclesLongBreakGetsAHeadsUpThenDrawsUntilTenSecondsAfterTheDrawing) {
    const auto sim = simulate(header("+01:10") + R"({"at": "+00:00", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"break taken kind=micro", "break taken kind=micro",
                                                "break due kind=long proceeding snoozeCount=0 idle=0s",
                                                "heads-up sent in=30s medium=banner category=pre-break snoozeCount=0",
                                                "notice shown kind=preBreak", "notice cleared kind=preBreak",
                                                "break screen taking now kind=long idle=0s",
                                                "long break screen shown speed=3.0 startedManually=false",
                                                "long break running elapsed=30s drawingComplete=inProgress "
                                                "extendedFor=none ceiling=900s",
                                                "break taken kind=long duration=190s"}));
    EXPECT_EQ(outcomes(*sim), (std::vector<std::string>{"micro taken", "micro taken", "long taken"}));
}

TEST(BreakRoads, ACallHoldsTheLongBreakWhichStartsAfterTheCooldown) {
    const auto sim = simulate(header("+00:40", longOnly) +
                              R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "cause": "On a call", "active": true}
{"at": "+00:30", "cause": "On a call", "active": false})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"break due but held kind=long reason=smartPause cause=On a call",
                                                "break due but held kind=long reason=cooldown cause=—",
                                                "break hold cleared after",
                                                "heads-up sent in=30s", "long break screen shown",
                                                "break taken kind=long"}));
}

TEST(BreakRoads, TypingHoldsTheScreenTakeUntilTheKeysRest) {
    const auto sim = simulate(header("+00:30", longOnly) +
                              R"({"at": "+00:00", "do": "work"}
{"at": "+00:22", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"heads-up sent in=30s",
                                                "break due but held kind=long reason=typing cause=—",
                                                "break excused kind=long", "break screen taking now kind=long",
                                                "long break screen shown"}));
    EXPECT_EQ(sim->timeline().count("reason=typing"), 1) << "the retry waits quietly while the keys go on";
}

TEST(BreakRoads, TypingHoldingAMicroBreakIsReportedClearedOnceWhenTheKeysRest) {
    const auto sim = simulate(header("+00:30", R"({"breakCycleEnabled": false, "reminderMinutes": 60})") +
                              R"({"at": "+00:00", "do": "work"}
{"at": "+00:23", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"break due but held kind=micro reason=typing",
                                                "micro break screen shown"}));
    EXPECT_LE(sim->timeline().count("break hold cleared"), 1) << "the hold went on for three minutes";
}

TEST(BreakRoads, APlannedBreakHeldPastTheEndOfTheDayIsNotAnnouncedTheNextMorning) {
    const auto sim = simulate(
        R"({"start": "2026-12-07T16:00:00", "timeZone": "Europe/Berlin", "until": "+18:00", "settings": )"
        R"({"reminderMinutes": 0, "microMinutes": 0, "fixedBreakTimes": "16:30", "workingHoursEnabled": true}})"
        "\n"
        R"({"at": "+00:00", "do": "read"}
{"at": "+00:25", "cause": "On a call", "active": true}
{"at": "+01:10", "cause": "On a call", "active": false})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"break due but held kind=long reason=smartPause cause=On a call",
                                                "work clock tick suppressed reason=offHours",
                                                "break hold dropped reason=offHours", "work clock running"}));
    EXPECT_EQ(sim->timeline().count("heads-up sent"), 0) << "nobody planned a break at 09:00";
}

TEST(BreakRoads, AnAbsenceIsRestUnlessItsUndoIsTakenAndOnlyShortOnesOfferOne) {
    const struct {
        const char* name;
        const char* until;
        const char* events;
        std::vector<std::string> lines;
        const char* never;
    } cases[] = {
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
        {"away longer than the work it discards", "+01:00", R"({"at": "+00:03", "do": "idle"}
{"at": "+00:50", "do": "read"})",
         {"no undo offered (away outlasted the work it discarded)", "break asleep kind=long"}, "; undo offered"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(header(c.until, longOnly) + R"({"at": "+00:00", "do": "read"})" + "\n" + c.events);
        ASSERT_TRUE(sim);
        EXPECT_TRUE(happenInOrder(sim->timeline(), c.lines));
        EXPECT_EQ(sim->timeline().count(c.never), 0) << c.never;
    }
}

} // namespace
} // namespace sorvala
