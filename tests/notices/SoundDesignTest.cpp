// SPDX-License-Identifier: MIT
#include "ChimeSynth.h"
#include "notices/SoundDesign.h"

#include "core/SettingsKeys.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace sorvala;
using SoundDesign::Event;

TEST(SoundDesignResolve, ChimesPerEventAndPair) {
    struct Case { const char* name; Event event; const char* pair; const char* sound; };
    const Case cases[] = {
        {"submarine start", Event::breakStart, "Submarine & Hero", "Submarine"},
        {"hero end", Event::breakEnd, "Submarine & Hero", "Hero"},
        {"pop end", Event::breakEnd, "Purr & Pop", "Pop"},
        {"unknown pair falls back to glass", Event::breakEnd, "Bells", "Glass"},
        {"pair names match exactly", Event::breakStart, "tink", "Glass"},
        {"reminder ignores the pair", Event::reminder, "Purr & Pop", "Tink"},
        {"overtime", Event::overtimeNudge, "Submarine & Hero", "Pop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SoundDesign::soundName(c.event, c.pair), c.sound);
        EXPECT_TRUE(SoundDesign::isSoundName(SoundDesign::soundName(c.event, c.pair)));
    }
}

TEST(SoundDesignResolve, SwitchAndVolume) {
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", false, 0.5), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, 0), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, -0.2), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, std::nan("")), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, 1.7), (SoundDesign::Resolved{"Tink", 1.0f}));
    EXPECT_EQ(SoundDesign::resolve(Event::breakEnd, "Tink", true, 0.25),
              (SoundDesign::Resolved{"Tink", 0.25f}));
}

TEST(SoundDesignStored, ReadsTheEventsOwnSettings) {
    using namespace SettingsSchema;
    MemoryPreferences store;
    store.set(soundPairKey, std::string("Submarine & Hero"));
    store.set(softChimeEnabledKey, true);
    store.set(breaksSoundVolumeKey, 0.4);
    store.set(reminderSoundEnabledKey, true);
    store.set(remindersSoundVolumeKey, std::string("0.0"));
    store.set(overtimeNudgeSoundEnabledKey, std::int64_t{1});
    store.set(nudgesSoundVolumeKey, 2.0);

    EXPECT_EQ(SoundDesign::storedResolve(store, Event::breakEnd), (SoundDesign::Resolved{"Hero", 0.4f}));
    EXPECT_EQ(SoundDesign::storedResolve(store, Event::reminder), std::nullopt);   // volume 0
    EXPECT_EQ(SoundDesign::storedResolve(store, Event::smartPause), std::nullopt); // switched off
    EXPECT_EQ(SoundDesign::storedResolve(store, Event::overtimeNudge), (SoundDesign::Resolved{"Pop", 1.0f}));
}

namespace {

// Loudest sample in the window [from, to) seconds; the whole chime by default.
int peak(const std::vector<std::int16_t>& samples, double from = 0, double to = 60) {
    int top = 0;
    const auto end = std::min(samples.size(), static_cast<std::size_t>(to * ChimeSynth::sampleRate));
    for (auto i = static_cast<std::size_t>(from * ChimeSynth::sampleRate); i < end; ++i)
        top = std::max(top, std::abs(int(samples[i])));
    return top;
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
        EXPECT_LT(peak(*samples, 0, 0.001), peak(*samples) / 2);
        // The tail decays: the last tenth is far quieter than the loudest part.
        EXPECT_LT(peak(*samples, seconds * 0.9, seconds), peak(*samples) / 4);
    }
    EXPECT_EQ(ChimeSynth::synthesise("Basso"), std::nullopt);
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
