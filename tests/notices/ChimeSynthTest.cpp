// SPDX-License-Identifier: MIT
#include "ChimeSynth.h"

#include "notices/SoundDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace sorvala;

namespace {

int peak(const std::vector<std::int16_t>& samples) {
    int top = 0;
    for (auto s : samples)
        top = std::max(top, std::abs(int(s)));
    return top;
}

// Loudest sample in the window [from, to) seconds.
int peakBetween(const std::vector<std::int16_t>& samples, double from, double to) {
    const auto a = static_cast<std::size_t>(from * ChimeSynth::sampleRate);
    const auto b = std::min(samples.size(), static_cast<std::size_t>(to * ChimeSynth::sampleRate));
    return peak(std::vector<std::int16_t>(samples.begin() + long(a), samples.begin() + long(b)));
}

} // namespace

TEST(ChimeSynth, EveryChimeIsGentleAndPeaksNearMinusThreeDecibels) {
    for (auto name : SoundDesign::soundNames) {
        SCOPED_TRACE(std::string(name));
        const auto samples = ChimeSynth::synthesise(name);
        ASSERT_TRUE(samples.has_value());
        const double seconds = double(samples->size()) / ChimeSynth::sampleRate;
        EXPECT_GE(seconds, 0.1);
        EXPECT_LE(seconds, 1.5);
        EXPECT_NEAR(20 * std::log10(peak(*samples) / 32767.0), -3.0, 0.05);
        // A soft start and a silent end: no click on either side.
        EXPECT_LT(std::abs(int(samples->front())), 200);
        EXPECT_LT(std::abs(int(samples->back())), 50);
        EXPECT_LT(peakBetween(*samples, 0, 0.001), peak(*samples) / 2);
        // The tail decays: the last tenth is far quieter than the loudest part.
        EXPECT_LT(peakBetween(*samples, seconds * 0.9, seconds), peak(*samples) / 4);
    }
    EXPECT_EQ(ChimeSynth::synthesise("Basso"), std::nullopt);
}

TEST(ChimeSynth, ChimesDifferFromEachOtherAndRepeatExactly) {
    for (auto a : SoundDesign::soundNames) {
        EXPECT_EQ(ChimeSynth::synthesise(a), ChimeSynth::synthesise(a));
        for (auto b : SoundDesign::soundNames) {
            if (a != b) {
                EXPECT_NE(ChimeSynth::synthesise(a), ChimeSynth::synthesise(b)) << a << " vs " << b;
            }
        }
    }
}

TEST(ChimeSynth, WavHeaderDescribesMono16BitAt48kHz) {
    const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768};
    const auto wav = ChimeSynth::encodeWav(samples);
    ASSERT_EQ(wav.size(), 44u + 10u);
    auto u16 = [&](std::size_t at) { return unsigned(wav[at]) | unsigned(wav[at + 1]) << 8; };
    auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(u32(4), 36u + 10u);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(u16(20), 1u); // PCM
    EXPECT_EQ(u16(22), 1u); // mono
    EXPECT_EQ(u32(24), 48000u);
    EXPECT_EQ(u32(28), 96000u); // bytes per second
    EXPECT_EQ(u16(34), 16u);
    EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
    EXPECT_EQ(u32(40), 10u);
    EXPECT_EQ(u16(50), 0x7FFFu); // little endian
    EXPECT_EQ(u16(52), 0x8000u);
}
