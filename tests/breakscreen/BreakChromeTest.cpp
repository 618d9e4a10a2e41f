// SPDX-License-Identifier: MIT
#include "breakscreen/DesignTokens.h"
#include "breakscreen/LongBreakLayout.h"
#include "breakscreen/MicroBreakPrompts.h"

#include <gtest/gtest.h>

#include <set>

using namespace sorvala;

TEST(MicroBreakPrompts, TheNextTipIsNeverThePreviousOneUnlessThatIsNotInTheCatalogue) {
    const auto& all = MicroBreakPrompts::all();
    for (std::size_t previous = 0; previous < all.size(); ++previous) {
        SCOPED_TRACE(previous);
        std::set<std::string> seen;
        for (std::uint64_t pick = 0; pick < 15; ++pick)
            seen.insert(MicroBreakPrompts::next(all[previous], [&](std::uint64_t bound) {
                            EXPECT_EQ(bound, 15u);
                            return pick;
                        }).prompt);
        EXPECT_EQ(seen.size(), 15u);
        EXPECT_FALSE(seen.contains(all[previous].prompt));
    }
    const MicroBreakPrompt stranger{"Hum a tune", "", std::nullopt};
    std::uint64_t candidates = 0;
    MicroBreakPrompts::next(stranger, [&](std::uint64_t bound) { return (candidates = bound) - 1; });
    EXPECT_EQ(candidates, 16u);
    EXPECT_EQ(MicroBreakPrompts::next(std::nullopt, [](std::uint64_t bound) { return bound - 1; }), all.back());
}

TEST(MicroBreakDisplay, CountdownRoundsHalvesAwayFromZeroAndTheRingDepletes) {
    struct Case { double remaining; const char* text; };
    for (const auto& c : {Case{19.6, "0:20"}, Case{0.4, "0:00"}, Case{0.5, "0:01"}, Case{59.5, "1:00"},
                          Case{-3, "0:00"}}) {
        SCOPED_TRACE(c.remaining);
        EXPECT_EQ(MicroBreakDisplay::countdownText(c.remaining), c.text);
    }
    EXPECT_DOUBLE_EQ(MicroBreakDisplay::ringFraction(20, 20), 1);
    EXPECT_DOUBLE_EQ(MicroBreakDisplay::ringFraction(5, 20), 0.25);
    EXPECT_DOUBLE_EQ(MicroBreakDisplay::ringFraction(-1, 20), 0);
    EXPECT_DOUBLE_EQ(MicroBreakDisplay::ringFraction(5, 0), 0);
}

TEST(LongBreakLayout, TheDrawingFillsTheBandBetweenHeadlineAndControls) {
    EXPECT_EQ(LongBreakLayout::sorvalaFrame(300, 900, 200, 800).width, 300) << "no wider than the container";
    EXPECT_EQ(LongBreakLayout::sorvalaFrame(1440, 900, 500, 400).width, 0) << "overlap leaves no area";
    const auto moved = LongBreakLayout::recentredSorvalaFrame({0, 0, 575, 575}, 1920, 1080, 200, 800);
    EXPECT_EQ(moved.width, 575);
    EXPECT_DOUBLE_EQ(moved.x + moved.width / 2, 960);
    EXPECT_DOUBLE_EQ(moved.y + moved.height / 2, 1080 - 499.5);
}

TEST(DesignTokens, DarkNeedsADarkBackground) {
    using namespace DesignTokens;
    EXPECT_EQ(appearanceForBackgroundLightness(0.12), Appearance::dark);
    EXPECT_EQ(appearanceForBackgroundLightness(0.5), Appearance::light);
}
