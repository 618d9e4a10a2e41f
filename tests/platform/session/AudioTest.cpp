// SPDX-License-Identifier: MIT
#include "platform/audio/AppSound.h"
#include "platform/audio/PulseMicrophoneMonitor.h"

#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include "SessionSupport.h"

#include "core/SettingsKeys.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

using namespace sorvala;
using namespace sorvala::test;

namespace {

/// Whether the PulseAudio client library is mapped into this process.
bool pulseMapped() {
    return readFile("/proc/self/maps").find("/libpulse") != std::string::npos;
}

class Audio : public ::testing::Test {
protected:
    void SetUp() override {
        if (!hasPulseAudio())
            GTEST_SKIP() << "no PulseAudio server";
    }

    static int sinkInputs() {
        return int(output("pactl", {"list", "short", "sink-inputs"}).split('\n', Qt::SkipEmptyParts).size());
    }

    RecordingLogger log;
};

} // namespace

TEST_F(Audio, RecordingFromTheMicrophoneIsSeenAndItsEndTooButRecordingAMonitorIsNoCall) {
    if (!hasProgram("parecord"))
        GTEST_SKIP() << "no parecord";
    PulseMicrophoneMonitor monitor;
    ASSERT_TRUE(waitUntil([&] { return monitor.isReady(); }));
    EXPECT_EQ(monitor.microphoneInUse(), false);
    {
        Child recorder("parecord", {"--device=sorvala_null_sink.monitor", "/dev/null"});
        ASSERT_TRUE(waitUntil([&] { return !monitor.streams().empty(); }));
        EXPECT_EQ(monitor.microphoneInUse(), false);
    }
    {
        Child call("parecord", {"--device=sorvala_null_source", "/dev/null"});
        EXPECT_TRUE(waitUntil([&] { return monitor.microphoneInUse() == true; }));
    }
    EXPECT_TRUE(waitUntil([&] { return monitor.microphoneInUse() == false; }));
}

TEST_F(Audio, TheSoundLibraryIsLoadedAtTheFirstChimeAndWithoutItTheChimeFails) {
    if (pulseMapped())
        GTEST_SKIP() << "an earlier test of this process played already";
    AppSound sound(log);
    {
        const ScopedEnvironment nowhere("SORVALA_MODULE_DIR", "/nonexistent/sorvala-modules");
        EXPECT_FALSE(sound.playSound("Glass", 0.25f));
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines[0].rfind("module not loaded name=sound error=", 0), 0u) << log.lines[0];
        EXPECT_FALSE(pulseMapped());
    }
    ASSERT_TRUE(sound.playSound("Glass", 0.25f));
    EXPECT_TRUE(pulseMapped());
    EXPECT_TRUE(waitUntil([&] { return !sound.isPlaying(); }, 5000));
    EXPECT_FALSE(sound.failed());
}

TEST_F(Audio, AChimeReachesTheSoundServerEndsAndIsStoppedByTheNext) {
    MemoryPreferences store;
    // Which event sounds at what volume is the sound design's rule; here a chosen sound plays.
    store.set(SettingsSchema::softChimeEnabledKey, true);
    store.set(SettingsSchema::breaksSoundVolumeKey, 0.25);
    store.set(SettingsSchema::soundPairKey, std::string("Submarine & Hero"));
    AppSound sound(store, log);
    const int before = sinkInputs();

    sound.play(SoundDesign::Event::breakStart);
    ASSERT_TRUE(sound.isPlaying());
    EXPECT_TRUE(waitUntil([&] { return sinkInputs() > before; })) << "no stream reached the null sink";
    EXPECT_TRUE(waitUntil([&] { return !sound.isPlaying(); }));

    ASSERT_TRUE(sound.playSound("Glass", 0.25f));
    ASSERT_TRUE(waitUntil([&] { return sinkInputs() > before; }));
    ASSERT_TRUE(sound.playSound("Tink", 0.25f));
    ASSERT_TRUE(waitUntil([&] { return !sound.isPlaying(); }));
    EXPECT_FALSE(sound.failed());
    // The short chime has ended; the long one it interrupted must not ring on beside it.
    EXPECT_EQ(sinkInputs(), before);
    EXPECT_TRUE(log.lines.empty());

    EXPECT_FALSE(sound.playSound("Basso", 0.5f));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"sound not played: system sound Basso is missing"}));
}

TEST_F(Audio, AChimeStillSoundsAfterTheSoundServerRestarts) {
    if (!hasProgram("pulseaudio"))
        GTEST_SKIP() << "no pulseaudio to restart";
    // A sound server of this test's own: the session's keeps serving the tests running beside it.
    TemporaryDirectory folder;
    const std::string runtime = (folder / "runtime").string();
    const ScopedEnvironment runtimePath("PULSE_RUNTIME_PATH", runtime);
    const ScopedEnvironment statePath("PULSE_STATE_PATH", (folder / "state").string());
    const ScopedEnvironment serverAddress("PULSE_SERVER", "unix:" + runtime + "/native");
    const auto startServer = [&] {
        // Off the session bus: there the session's server already holds the sound server's name.
        const ScopedEnvironment noBus("DBUS_SESSION_BUS_ADDRESS",
                                      "unix:path=" + (folder / "no-bus").string());
        return std::make_unique<Child>(
            "pulseaudio", QStringList{"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                      "--disallow-exit", "--load=module-native-protocol-unix",
                                      "--load=module-null-sink sink_name=sorvala_null_sink"});
    };
    auto server = startServer();
    ASSERT_TRUE(waitUntil([] { return hasPulseAudio(); }));

    AppSound sound(log);
    const auto chimeReachesTheServer = [&] {
        const int before = sinkInputs();
        return sound.playSound("Glass", 0.25f) && waitUntil([&] { return sinkInputs() > before; }, 5000) &&
               waitUntil([&] { return !sound.isPlaying(); });
    };
    const auto chimePlaysToItsEnd = [&] {
        return sound.playSound("Tink", 0.25f) && waitUntil([&] { return !sound.isPlaying(); });
    };
    ASSERT_TRUE(chimeReachesTheServer());

    // The server crashes and a new one with the same devices takes its place.
    ::kill(static_cast<pid_t>(server->pid()), SIGKILL);
    server.reset();
    ASSERT_TRUE(waitUntil([] { return !hasPulseAudio(); }));
    ASSERT_TRUE(chimePlaysToItsEnd()); // unheard, and said so once
    EXPECT_TRUE(sound.unheard());
    ASSERT_TRUE(chimePlaysToItsEnd());
    server = startServer();
    ASSERT_TRUE(waitUntil([] { return hasPulseAudio(); }));

    EXPECT_TRUE(chimeReachesTheServer()) << "the next chime did not reach the restarted server";
    ASSERT_TRUE(chimePlaysToItsEnd());
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"sound server unreachable: chimes stay silent until it is back",
                                        "sound server reachable again: chimes sound"}));
}
