// SPDX-License-Identifier: MIT
// Launch, quit, sleep and wake, and settings changes on virtual time.
#include "SimulationSupport.h"

namespace sorvala {
namespace {

TEST(Lifecycle, SleepDuringABreakEndsItUnrecordedAndWakingRestartsTheStretches) {
    const auto sim = simulate(header("+01:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:22", "do": "sleep", "for": "+00:10"})");
    ASSERT_TRUE(sim);
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
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"heads-up sent", "system will sleep", "notice cleared kind=preBreak",
                                                "system woke"}));
    EXPECT_FALSE(sim->timeline().logged("break skipped")) << "no overlay is left to skip from";
    EXPECT_TRUE(sim->history().empty());
}

TEST(Lifecycle, ALongSleepIsCreditedAsRestOnceTheScreensAreBack) {
    const auto sim = simulate(header("+03:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:10", "do": "sleep", "for": "+02:00"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"system woke", "screens were dark for", "break asleep kind=long"}));
}

TEST(Lifecycle, AQuickRelaunchKeepsTheWorkStretchesAndASlowOneStartsAfresh) {
    const auto quick = simulate(header("+00:30", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:10", "do": "quit"}
{"at": "+00:11", "do": "launch"})");
    ASSERT_TRUE(quick);
    EXPECT_TRUE(happenInOrder(quick->timeline(), {"app quitting", "app launched", "session restored pausedUntil=— workedSeconds=660"}));
    EXPECT_FALSE(quick->timeline().logged("previous run ended without quitting"));

    const auto slow = simulate(header("+00:30", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:10", "do": "quit"}
{"at": "+00:13", "do": "launch"})");
    ASSERT_TRUE(slow);
    EXPECT_FALSE(slow->timeline().logged("session restored"));
}

TEST(Lifecycle, APauseSurvivesARelaunchEvenAfterTwoMinutes) {
    const auto sim = simulate(header("+02:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "pause", "minutes": 60}
{"at": "+00:10", "do": "quit"}
{"at": "+00:20", "do": "launch"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"app launched", "session restored pausedUntil=2026-12-07 08:05:00 +0000",
                                                "reminders paused until 2026-12-07 08:05:00 +0000",
                                                "reminders resumed"}));
}

TEST(Lifecycle, ATimedPauseEndsAtItsOwnDeadlineAfterASleep) {
    // Monotonic timers stop while the machine sleeps; the pause must still end at 09:00 local.
    const auto sim = simulate(header("+02:00", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:30", "do": "pause", "minutes": 30}
{"at": "+00:40", "do": "sleep", "for": "+00:10"})");
    ASSERT_TRUE(sim);
    for (const auto& entry : sim->timeline().entries()) {
        if (entry.text == "reminders resumed") {
            EXPECT_EQ(iso8601(entry.at), "2026-12-07T08:00:00Z");
        }
    }
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

TEST(Lifecycle, ASchedulingSettingRestartsTheStretchesAndASoundSettingDoesNot) {
    const auto restarted = simulate(header("+00:40", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "settings": {"reminderMinutes": 25}})");
    ASSERT_TRUE(restarted);
    EXPECT_TRUE(happenInOrder(restarted->timeline(), {"settings changed reminderMinutes=", "heads-up sent"}));
    const auto headsUp = [](const Simulation& sim) {
        for (const auto& entry : sim.timeline().entries())
            if (entry.text.find("heads-up sent") == 0)
                return entry.at;
        return Instant();
    };
    const auto start = restarted->timeline().entries().front().at;
    EXPECT_NEAR(headsUp(*restarted) - start, 40 * 60, 10) << "25 minutes from the change at 15";

    const auto kept = simulate(header("+00:40", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "settings": {"softChimeEnabled": false}})");
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->timeline().logged("settings changed softChimeEnabled="));
    EXPECT_NEAR(headsUp(*kept) - start, 20 * 60, 10);
}

} // namespace
} // namespace sorvala
