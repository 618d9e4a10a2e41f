// SPDX-License-Identifier: MIT
// The deciders behind the call, video, screen-capture and calendar causes, fed with recorded output.
#include "core/Instant.h"
#include "sensing/CalendarPause.h"
#include "sensing/MicrophoneDetection.h"
#include "sensing/ScreenCaptureDetection.h"
#include "sensing/VideoDetection.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sorvala {
namespace {

const std::string dataDir = SORVALA_TEST_DATA_DIR "/sensing/";

std::string fixture(const std::string& name) {
    const std::string text = readFile(dataDir + name);
    EXPECT_FALSE(text.empty()) << "missing fixture " << name;
    return text;
}

Instant at(const char* iso) {
    return *parseIso8601(iso);
}

TEST(ScreenCaptureDetection, PwDumpFixtures) {
    struct Case {
        const char* file;
        std::size_t nodes;
        bool captured;
    };
    const Case cases[] = {
        {"pw-dump-idle.json", 4, false},       // a capture stream nobody consumes, a camera
        {"pw-dump-screencast.json", 4, true},  // GNOME's screencast stream running
        {"pw-dump-camera-on.json", 3, false},  // only the camera streams; the capture node removed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto nodes = ScreenCaptureDetection::parsePwDump(fixture(c.file));
        ASSERT_TRUE(nodes);
        EXPECT_EQ(nodes->size(), c.nodes);
        EXPECT_EQ(ScreenCaptureDetection::screenCaptured(*nodes), c.captured);
    }
    const auto nodes = ScreenCaptureDetection::parsePwDump(fixture("pw-dump-screencast.json"));
    const auto camera = std::find_if(nodes->begin(), nodes->end(), [](const auto& n) { return n.id == 33; });
    ASSERT_NE(camera, nodes->end());
    EXPECT_EQ(camera->deviceApi, "v4l2");
    EXPECT_EQ(camera->state, "suspended");
}

TEST(ScreenCaptureDetection, DamagedDumpsReadAsNothing) {
    for (const char* text : {"", "{", "{\"id\": 1}", "42", "[1, \"x\", null]",
                             R"([{"id": -3, "type": "PipeWire:Interface:Node", "info": {"props": []}}])"}) {
        SCOPED_TRACE(text);
        const auto nodes = ScreenCaptureDetection::parsePwDump(text);
        EXPECT_FALSE(nodes && ScreenCaptureDetection::screenCaptured(*nodes));
    }
    EXPECT_FALSE(ScreenCaptureDetection::parsePwDump("not json"));
}

TEST(MicrophoneDetection, PactlFixtures) {
    const auto sources = MicrophoneDetection::parseSourceList(fixture("pactl-sources.txt"));
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0], (MicrophoneDetection::Source{0, "sorvala_null_sink.monitor", true}));
    EXPECT_EQ(sources[1], (MicrophoneDetection::Source{1, "sorvala_null_source", false}));

    const auto quiet = MicrophoneDetection::parseSourceOutputList(fixture("pactl-source-outputs-no-call.txt"));
    ASSERT_EQ(quiet.size(), 2u);
    EXPECT_EQ(quiet[1].applicationId, "org.PulseAudio.pavucontrol");
    EXPECT_FALSE(MicrophoneDetection::microphoneInUse(sources, quiet, 1))
        << "a recording of the speakers and a level meter are no call";

    auto call = MicrophoneDetection::parseSourceOutputList(fixture("pactl-source-outputs-call.txt"));
    ASSERT_EQ(call.size(), 3u);
    EXPECT_EQ(call[2].source, 1u);
    EXPECT_EQ(call[2].applicationName, "parecord");
    ASSERT_TRUE(call[2].processId);
    EXPECT_TRUE(MicrophoneDetection::microphoneInUse(sources, call, 1));
    EXPECT_FALSE(MicrophoneDetection::microphoneInUse(sources, call, *call[2].processId)) << "our own stream";
    call[2].corked = true;
    EXPECT_FALSE(MicrophoneDetection::microphoneInUse(sources, call, 1)) << "a paused recorder";
    call[2].corked = false;
    EXPECT_TRUE(MicrophoneDetection::microphoneInUse({}, call, 1)) << "an unknown source counts";
}

TEST(MicrophoneDetection, AlsaCaptureWithoutASoundServer) {
    EXPECT_TRUE(MicrophoneDetection::alsaCaptureRunning(dataDir + "asound-capture-running"));
    EXPECT_FALSE(MicrophoneDetection::alsaCaptureRunning(dataDir + "asound-idle")) << "only playback runs";
    EXPECT_FALSE(MicrophoneDetection::alsaCaptureRunning(dataDir + "no-such-folder"));
}

TEST(VideoDetection, AnyInhibitingServiceCounts) {
    EXPECT_FALSE(VideoDetection::videoPlaying({}));
    EXPECT_FALSE(VideoDetection::videoPlaying({{"gnome-session", 0}, {"logind", 0}}));
    EXPECT_TRUE(VideoDetection::videoPlaying({{"gnome-session", 0}, {"logind", 1}}));
}

TEST(VideoDetection, LogindInhibitorsOfOthersThatBlockIdle) {
    // Rows as `busctl call org.freedesktop.login1 ... ListInhibitors` lists them on a GNOME desktop.
    const std::vector<VideoDetection::LogindInhibitor> inhibitors{
        {"handle-power-key:handle-suspend-key:handle-hibernate-key", "GNOME Settings Daemon",
         "GNOME handling keypresses", "block", 1000, 1542},
        {"sleep", "GNOME Settings Daemon", "GNOME needs to lock the screen", "delay", 1000, 1542},
        {"sleep", "NetworkManager", "NetworkManager needs to turn off networks", "delay", 0, 811},
        {"idle", "Firefox", "video-playing", "block", 1000, 4410},
        {"sleep:idle", "Totem", "Playing a video", "block", 1000, 5120},
        {"idle", "Sorvala", "break", "block", 1000, 7000},
        {"idle", "Backup", "backup running", "delay", 1000, 6000},
        {"idle", "other user's player", "video-playing", "block", 1001, 9000},
        {"idleness", "not the idle lock", "x", "block", 1000, 9001},
    };
    EXPECT_EQ(VideoDetection::idleInhibitorCount(inhibitors, 1000, 7000), 2);
    EXPECT_EQ(VideoDetection::idleInhibitorCount(inhibitors, 1000, 4410), 2) << "our own pid is skipped";
    EXPECT_EQ(VideoDetection::idleInhibitorCount({}, 1000, 7000), 0);
}

TEST(CalendarPause, EventsOfAnIcsWeek) {
    std::vector<CalendarPause::Event> events;
    for (const auto& line : linesOf(fixture("calendar-week-occurrences.txt"))) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string start, end, kind;
        fields >> start >> end >> kind;
        events.push_back({at(start.c_str()), at(end.c_str()), kind == "all-day"});
    }
    ASSERT_EQ(events.size(), 8u);
    struct Case {
        const char* now;
        bool inProgress;
        const char* why;
    };
    const Case cases[] = {
        {"2026-12-07T08:30:00Z", true, "the standup starts"},
        {"2026-12-07T08:44:59Z", true, "its last second"},
        {"2026-12-07T08:45:00Z", false, "the end is not in it"},
        {"2026-12-07T12:29:59Z", true, "lunch, a DURATION event"},
        {"2026-12-09T08:35:00Z", false, "the excluded standup, on an all-day offsite"},
        {"2026-12-10T08:35:00Z", false, "the moved standup's old time"},
        {"2026-12-10T10:05:00Z", true, "the moved standup"},
        {"2026-12-11T15:00:00Z", false, "an event without an end never counts"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(CalendarPause::eventInProgress(events, at(c.now)), c.inProgress);
    }
}

} // namespace
} // namespace sorvala
