// SPDX-License-Identifier: MIT
#include "drawing/SeededRandomNumberGenerator.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(SeededRandomNumbers, SeedZeroGivesTheSplitMix64Sequence) {
    SeededRandomNumberGenerator random(0);
    EXPECT_EQ(random.next(), 0xE220A8397B1DCDAFu);
    EXPECT_EQ(random.next(), 0x6E789E6AA1B965F4u);
    EXPECT_EQ(random.next(), 0x06C45D188009454Fu);
}

TEST(SeededRandomNumbers, BoundedDrawTakesTheHighHalfOfTheProduct) {
    SeededRandomNumberGenerator random(7);
    SeededRandomNumberGenerator raw = random;
    EXPECT_EQ(random.next(1), 0u);
    raw.next();
    EXPECT_EQ(random.state(), raw.state()) << "a bound of 1 still consumes one output";

    // 2^32 never rejects (2^64 mod 2^32 is 0): the top 32 bits of seed 7's second output,
    // 0x044C3CD7F43C661C.
    EXPECT_EQ(random.next(std::uint64_t{1} << 32), 0x044C3CD7u);
}

TEST(SeededRandomNumbers, HalfOpenRealUsesTheLow53BitsAndNeverReturnsTheUpperBound) {
    SeededRandomNumberGenerator random(3);
    EXPECT_EQ(random.realInRange(0.25, 2.5), 0x1.077817661c1eap+0);

    // Spacing of doubles near 1e16 is 2, so every u ≥ 0.5 rounds to the upper bound and is drawn again.
    const double a = 1e16;
    const double b = a + 2;
    SeededRandomNumberGenerator steps = random;
    for (int draws = 0; draws < 100; ++draws)
        EXPECT_EQ(random.realInRange(a, b), a);
    int consumed = 0;
    while (steps.state() != random.state() && consumed < 10000) {
        steps.next();
        ++consumed;
    }
    EXPECT_GT(consumed, 100) << "rounded-up draws are taken again";
}

TEST(SeededRandomNumbers, ClosedRealScalesABoundedDrawOver2To53PlusOne) {
    SeededRandomNumberGenerator random(8);
    EXPECT_EQ(random.realInClosedRange(-0.06, 0.06), 0x1.d1faa9560e128p-7);
    EXPECT_EQ(random.realInClosedRange(0.4, 0.4), 0.4);
}

} // namespace
} // namespace sorvala
