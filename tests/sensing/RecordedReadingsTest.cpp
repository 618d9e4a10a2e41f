// SPDX-License-Identifier: MIT
// The deciders behind every smart-pause cause and display sleep, fed with recorded output.
#include "core/Instant.h"
#include "sensing/CalendarPause.h"
#include "sensing/DisplaySleep.h"
#include "sensing/DoNotDisturb.h"
#include "sensing/FrontmostApplication.h"
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

TEST(DoNotDisturb, EachSourceSpeaksItsOwnWay) {
    using DoNotDisturb::Reading;
    using DoNotDisturb::Source;
    struct Case { Reading reading; bool on; };
    const Case cases[] = {
        {{Source::plasma, true, {}}, true},          {{Source::plasma, false, {}}, false},
        {{Source::gnome, false, {}}, true},          {{Source::gnome, true, {}}, false},
        {{Source::dunst, true, {}}, true},           {{Source::xfce, true, {}}, true},
        {{Source::cinnamon, false, {}}, true},       {{Source::cinnamon, true, {}}, false},
        {{Source::gnome, std::nullopt, {}}, false},  {{Source::plasma, std::nullopt, {}}, false},
        {{Source::mako, std::nullopt, DoNotDisturb::parseMakoModes("default\ndo-not-disturb\n")}, true},
        {{Source::mako, std::nullopt, DoNotDisturb::parseMakoModes("default\n")}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(text(c.reading.source)) +
                     (c.reading.flag ? (*c.reading.flag ? " true" : " false") : " unanswered"));
        EXPECT_EQ(DoNotDisturb::meansDoNotDisturb(c.reading), c.on);
    }
    EXPECT_FALSE(DoNotDisturb::doNotDisturbOn({}));
    EXPECT_TRUE(DoNotDisturb::doNotDisturbOn({{Source::gnome, true, {}}, {Source::dunst, true, {}}}));
}

TEST(FrontmostApplication, FullscreenByStateOrByFillingADisplay) {
    using FrontmostApplication::ActiveWindow;
    using FrontmostApplication::Rect;
    const std::vector<Rect> displays{{0, 0, 1920, 1080}, {1920, 0, 2560, 1440}};
    // Ids, WM_CLASS and types play no part here.
    const ActiveWindow video{{}, {}, {}, {}, 4410, {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_FULLSCREEN"},
                             {0, 0, 1920, 1080}};
    const ActiveWindow game{{}, {}, {}, {}, 5120, {}, {1920, 0, 2560, 1440}};
    const ActiveWindow editor{{}, {}, {}, {}, 6000,
                              {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"},
                              {0, 27, 1920, 1053}};

    EXPECT_TRUE(FrontmostApplication::isFullscreen(video, displays, 1));
    EXPECT_TRUE(FrontmostApplication::isFullscreen(game, displays, 1)) << "fills the second display";
    EXPECT_FALSE(FrontmostApplication::isFullscreen(editor, displays, 1)) << "maximised below a panel";
    EXPECT_FALSE(FrontmostApplication::isFullscreen(video, displays, 4410)) << "our own break window";
    EXPECT_FALSE(FrontmostApplication::isFullscreen(std::nullopt, displays, 1));
    EXPECT_FALSE(FrontmostApplication::isFullscreen(game, {}, 1));
}

TEST(FrontmostApplication, TheDesktopAndItsPanelsAreNeitherFrontmostNorFullscreen) {
    using FrontmostApplication::ActiveWindow;
    const std::vector<FrontmostApplication::Rect> displays{{0, 0, 1920, 1080}};
    for (const char* type : {"_NET_WM_WINDOW_TYPE_DESKTOP", "_NET_WM_WINDOW_TYPE_DOCK"}) {
        SCOPED_TRACE(type);
        ActiveWindow desktop{"org.xfce.xfdesktop", {}, "Xfdesktop", {}, 900, {}, {0, 0, 1920, 1080}, {type}};
        EXPECT_FALSE(FrontmostApplication::isFullscreen(desktop, displays, 1));
        EXPECT_EQ(FrontmostApplication::applicationId(desktop, {}, "", 1), std::nullopt);
        desktop.types = {"_NET_WM_WINDOW_TYPE_NORMAL"};
        EXPECT_TRUE(FrontmostApplication::isFullscreen(desktop, displays, 1)) << "an ordinary window filling it is";
    }
}

TEST(FrontmostApplication, IdFromTheFirstPropertyThatNamesOne) {
    using FrontmostApplication::ActiveWindow;
    const FrontmostApplication::DesktopEntries entries{{"firefox", "org.gnome.Terminal", "code", "gimp"},
                                                       {{"Code", "code"}}};
    const std::string terminalCgroup =
        "0::/user.slice/user-1000.slice/user@1000.service/app.slice/app-gnome-org.gnome.Terminal-3417.scope\n";
    struct Case { const char* name; ActiveWindow window; std::optional<std::string> id; };
    const Case cases[] = {
        {"GTK application id first", {"org.gnome.Nautilus", "firefox", "Firefox", "Navigator", 10, {}, {}},
         "org.gnome.Nautilus"},
        {"KDE desktop file, extension dropped", {std::nullopt, "/usr/share/applications/org.kde.dolphin.desktop",
         "dolphin", "dolphin", 10, {}, {}}, "org.kde.dolphin"},
        {"WM_CLASS through StartupWMClass", {std::nullopt, std::nullopt, "Code", "code", 10, {}, {}}, "code"},
        {"WM_CLASS ignoring case", {std::nullopt, std::nullopt, "Firefox", "Navigator", 10, {}, {}}, "firefox"},
        {"WM_CLASS name", {std::nullopt, std::nullopt, "Gimp-2.10", "gimp", 10, {}, {}}, "gimp"},
        {"cgroup last", {{}, {}, "Gnome-terminal", "gnome-terminal-server", 10, {}, {}}, "org.gnome.Terminal"},
        {"our own window", {"org.gnome.Nautilus", {}, {}, {}, 77, {}, {}}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FrontmostApplication::applicationId(c.window, entries, terminalCgroup, 77), c.id);
    }
    EXPECT_EQ(FrontmostApplication::applicationId(std::nullopt, entries, terminalCgroup, 77), std::nullopt);
}

TEST(FrontmostApplication, DesktopIdsFromRecordedCgroups) {
    int checked = 0;
    for (const auto& line : linesOf(readFile(dataDir + "cgroup-lines.txt"))) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto tab = line.find('\t');
        const std::string expected = line.substr(0, tab);
        SCOPED_TRACE(line);
        EXPECT_EQ(FrontmostApplication::desktopIdFromCgroup(line.substr(tab + 1)),
                  expected == "-" ? std::nullopt : std::optional(expected));
        ++checked;
    }
    EXPECT_EQ(checked, 8);
    // cgroup v1 lists one line per hierarchy; the unified one carries the unit.
    EXPECT_EQ(FrontmostApplication::desktopIdFromCgroup(
                  "12:cpuset:/\n1:name=systemd:/user.slice/user-1000.slice/user@1000.service/app.slice/"
                  "app-gnome-gimp-2410.scope\n0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
                  "app-gnome-gimp-2410.scope\n"),
              "gimp");
    EXPECT_EQ(FrontmostApplication::desktopIdFromCgroup(""), std::nullopt);
    EXPECT_EQ(FrontmostApplication::desktopIdFromUnit("app-.scope"), std::nullopt);
}

TEST(DisplaySleep, SysfsConnectorTrees) {
    const auto docked = DisplaySleep::readConnectors(dataDir + "drm-docked-asleep");
    ASSERT_EQ(docked.size(), 4u) << "card1 itself, renderD128 and version are no connectors";
    EXPECT_EQ(docked[0], (DisplaySleep::Connector{"card1-DP-1", "connected", "enabled", "Off"}));
    EXPECT_EQ(DisplaySleep::everyConnectorAsleep(docked), true) << "Off and Standby, the closed lid disabled";

    const auto oneAwake = DisplaySleep::readConnectors(dataDir + "drm-one-awake");
    EXPECT_EQ(oneAwake.size(), 3u);
    EXPECT_EQ(DisplaySleep::everyConnectorAsleep(oneAwake), false);

    EXPECT_TRUE(DisplaySleep::readConnectors(dataDir + "no-such-folder").empty());
    EXPECT_EQ(DisplaySleep::everyConnectorAsleep({}), std::nullopt) << "fall back to the main display";
    EXPECT_EQ(DisplaySleep::everyConnectorAsleep({{"card0-DP-1", "disconnected", "disabled", "Off"}}),
              std::nullopt);
    EXPECT_EQ(DisplaySleep::everyConnectorAsleep({{"card0-DP-1", "connected", "enabled", ""}}), false)
        << "an unreadable level reads awake";
}

TEST(DisplaySleep, DpmsAndCompositorAnswers) {
    EXPECT_FALSE(DisplaySleep::dpmsAsleep({false, true, 3})) << "no DPMS extension";
    EXPECT_FALSE(DisplaySleep::dpmsAsleep({true, false, 3})) << "DPMS switched off";
    EXPECT_FALSE(DisplaySleep::dpmsAsleep({true, true, 0}));
    EXPECT_TRUE(DisplaySleep::dpmsAsleep({true, true, 1}));
    EXPECT_FALSE(DisplaySleep::powerSaveModeAsleep(-1)) << "unknown";
    EXPECT_TRUE(DisplaySleep::powerSaveModeAsleep(3));
}

TEST(ScreenCaptureDetection, PwDumpFixtures) {
    struct Case { const char* file; std::size_t nodes; bool captured; };
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
    EXPECT_FALSE(MicrophoneDetection::microphoneInUse(sources, quiet, 1))
        << "a recording of the speakers and a level meter are no call";

    auto call = MicrophoneDetection::parseSourceOutputList(fixture("pactl-source-outputs-call.txt"));
    ASSERT_EQ(call.size(), 3u);
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
    struct Case { const char* now; bool inProgress; const char* why; };
    const Case cases[] = {
        {"2026-12-07T08:30:00Z", true, "the standup starts"},
        {"2026-12-07T08:44:59Z", true, "its last second"},
        {"2026-12-07T08:45:00Z", false, "the end is not in it"},
        {"2026-12-09T08:35:00Z", false, "the excluded standup, on an all-day offsite"},
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
