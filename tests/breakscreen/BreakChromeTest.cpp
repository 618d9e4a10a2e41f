// SPDX-License-Identifier: MIT
#include "breakscreen/BreakPalette.h"
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

TEST(MicroBreakPrompts, CuesUseSpacedMiddleDotsAndSixTipsHaveNone) {
    int withoutCue = 0;
    for (const auto& tip : MicroBreakPrompts::all()) {
        if (!tip.cue) {
            ++withoutCue;
            continue;
        }
        EXPECT_NE(tip.cue->find("  \u00b7  "), std::string::npos) << *tip.cue;
    }
    EXPECT_EQ(withoutCue, 6);
    EXPECT_NE(MicroBreakPrompts::all()[6].subtitle.find("you\u2019d"), std::string::npos);
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
    // The glow breathes between half and nine tenths of its colour.
    EXPECT_DOUBLE_EQ(MicroBreakDisplay::glowOpacity(0), 0.5);
    EXPECT_DOUBLE_EQ(MicroBreakDisplay::glowOpacity(1), 0.9);
}

TEST(BreakPalette, SharedColoursAgreeAndTheWashIsTheAccent) {
    for (const bool dark : {true, false}) {
        SCOPED_TRACE(dark);
        const auto p = BreakPalette::resolve(dark);
        EXPECT_EQ(p.skipFill, p.skipBorder);
        EXPECT_EQ(p.gradientWash, p.glow);
        EXPECT_EQ((BreakPalette::Colour{p.accent.red, p.accent.green, p.accent.blue, p.glow.alpha}), p.glow);
    }
}

TEST(LongBreakLayout, TheDrawingFillsTheBandBetweenHeadlineAndControls) {
    using F = LongBreakLayout::Frame;
    EXPECT_EQ(LongBreakLayout::sorvalaFrame(1440, 900, 200, 800), (F{432.5, 113, 575, 575}));
    EXPECT_EQ(LongBreakLayout::sorvalaFrame(300, 900, 200, 800).width, 300) << "no wider than the container";
    EXPECT_EQ(LongBreakLayout::sorvalaFrame(1440, 900, 500, 400).width, 0) << "overlap leaves no area";
    const F moved = LongBreakLayout::recentredSorvalaFrame({0, 0, 575, 575}, 1920, 1080, 200, 800);
    EXPECT_EQ(moved.width, 575);
    EXPECT_DOUBLE_EQ(moved.x + moved.width / 2, 960);
    EXPECT_DOUBLE_EQ(moved.y + moved.height / 2, 1080 - 499.5);
}
