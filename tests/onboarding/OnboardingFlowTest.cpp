// SPDX-License-Identifier: MIT
#include "onboarding/OnboardingFlow.h"

#include "core/SettingsKeys.h"
#include "support/CoreDefaults.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <functional>

namespace sorvala {
namespace {

using namespace OnboardingFlow;

/// The factory rhythm (long breaks every 20 minutes, micro breaks every 20, the cycle on at 3),
/// changed by `change`.
Facts factoryFacts(const std::function<void(Facts&)>& change = {}) {
    Facts facts{.longBreakMinutes = 20, .longBreakLengthMinutes = 3, .microMinutes = 20, .factoryMicroMinutes = 20,
                .microSeconds = 20, .cycleEnabled = true, .cycleLength = 3,
                .waitLabels = {"On a call", "Fullscreen app"}, .notifications = NotificationState::granted};
    if (change)
        change(facts);
    return facts;
}

TEST(OnboardingRhythmPage, TextsFigureAndFootnoteFollowTheSettings) {
    struct Case { const char* name; Facts facts; std::string bodyEnd; RhythmStrip figure; std::optional<std::string> footnote; };
    const std::string noteFrom60 =
        "The sorvala now comes every 20 minutes rather than every 60 — the long break "
        "falls back to its own clock when nothing rides in front of it.";
    const Case cases[] = {
        {"factory", factoryFacts(), " Every third one is the long break you just saw.", {20, 60, 60}, std::nullopt},
        {"micro off from factory", factoryFacts([](Facts& f) { f.microMinutes = 0; }),
         "It comes every 20 minutes on its own clock.", {0, 20, 20}, noteFrom60},
        // A kept 30 with the cycle at 3 also gives 90: nothing to explain.
        {"micro off, a kept interval",
         factoryFacts([](Facts& f) { f.microMinutes = 0; f.restorableMicroMinutes = 30; f.longBreakMinutes = 90; }),
         "It comes every 90 minutes on its own clock.", {0, 90, 90}, std::nullopt},
        {"cycle of 7, one-minute micro", factoryFacts([](Facts& f) { f.cycleLength = 7; f.microMinutes = 1; }),
         " Every 7th one is the long break you just saw.", {1, 7, 7}, std::nullopt},
        {"long interval 0",
         factoryFacts([](Facts& f) { f.cycleEnabled = false; f.longBreakMinutes = 0; f.microMinutes = 15; }),
         " The long break keeps its own clock alongside them, every 0 minutes.", {15, 0, 15}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Page p = page(Step::rhythm, c.facts);
        EXPECT_TRUE(p.body.ends_with(c.bodyEnd)) << p.body;
        ASSERT_TRUE(p.figure.has_value());
        EXPECT_EQ(std::get<RhythmStrip>(*p.figure), c.figure);
        EXPECT_EQ(p.control, Control{MicroBreaksSwitch{c.facts.microMinutes >= 1}});
        EXPECT_EQ(p.footnote, c.footnote);
    }
}

TEST(OnboardingPages, TextsCarryTheUsersNumbers) {
    Facts facts = factoryFacts([](Facts& f) { f.microMinutes = 25; f.cycleLength = 2; f.longBreakLengthMinutes = 1; });
    const std::string rhythm = page(Step::rhythm, facts).body;
    EXPECT_NE(rhythm.find("Every 25 minutes Sorvala asks"), std::string::npos) << rhythm;
    EXPECT_TRUE(rhythm.ends_with(" Every second one is the long break you just saw.")) << rhythm;
    EXPECT_EQ(page(Step::rhythm, facts).position, "2 of 5");

    const Page first = page(Step::theBreak, facts);
    EXPECT_TRUE(first.body.starts_with("Every 50 minutes, Sorvala takes the screen for about 1 minute and"))
        << first.body;
    EXPECT_EQ(first.figure, Figure{LiveDrawing{}});
    EXPECT_EQ(page(Step::waiting, facts).figure, Figure{WaitingStrip{facts.waitLabels}});

    facts.cycleEnabled = false;
    facts.longBreakMinutes = 45;
    const Page last = page(Step::start, facts);
    EXPECT_EQ(last.body, "Your first break is due within 45 minutes.");
    EXPECT_EQ(last.figure, std::nullopt);
}

TEST(OnboardingTrayPage, NotificationStateShapesControlButtonAndFootnote) {
    for (const auto state : {NotificationState::unasked, NotificationState::granted, NotificationState::denied}) {
        SCOPED_TRACE(notificationStatusLine(state));
        const Page p = page(Step::menuBar, factoryFacts([&](Facts& f) { f.notifications = state; }));
        EXPECT_EQ(p.control, Control{NotificationsControl{state}});
        EXPECT_EQ(notificationButtonTitle(state).has_value(), state != NotificationState::granted);
        // Only a refusal sends the reader to start a notification service first.
        ASSERT_TRUE(p.footnote);
        EXPECT_EQ(p.footnote->starts_with("Start a notification service"), state == NotificationState::denied);
    }
}

TEST(OnboardingRhythmFigure, SpanTicksAndLabels) {
    EXPECT_EQ(rhythmSpanMinutes(20, 60), 60);
    EXPECT_EQ(rhythmSpanMinutes(60, 60), 120); // beyond one micro interval
    EXPECT_EQ(rhythmSpanMinutes(0, 20), 20);
    EXPECT_EQ(rhythmSpanMinutes(15, 0), 15);
    EXPECT_EQ(rhythmSpanMinutes(0, 0), 1);
    EXPECT_GT(rhythmSpanMinutes(2'000'000'000, 7), 0) << "a hand-edited interval must not overflow";

    EXPECT_EQ(tickMinutes(20, 60), (std::vector<int>{20, 40}));
    EXPECT_EQ(tickMinutes(0, 60), std::vector<int>{});

    // 480 points over 60 minutes: 8 points a minute.
    EXPECT_EQ(labelledMinutes(5, 60, 480, 30), (std::vector<int>{10, 15, 20, 25, 30, 35, 40, 45, 50, 55}))
        << "5 minutes sits 10 points after the caption's end";
    EXPECT_EQ(labelledMinutes(3, 60, 480, 30), (std::vector<int>{9, 15, 21, 27, 33, 39, 45, 51, 57}))
        << "a label 24 points from the previous one is dropped";
    EXPECT_EQ(labelledMinutes(3, 60, 480, 0), (std::vector<int>{6, 12, 18, 24, 30, 36, 42, 48, 54}));
    EXPECT_EQ(labelledMinutes(5, 0, 480, 30), std::vector<int>{});
}

TEST(OnboardingMicroSwitch, OffKeepsTheIntervalAndOnRestoresIt) {
    EXPECT_EQ(microMinutes(true, std::nullopt, 20), 20) << "nothing kept gives the factory value";

    MemoryPreferences store;
    registerCoreDefaults(store);
    store.set(SettingsSchema::microMinutesKey, std::int64_t{25});
    EXPECT_EQ(storeMicroBreaks(store, false, 20), 0);
    EXPECT_EQ(store.integer(SettingsSchema::microMinutesKey), 0);
    EXPECT_EQ(store.integer(microMinutesBeforeOnboardingKey), 25);
    EXPECT_EQ(storeMicroBreaks(store, true, 20), 25);
    EXPECT_EQ(store.integer(SettingsSchema::microMinutesKey), 25);

    store.set(microMinutesBeforeOnboardingKey, std::int64_t{0});
    EXPECT_EQ(storeMicroBreaks(store, true, 20), 20) << "a kept 0 gives the factory value back";
}

TEST(OnboardingFacts, ReadFromTheStore) {
    MemoryPreferences store;
    registerCoreDefaults(store);
    store.set(SettingsSchema::reminderMinutesKey, std::int64_t{50});
    store.set(SettingsSchema::breakCycleEnabledKey, false);
    store.set(microMinutesBeforeOnboardingKey, std::int64_t{12});
    const Facts facts = storedFacts(store, 20, NotificationState::denied);
    EXPECT_EQ(facts.longBreakMinutes, 50);
    EXPECT_EQ(facts.microMinutes, 20);
    EXPECT_EQ(facts.restorableMicroMinutes, 12);
    EXPECT_FALSE(facts.cycleEnabled);
    EXPECT_EQ(facts.sorvalaEveryMinutes(), 50);
}

} // namespace
} // namespace sorvala
