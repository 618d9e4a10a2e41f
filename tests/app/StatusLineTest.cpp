// SPDX-License-Identifier: MIT
#include "app/StatusLine.h"

#include "menubar/MenuBarCountdown.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace sorvala {
namespace {

using Block = BreakGate::Block;

StatusLine::Facts running(std::optional<double> secondsLeft) {
    StatusLine::Facts facts;
    facts.secondsUntilNextBreak = secondsLeft;
    return facts;
}

/// Running with 1199.9 s to go, changed by `change`.
StatusLine::Facts with(const std::function<void(StatusLine::Facts&)>& change) {
    auto facts = running(1199.9);
    change(facts);
    return facts;
}

TEST(StatusLine, FirstMatchingRuleWins) {
    using Facts = StatusLine::Facts;
    const auto at1545 = Instant::fromSecondsSinceEpoch(1796658300);
    struct Case { const char* name; StatusLine::Facts facts; std::optional<std::string> label; std::string text; };
    const Case cases[] = {
        {"on a break while paused", with([&](Facts& f) { f.onBreak = true; f.pausedUntil = at1545; }), {}, "On a break"},
        {"paused until resumed", with([](Facts& f) { f.pausedUntil = Instant::distantFuture(); }), {},
         "Paused until resumed"},
        {"paused until a time, outside working hours",
         with([&](Facts& f) { f.pausedUntil = at1545; f.withinWorkingHours = false; }), {}, "Paused until 15:45"},
        {"break starting while held", with([](Facts& f) { f.breakStarting = true; f.holdingBlock = Block::smartPause; }),
         {}, "Break starting…"},
        {"outside working hours", with([](Facts& f) { f.withinWorkingHours = false; }), {}, "Outside working hours"},
        {"held by a call", with([](Facts& f) { f.holdingBlock = Block::smartPause; }), "On a call",
         "On a call — break waiting to run"},
        {"held without a label", with([](Facts& f) { f.holdingBlock = Block::smartPause; }), {},
         "Blocked — break waiting to run"},
        {"cooldown truncates", with([](Facts& f) { f.holdingBlock = Block::cooldown; f.cooldownRemaining = 95.7; }), {},
         "Still waiting after a blocker — break in 1:35"},
        {"countdown truncates", running(1199.9), {}, "Next break in 19:59"},
        {"countdown beside a blocker", running(1199.9), "Fullscreen app", "Fullscreen app — next break in 19:59"},
        {"typing shows the countdown", with([](Facts& f) { f.holdingBlock = Block::typing; }), {},
         "Next break in 19:59"},
        {"overdue reads zero", running(-5), {}, "Next break in 0:00"},
        {"no break but a blocker", running(std::nullopt), "Video playing", "Video playing"},
        {"no break", running(std::nullopt), {}, "No breaks scheduled"},
        {"no break after stepping away", with([](Facts& f) { f.secondsUntilNextBreak.reset(); f.userSteppedAway = true; }),
         {}, "Away time counted as rest — timer restarted"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int labelReads = 0;
        const auto text = StatusLine::text(
            c.facts, [&] { ++labelReads; return c.label; }, [](Instant) { return std::string("15:45"); });
        EXPECT_EQ(text, c.text);
        // The label comes from a sweep of every probe: the states above the hold never pay for it.
        if (c.facts.onBreak || c.facts.pausedUntil || c.facts.breakStarting || !c.facts.withinWorkingHours) {
            EXPECT_EQ(labelReads, 0);
        }
    }
}

TEST(StatusLine, BesideTheCountdownBothShowTheSameSecond) {
    for (const double left : {1196.6, 1196.4, 59.5, 3599.6, 0.2}) {
        SCOPED_TRACE(left);
        const auto facts = StatusLine::besideCountdown(running(left));
        const auto title = MenuBarCountdown::title(true, false, false, static_cast<long long>(*facts.secondsUntilNextBreak));
        const auto line = StatusLine::text(facts, [] { return std::nullopt; }, {});
        ASSERT_TRUE(title);
        // Under an hour the title is the line's own minutes and seconds.
        if (left < 3599.5) {
            EXPECT_EQ(line, "Next break in " + *title);
        }
        EXPECT_EQ(MenuBarCountdown::title(true, false, false, std::llround(left)), title);
    }
}

TEST(StatusLine, MinutesAndSecondsNeverBelowZero) {
    EXPECT_EQ(minutesSeconds(59.9), "0:59") << "whole seconds, cut";
    EXPECT_EQ(minutesSeconds(7205), "120:05") << "no hours";
    EXPECT_EQ(minutesSeconds(-3), "0:00");
    EXPECT_EQ(minutesSeconds(std::nan("")), "0:00");
}

} // namespace
} // namespace sorvala
