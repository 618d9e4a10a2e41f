// SPDX-License-Identifier: MIT
// Snooze, pause and planned breaks, driven through the scenario's menu commands.
#include "SimulationSupport.h"

namespace sorvala {
namespace {

std::string longOnlyWith(std::string_view more = "") {
    return std::string(longOnly.substr(0, longOnly.size() - 1)) + std::string(more) + "}";
}

TEST(Commands, ASnoozeDuringTheHeadsUpMovesTheBreakWithoutANewHeadsUp) {
    const auto sim = simulate(header("+00:40", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:20:15", "do": "snooze", "minutes": 5})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"heads-up sent in=30s", "next break snoozed by 5m from=menu",
                                                "break postponed kind=long", "long break screen shown"}));
    EXPECT_EQ(sim->timeline().count("heads-up sent"), 1);
    const auto& taken = sim->history().back();
    EXPECT_EQ(text(taken.outcome), "taken");
    // The heads-up was due to end at 20:40; five minutes later the screen is taken.
    EXPECT_NEAR(taken.date - (sim->history()[0].date + 5 * 60 + 15), 190, 1);
}

TEST(Commands, StartingABreakWhileOneIsOnScreenIsIgnoredAndSaysSo) {
    const auto sim = simulate(header("+00:21", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:20:50", "do": "startBreak"}
{"at": "+00:20:55", "do": "startMicroBreak"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"long break screen shown",
                                                "break screen begin ignored: a break is already on screen",
                                                "break screen begin ignored: a break is already on screen"}));
    EXPECT_EQ(sim->timeline().count("long break screen shown"), 1);
}

TEST(Commands, AHeadsUpEndingOnAManualBreakStartsNothing) {
    const auto sim = simulate(header("+00:21", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:20:15", "do": "startMicroBreak"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"heads-up sent", "micro break started manually",
                                                "break start abandoned reason=alreadyResting",
                                                "break taken kind=micro duration=20s"}));
    EXPECT_EQ(sim->timeline().count("long break screen shown"), 0) << "the long break is still due, not on screen";
}

TEST(Commands, SnoozesBeyondTheSessionOrDailyBudgetAreRefused) {
    const struct {
        const char* name;
        const char* budget;
        const char* at;
    } cases[] = {
        {"two per session, in the heads-up", R"(, "snoozesPerSession": 2)", "+00:20:1"},
        {"two per day", R"(, "snoozesPerSession": 0, "snoozesPerDay": 2)", "+00:0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string events = R"({"at": "+00:00", "do": "read"})";
        for (const char* second : {"5", "6", "7"})
            events += std::string("\n") + R"({"at": ")" + c.at + second + R"(", "do": "snooze", "minutes": 1})";
        const auto sim = simulate(header("+00:40", longOnlyWith(c.budget)) + events);
        ASSERT_TRUE(sim);
        EXPECT_EQ(sim->timeline().count("next break snoozed by 1m from=menu"), 2);
        EXPECT_TRUE(sim->timeline().logged("snooze refused minutes=1 from=menu reason=budgetSpent session=2 daily=2"));
        const auto recorded = outcomes(*sim);
        EXPECT_EQ(std::count(recorded.begin(), recorded.end(), "long postponed"), 2);
    }
}

TEST(Commands, ATimedPauseStopsTheLoopAndResumesWithFreshStretches) {
    const auto sim = simulate(header("+01:10", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "do": "pause", "minutes": 30})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"reminders paused until 2026-12-07 07:45:00 +0000",
                                                "reminders resumed", "heads-up sent"}));
    // Fresh stretches after the pause: the break is due 20 minutes after 08:45 local.
    EXPECT_NEAR(firstAt(sim->timeline(), "heads-up sent") - sim->calendar().instant({2026, 12, 7}, 9, 5), 0, 10);
}

TEST(Commands, PauseUntilTomorrowEndsAtTheNextLocalMidnightOnDaysOfEveryLength) {
    const struct {
        const char* name;
        const char* start;
        const char* resumesAt;
    } cases[] = {
        {"23 hours", "2026-03-29T08:00:00", "2026-03-29 22:00:00 +0000"},
        {"24 hours", "2026-12-07T08:00:00", "2026-12-07 23:00:00 +0000"},
        {"25 hours", "2026-10-25T08:00:00", "2026-10-25 23:00:00 +0000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(R"({"start": ")" + std::string(c.start) +
                                  R"(", "timeZone": "Europe/Berlin", "until": "+16:30", "settings": )" +
                                  longOnlyWith() + "}\n" + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "pauseUntilTomorrow"})");
        ASSERT_TRUE(sim);
        EXPECT_TRUE(sim->timeline().logged(std::string("reminders paused until ") + c.resumesAt));
        EXPECT_TRUE(happenInOrder(sim->timeline(), {"reminders paused", "reminders resumed", "heads-up sent"}));
        EXPECT_EQ(sim->timeline().count("heads-up sent"), 1) << "nothing while paused";
    }
}

TEST(Commands, TheHeadsUpStartsTheSessionsSnoozesOver) {
    const auto sim = simulate(header("+00:23", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "snooze", "minutes": 1}
{"at": "+00:06", "do": "snooze", "minutes": 1})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"break due kind=long proceeding snoozeCount=2", "heads-up sent"}));
    EXPECT_EQ(sim->app()->engine().snoozeCount(), 0);
}

TEST(Commands, PauseUntilResumedLastsUntilTheResumeCommand) {
    const auto sim = simulate(header("+03:00", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "pauseUntilResumed"}
{"at": "+02:00", "do": "resume"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"reminders paused until resumed", "reminders resumed",
                                                "heads-up sent", "long break screen shown"}));
    EXPECT_NEAR(firstAt(sim->timeline(), "heads-up sent") - sim->timeline().entries().front().at, 2 * 3600 + 20 * 60,
                10)
        << "fresh stretches after the resume";
    EXPECT_FALSE(sim->timeline().logged("work clock tick suppressed reason=paused"))
        << "no poll runs while paused";
}

TEST(Commands, PlannedBreaksFireInsideWorkingHoursAndAreDroppedOutside) {
    const auto sim = simulate(header("+11:30", R"({"reminderMinutes": 0, "microMinutes": 0, "fixedBreakTimes": "10:00, 19:00", "workingHoursEnabled": true})") +
                              R"({"at": "+00:00", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"fixed break timer armed next=2026-12-07T09:00:00Z",
                                                "fixed break timer armed next=2026-12-07T18:00:00Z",
                                                "heads-up sent", "long break screen shown",
                                                "fixed break timer armed next=2026-12-08T09:00:00Z",
                                                "break due kind=long dropped reason=offHours"}));
}

TEST(Commands, AHeadsUpRunningPastTheEndOfWorkingHoursStartsNoBreak) {
    const auto sim = simulate(
        R"({"start": "2026-12-07T16:39:50", "timeZone": "Europe/Berlin", "until": "+00:30", "settings": )" +
        longOnlyWith(R"(, "workingHoursEnabled": true)") + "}\n" + R"({"at": "+00:00", "do": "read"})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"heads-up sent", "work clock tick suppressed reason=offHours",
                                                "break start abandoned reason=offHours"}));
    EXPECT_EQ(sim->timeline().count("long break screen shown"), 0);
}

/// Whether `note` was noted at the very moment `anchor` was, after it.
::testing::AssertionResult atTheSameMoment(const Timeline& timeline, std::string_view anchor, std::string_view note) {
    const auto& entries = timeline.entries();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const auto& e) { return e.text.find(anchor) != std::string::npos; });
    if (found == entries.end())
        return ::testing::AssertionFailure() << "no \"" << anchor << "\"";
    for (auto e = found; e != entries.end() && e->at == found->at; ++e)
        if (e->text.find(note) != std::string::npos)
            return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no \"" << note << "\" when \"" << anchor << "\" happened";
}

TEST(Commands, TheHeadsUpIsWithdrawnOnceItsBreakIsSnoozedSkippedOrPaused) {
    const struct {
        const char* name;
        const char* event;
        const char* anchor;
    } cases[] = {
        {"snooze from the menu", R"({"at": "+00:20:15", "do": "snooze", "minutes": 5})", "next break snoozed by 5m from=menu"},
        {"skip on the countdown", R"({"at": "+00:20:15", "do": "skipHeadsUp"})", "break skipped from the pre-break overlay"},
        {"pause", R"({"at": "+00:20:15", "do": "pause", "minutes": 60})", "reminders paused until"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(header("+00:21", longOnlyWith()) + R"({"at": "+00:00", "do": "read"})" + "\n" + c.event);
        ASSERT_TRUE(sim);
        EXPECT_TRUE(atTheSameMoment(sim->timeline(), c.anchor, "banners cleared"));
        EXPECT_TRUE(atTheSameMoment(sim->timeline(), c.anchor, "notice cleared kind=preBreak"));
    }
}

TEST(Commands, AnswersOnTheHeadsUpBanner) {
    struct Case {
        const char* name;
        BannerCenter::Response response;
        bool paused;
        std::vector<std::string> lines;
        std::vector<std::string> recorded;
    };
    const Case cases[] = {
        {"snooze", {"snooze-5", "pre-break", false}, false,
         {"break snoozed from the notification minutes=5", "next break snoozed by 5m from=notification",
          "banners cleared", "heads-up sent in=30s medium=banner category=pre-break snoozeCount=1",
          "long break screen shown"},
         {"long postponed", "long taken"}},
        {"a click on the banner", {"default", "pre-break", true}, false,
         {"heads-up banner tapped; starting break now", "banners cleared", "long break screen shown"},
         {"long taken"}},
        {"a dismissal", {"dismissed", "pre-break", false}, false,
         {"notification response ignored action=dismissed category=pre-break", "long break screen shown"},
         {"long taken"}},
        {"snooze while paused", {"snooze-15", "pre-break", false}, true,
         {"reminders paused", "snooze refused minutes=15 from=notification reason=paused"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(header("+00:20:15", longOnlyWith()) + R"({"at": "+00:00", "do": "read"})");
        ASSERT_TRUE(sim);
        if (c.paused)
            sim->app()->pause(sim->now() + 3600);
        const auto answeredAt = sim->now();
        sim->app()->bannerResponded(c.response);
        sim->advance(10 * 60);
        EXPECT_TRUE(happenInOrder(sim->timeline(), c.lines));
        EXPECT_EQ(outcomes(*sim), c.recorded);
        if (c.response.action == "snooze-5") {
            // The snoozed break comes five minutes after the first was due; its heads-up 30 s before.
            const auto& entries = sim->timeline().entries();
            const auto second = std::find_if(entries.begin(), entries.end(),
                                             [](const auto& e) { return e.text.find("snoozeCount=1") != std::string::npos; });
            ASSERT_NE(second, entries.end());
            EXPECT_NEAR(second->at - answeredAt, 5 * 60 - 30, 15);
            EXPECT_TRUE(atTheSameMoment(sim->timeline(), "next break snoozed", "banners cleared"));
        }
    }
}

TEST(Commands, TheCountdownsOwnSnoozeButtonSnoozesFiveMinutes) {
    const auto sim = simulate(header("+00:20:15", longOnlyWith()) + R"({"at": "+00:00", "do": "read"})");
    ASSERT_TRUE(sim);
    ASSERT_TRUE(sim->notices()->preBreakShowing());
    sim->notices()->chooseSnooze();
    EXPECT_TRUE(atTheSameMoment(sim->timeline(), "next break snoozed by 5m from=overlay", "notice cleared kind=preBreak"));
    EXPECT_EQ(outcomes(*sim), std::vector<std::string>{"long postponed"});
}

TEST(Commands, OnceTheBudgetIsSpentTheHeadsUpOffersNoSnooze) {
    const auto sim = simulate(header("+00:22", longOnlyWith(R"(, "snoozesPerSession": 0, "snoozesPerDay": 1)")) +
                              R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "snooze", "minutes": 1})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(sim->timeline().logged("heads-up sent in=30s medium=banner category=pre-break-final snoozeCount=0"));
}

TEST(Commands, AHeldBreakSaysSoAndSaysAgainAfterHalfAnHour) {
    const auto sim = simulate(header("+00:55", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "cause": "Fullscreen app", "active": true})");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"notice shown kind=smartPause id=smart-pause",
                                                "notice shown kind=smartPause id=blocker-still-holding"}));
    const auto texts = sim->timeline().texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "notice shown kind=smartPause id=smart-pause"), 1)
        << "the first alert once";
}

} // namespace
} // namespace sorvala
