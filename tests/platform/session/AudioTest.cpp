// SPDX-License-Identifier: MIT
#include "platform/audio/AppSound.h"
#include "platform/audio/PulseMicrophoneMonitor.h"

#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"

#include "SessionSupport.h"

#include "core/SettingsKeys.h"

#include <QSoundEffect>

#include <gtest/gtest.h>

using namespace sorvala;
using namespace sorvala::test;

namespace {

class Audio : public ::testing::Test {
protected:
    void SetUp() override {
        if (!hasPulseAudio())
            GTEST_SKIP() << "no PulseAudio server";
    }

    static int sinkInputs() {
        return int(output(QStringLiteral("pactl"),
                          {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")})
                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                       .size());
    }
};

} // namespace

TEST_F(Audio, RecordingFromTheMicrophoneIsSeenAndItsEndToo) {
    if (!hasProgram(QStringLiteral("parecord")))
        GTEST_SKIP() << "no parecord";
    PulseMicrophoneMonitor monitor;
    ASSERT_TRUE(waitUntil([&] { return monitor.isReady(); }));
    EXPECT_EQ(monitor.microphoneInUse(), false);
    {
        Child call(QStringLiteral("parecord"),
                   {QStringLiteral("--device=sorvala_null_source"), QStringLiteral("/dev/null")});
        EXPECT_TRUE(waitUntil([&] { return monitor.microphoneInUse() == true; }));
    }
    EXPECT_TRUE(waitUntil([&] { return monitor.microphoneInUse() == false; }));
}

TEST_F(Audio, RecordingAMonitorIsNoCall) {
    if (!hasProgram(QStringLiteral("parecord")))
        GTEST_SKIP() << "no parecord";
    PulseMicrophoneMonitor monitor;
    ASSERT_TRUE(waitUntil([&] { return monitor.isReady(); }));
    Child recorder(QStringLiteral("parecord"),
                   {QStringLiteral("--device=sorvala_null_sink.monitor"), QStringLiteral("/dev/null")});
    ASSERT_TRUE(waitUntil([&] { return !monitor.streams().empty(); }));
    EXPECT_EQ(monitor.microphoneInUse(), false);
}

TEST_F(Audio, AChimeReachesTheSoundServerAndEnds) {
    RecordingLogger log;
    MemoryPreferences store;
    store.set(SettingsSchema::softChimeEnabledKey, true);
    store.set(SettingsSchema::breaksSoundVolumeKey, 0.25);
    store.set(SettingsSchema::soundPairKey, std::string("Submarine & Hero"));
    AppSound sound(store, log);
    const int before = sinkInputs();

    sound.play(SoundDesign::Event::breakStart);
    ASSERT_TRUE(sound.isPlaying());
    EXPECT_TRUE(waitUntil([&] { return sinkInputs() > before; })) << "no stream reached the null sink";
    EXPECT_TRUE(waitUntil([&] { return !sound.isPlaying(); }));
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(Audio, ANewChimeStopsTheOneStillRinging) {
    RecordingLogger log;
    AppSound sound(log);
    ASSERT_TRUE(sound.playSound("Glass", 0.25f));
    QSoundEffect* glass = sound.lastEffect();
    ASSERT_TRUE(waitUntil([&] { return glass->isPlaying(); }));
    ASSERT_TRUE(sound.playSound("Tink", 0.25f));
    EXPECT_FALSE(glass->isPlaying());
    EXPECT_NE(sound.lastEffect(), glass);
}

TEST_F(Audio, SilentWhenSwitchedOffOrUnknown) {
    RecordingLogger log;
    MemoryPreferences store;
    store.set(SettingsSchema::reminderSoundEnabledKey, false);
    store.set(SettingsSchema::remindersSoundVolumeKey, 1.0);
    AppSound sound(store, log);
    sound.play(SoundDesign::Event::reminder);
    EXPECT_EQ(sound.lastEffect(), nullptr);

    EXPECT_FALSE(sound.playSound("Basso", 0.5f));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"sound not played: system sound Basso is missing"}));
}
