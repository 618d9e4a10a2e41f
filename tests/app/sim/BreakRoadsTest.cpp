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

TEST(BreakRoads, AnAbsenceCountsAsRestWhenTheUndoIsLetGo) {
    const auto sim = simulate(header("+00:40", longOnly) +
                              R"({"at": "+00:00", "do": "read"}
{"at": "+00:10", "do": "idle"}
{"at": "+00:14", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"work clock reset on return from idle; undo offered",
                                                "notice shown kind=awayUndo", "notice expired kind=awayUndo",
                                                "break asleep kind=long"}));
    EXPECT_EQ(outcomes(*sim).front(), "long asleep");
}

TEST(BreakRoads, UndoingTheAwayResetCountsTheAbsenceAsWork) {
    const auto sim = simulate(header("+00:30", longOnly) +
                              R"({"at": "+00:00", "do": "read"}
{"at": "+00:10", "do": "idle"}
{"at": "+00:14", "do": "read"}
{"at": "+00:14:15", "do": "undoAway"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"work clock reset on return from idle; undo offered",
                                                "work clock reset undone; away time counted as work",
                                                "notice cleared kind=awayUndo", "long break screen shown"}));
    EXPECT_EQ(sim->timeline().count("break asleep"), 0);
}

TEST(BreakRoads, AnAbsenceLongerThanTheWorkItDiscardsIsCreditedWithoutUndo) {
    const auto sim = simulate(header("+01:00", longOnly) +
                              R"({"at": "+00:00", "do": "read"}
{"at": "+00:03", "do": "idle"}
{"at": "+00:50", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"no undo offered (away outlasted the work it discarded)",
                                                "break asleep kind=long"}));
    EXPECT_EQ(sim->timeline().count("; undo offered"), 0);
}

} // namespace
} // namespace sorvala
