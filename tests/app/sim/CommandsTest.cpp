// SPDX-License-Identifier: MIT
// Snooze, pause and planned breaks, driven through the scenario's menu commands.
#include "SimulationSupport.h"

namespace sorvala {
namespace {

std::string longOnlyWith(std::string_view more = "") {
    return std::string(longOnly.substr(0, longOnly.size() - 1)) + std::string(more) + "}";
}

TEST(Commands, AHeadsUpEndingOnAManualBreakStartsNothing) {
    const auto sim = simulate(header("+00:21", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:20:15", "do": "startMicroBreak"})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"heads-up sent", "micro break started manually",
                                                "break start abandoned reason=alreadyResting",
                                                "break taken kind=micro duration=20s"}));
    EXPECT_EQ(sim->timeline().count("long break screen shown"), 0) << "the long break is still due, not on screen";
}

TEST(Commands, SnoozesBeyondTheDailyBudgetAreRefusedAndNotOffered) {
    // How the session and daily budgets count is the budget's own table; here a spent one refuses.
    std::string events = R"({"at": "+00:00", "do": "read"})";
    for (const char* at : {"+00:05", "+00:06", "+00:07"})
        events += std::string("\n") + R"({"at": ")" + at + R"(", "do": "snooze", "minutes": 1})";
    const auto sim =
        simulate(header("+00:40", longOnlyWith(R"(, "snoozesPerSession": 0, "snoozesPerDay": 2)")) + events);
    EXPECT_EQ(sim->timeline().count("next break snoozed by 1m from=menu"), 2);
    EXPECT_TRUE(sim->timeline().logged("snooze refused minutes=1 from=menu reason=budgetSpent session=2 daily=2"));
    EXPECT_EQ(outcomes(*sim), (std::vector<std::string>{"long postponed", "long postponed", "long taken"}));
    EXPECT_TRUE(sim->timeline().logged("heads-up sent in=30s medium=banner category=pre-break-final"));
}

TEST(Commands, PauseUntilTomorrowEndsAtTheNextLocalMidnightOnA23HourDay) {
    // The 25-hour day, when the clocks go back, is a golden scenario of its own.
    const auto sim = simulate(R"({"start": "2026-03-29T08:00:00", "timeZone": "Europe/Berlin", "until": "+16:30", )"
                              R"("settings": )" + longOnlyWith() + "}\n" + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "pauseUntilTomorrow"})");
    EXPECT_TRUE(sim->timeline().logged("reminders paused until 2026-03-29 22:00:00 +0000"));
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"reminders paused", "reminders resumed", "heads-up sent"}));
    EXPECT_EQ(sim->timeline().count("heads-up sent"), 1) << "nothing while paused";
}

TEST(Commands, TheHeadsUpStartsTheSessionsSnoozesOver) {
    const auto sim = simulate(header("+00:23", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "snooze", "minutes": 1}
{"at": "+00:06", "do": "snooze", "minutes": 1})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"break due kind=long proceeding snoozeCount=2", "heads-up sent"}));
    EXPECT_EQ(sim->app()->engine().snoozeCount(), 0);
}

TEST(Commands, PauseUntilResumedLastsUntilTheResumeCommand) {
    const auto sim = simulate(header("+03:00", longOnlyWith()) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:05", "do": "pauseUntilResumed"}
{"at": "+02:00", "do": "resume"})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"reminders paused until resumed", "reminders resumed",
                                                "heads-up sent", "long break screen shown"}));
    EXPECT_FALSE(sim->timeline().logged("work clock tick suppressed reason=paused"))
        << "no poll runs while paused";
}

TEST(Commands, AHeadsUpRunningPastTheEndOfWorkingHoursStartsNoBreak) {
    const auto sim = simulate(
        R"({"start": "2026-12-07T16:39:50", "timeZone": "Europe/Berlin", "until": "+00:30", "settings": )" +
        longOnlyWith(R"(, "workingHoursEnabled": true)") + "}\n" + R"({"at": "+00:00", "do": "read"})");
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
    const struct { const char* name; const char* event; const char* anchor; } cases[] = {
        {"snooze from the menu", R"({"at": "+00:20:15", "do": "snooze", "minutes": 5})", "next break snoozed by 5m from=menu"},
        {"skip on the countdown", R"({"at": "+00:20:15", "do": "skipHeadsUp"})", "break skipped from the pre-break overlay"},
        {"pause", R"({"at": "+00:20:15", "do": "pause", "minutes": 60})", "reminders paused until"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(header("+00:21", longOnlyWith()) + R"({"at": "+00:00", "do": "read"})" + "\n" + c.event);
        EXPECT_TRUE(atTheSameMoment(sim->timeline(), c.anchor, "banners cleared"));
        EXPECT_TRUE(atTheSameMoment(sim->timeline(), c.anchor, "notice cleared kind=preBreak"));
    }
}

TEST(Commands, AnswersOnTheHeadsUpBanner) {
    struct Case { const char* name; BannerCenter::Response response; bool paused; std::vector<std::string> lines;
                  std::vector<std::string> recorded; };
    const Case cases[] = {
        {"snooze", {"snooze-5", "pre-break", false}, false,
         {"break snoozed from the notification minutes=5", "next break snoozed by 5m from=notification",
          "banners cleared", "heads-up sent in=30s medium=banner category=pre-break snoozeCount=1",
          "long break screen shown"},
         {"long postponed", "long taken"}},
        {"a click on the banner", {"default", "pre-break", true}, false,
         {"heads-up banner tapped; starting break now", "banners cleared", "long break screen shown"},
         {"long taken"}},
        {"snooze while paused", {"snooze-15", "pre-break", false}, true,
         {"reminders paused", "snooze refused minutes=15 from=notification reason=paused"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sim = simulate(header("+00:20:15", longOnlyWith()) + R"({"at": "+00:00", "do": "read"})");
        if (c.paused)
            sim->app()->pause(sim->now() + 3600);
        sim->app()->bannerResponded(c.response);
        sim->advance(10 * 60);
        EXPECT_TRUE(happenInOrder(sim->timeline(), c.lines));
        EXPECT_EQ(outcomes(*sim), c.recorded);
        if (c.response.action == "snooze-5") {
            EXPECT_TRUE(atTheSameMoment(sim->timeline(), "next break snoozed", "banners cleared"));
        }
    }
}

TEST(Commands, TheCountdownsOwnSnoozeButtonSnoozesFiveMinutes) {
    const auto sim = simulate(header("+00:20:15", longOnlyWith()) + R"({"at": "+00:00", "do": "read"})");
    ASSERT_TRUE(sim->notices()->preBreakShowing());
    sim->notices()->chooseSnooze();
    EXPECT_TRUE(atTheSameMoment(sim->timeline(), "next break snoozed by 5m from=overlay", "notice cleared kind=preBreak"));
    EXPECT_EQ(outcomes(*sim), std::vector<std::string>{"long postponed"});
}

TEST(Commands, AHeldBreakSaysSoAndSaysAgainAfterHalfAnHour) {
    const auto sim = simulate(header("+00:55", longOnly) + R"({"at": "+00:00", "do": "read"}
{"at": "+00:15", "cause": "Fullscreen app", "active": true})");
    EXPECT_TRUE(happenInOrder(sim->timeline(), {"notice shown kind=smartPause id=smart-pause",
                                                "notice shown kind=smartPause id=blocker-still-holding"}));
}

} // namespace
} // namespace sorvala
