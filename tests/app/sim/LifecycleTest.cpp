// SPDX-License-Identifier: MIT
// Launch, quit, sleep and wake, and settings changes on virtual time.
#include "SimulationSupport.h"

namespace sorvala {
namespace {

TEST(Lifecycle, SleepDuringABreakEndsItUnrecordedAndWakingRestartsTheStretches) {
    const auto sim = simulate(header("+01:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:22", "do": "sleep", "for": "+00:10"})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"long break screen shown", "system will sleep: statusItem=installed",
                                                "break ended by system sleep",
                                                "break not recorded (torn down by the app)",
                                                "system woke: menuBarOwner=simulated statusItem=installed",
                                                "heads-up sent"}));
    EXPECT_EQ(sim->history().size(), 1u) << "only the break after the wake";
}

TEST(Lifecycle, SleepDuringTheHeadsUpCallsOffTheBreakAndItsOverlay) {
    const auto sim = simulate(header("+00:30", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:20:10", "do": "sleep", "for": "+00:01"}
{"at": "+00:21:20", "do": "skipHeadsUp"})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"heads-up sent", "system will sleep", "notice cleared kind=preBreak",
                                                "banners cleared", "system woke"}));
    EXPECT_FALSE(sim->timeline().logged("break skipped")) << "no overlay is left to skip from";
    EXPECT_TRUE(sim->history().empty());
}

TEST(Lifecycle, LaunchNamesTheBlockersSwitchedOnWithoutTheirPermission) {
    const std::pair<const char*, bool> cases[] = {
        {R"({"pauseDuringCalendarEvents": true})", true},
        {R"({"pauseDuringCalendarEvents": true, "calendarSources": ["/home/me/work.ics"]})", false},
    };
    for (const auto& [settings, named] : cases) {
        SCOPED_TRACE(settings);
        const auto sim = simulate(header("+00:01", settings));
        EXPECT_EQ(sim->timeline().logged("blockers switched on without their permission: Calendar"), named);
    }
}

TEST(Lifecycle, TimersAimedAtATimeOfDayKeepTheirTimeWhenTheClockIsSet) {
    const struct { const char* name; const char* events; const char* line; int hour, minute; } cases[] = {
        {"the pause's end", R"({"at": "+00:05", "do": "pause", "minutes": 60})", "reminders resumed", 9, 5},
        {"the planned break", "", "heads-up sent", 10, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(header("+03:00", R"({"reminderMinutes": 0, "microMinutes": 0, "fixedBreakTimes": "10:00"})") +
                                  R"({"at": "+00:00", "do": "read"})" + "\n" + c.events + "\n" +
                                  R"({"at": "+00:10", "do": "setClock", "by": "-00:30"})");
        EXPECT_NEAR(firstAt(sim->timeline(), c.line) - sim->calendar().instant({2026, 12, 7}, c.hour, c.minute), 0, 1);
    }
}

TEST(Lifecycle, ACooldownAfterTheClockIsSetBackLastsItsOwnLength) {
    const auto sim = simulate(header("+00:40", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "cause": "On a call", "active": true}
{"at": "+00:30", "cause": "On a call", "active": false}
{"at": "+00:30:05", "do": "setClock", "by": "-01:00"})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"break due but held kind=long reason=smartPause", "system clock set",
                                                "break due but held kind=long reason=cooldown", "heads-up sent",
                                                "long break screen shown"}));
}

TEST(Lifecycle, ALongSleepIsCreditedAsRestOnceTheScreensAreBack) {
    const auto sim = simulate(header("+03:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:10", "do": "sleep", "for": "+02:00"})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"system woke", "screens were dark for", "break asleep kind=long"}));
}

TEST(Lifecycle, AQuickRelaunchKeepsTheWorkStretches) {
    // How long a gap may be is the restore rule's own table; here the stretches come back.
    const auto quick = simulate(header("+00:30", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:10", "do": "quit"}
{"at": "+00:11", "do": "launch"})");
    EXPECT_TRUE(happenInOrder(quick->timeline(), {"app quitting", "app launched", "session restored pausedUntil=— workedSeconds=660"}));
    EXPECT_FALSE(quick->timeline().logged("previous run ended without quitting"));
}

TEST(Lifecycle, APauseSurvivesARelaunchEvenAfterTwoMinutes) {
    const auto sim = simulate(header("+02:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "pause", "minutes": 60}
{"at": "+00:10", "do": "quit"}
{"at": "+00:20", "do": "launch"})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"app launched", "session restored pausedUntil=2026-12-07 08:05:00 +0000",
                                                "reminders paused until 2026-12-07 08:05:00 +0000",
                                                "reminders resumed"}));
}

TEST(Lifecycle, ATimedPauseEndsAtItsOwnDeadlineAfterASleep) {
    // Monotonic timers stop while the machine sleeps; the pause must still end at 09:00 local.
    const auto sim = simulate(header("+02:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:30", "do": "pause", "minutes": 30}
{"at": "+00:40", "do": "sleep", "for": "+00:10"})");
    EXPECT_EQ(iso8601(firstAt(sim->timeline(), "reminders resumed")), "2026-12-07T08:00:00Z");
    EXPECT_EQ(sim->timeline().count("reminders resumed"), 1);
}

TEST(Lifecycle, AnUncleanEndIsReportedOnceAtTheNextLaunch) {
    Simulation::Options options;
    options.start = Instant::fromSecondsSinceEpoch(1796630400);
    Simulation sim(options);
    sim.launch();
    sim.advance(60);
    sim.kill();
    sim.launch();
    sim.quit();
    sim.launch();
    EXPECT_EQ(sim.timeline().count("previous run ended without quitting: crash, hang, or force quit"), 1);
}

TEST(Lifecycle, ASchedulingSettingRestartsTheStretches) {
    // Which settings count as scheduling ones is the change table's own test.
    const auto restarted = simulate(header("+00:40", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "settings": {"reminderMinutes": 25}})");
    EXPECT_TRUE(happenInOrder(restarted->timeline(), {"settings changed reminderMinutes=", "heads-up sent"}));
    const auto start = restarted->timeline().entries().front().at;
    EXPECT_NEAR(firstAt(restarted->timeline(), "heads-up sent") - start, 40 * 60, 10) << "25 minutes from the change at 15";
}

} // namespace
} // namespace sorvala
