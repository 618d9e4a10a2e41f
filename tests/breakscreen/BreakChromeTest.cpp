// SPDX-License-Identifier: MIT
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
