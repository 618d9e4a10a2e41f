// SPDX-License-Identifier: MIT
#include "platform/LinuxSystemSignals.h"
#include "platform/desktop/PipeWireScreenCapture.h"

#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include "SessionSupport.h"

#include <gtest/gtest.h>

using namespace sorvala;
using namespace sorvala::test;

namespace {

std::string choice(SystemSignals& probes, const std::string& reading) {
    for (const auto& backend : probes.backends())
        if (backend.reading == reading)
            return backend.choice;
    return "(missing)";
}

LinuxSignalsOptions optionsFor(LinuxSession::Type type, std::vector<std::string> desktops = {}) {
    LinuxSignalsOptions options;
    options.session = LinuxSession{type, std::move(desktops)};
    options.pwDump = QString(); // no PipeWire here
    return options;
}

} // namespace

TEST(LinuxSystemSignals, AnX11SessionUsesTheXServerAndSaysSo) {
    if (!hasDisplay())
        GTEST_SKIP() << "no X display";
    RecordingLogger log;
    LinuxSignalsOptions options;
    options.session = LinuxSession{LinuxSession::Type::x11, {"openbox"}};
    auto probes = makeLinuxSystemSignals(log, options);

    EXPECT_EQ(choice(*probes, "session"), "x11:openbox");
    EXPECT_EQ(choice(*probes, "idle"), "x11-screensaver");
    EXPECT_EQ(choice(*probes, "keyDown"), "xinput2-raw-keys");
    EXPECT_EQ(choice(*probes, "frontmostApp"), "ewmh");
    EXPECT_EQ(choice(*probes, "video"), "logind");
    EXPECT_EQ(choice(*probes, "screenCapture"), "none"); // capture leaves no trace on X11
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_TRUE(
        log.lines.front().starts_with("system signals chosen session=x11:openbox idle=x11-screensaver"));

    EXPECT_GE(probes->secondsSinceLastInput(), 0.0);
    EXPECT_TRUE(probes->secondsSinceLastKeyDown().has_value());
    EXPECT_TRUE(probes->screenRecordingGranted());
    EXPECT_FALSE(probes->screenCaptured());
}

TEST(LinuxSystemSignals, AWaylandSessionNeverAsksTheXServer) {
    RecordingLogger log;
    auto probes = makeLinuxSystemSignals(log, optionsFor(LinuxSession::Type::wayland, {"sway"}));
    EXPECT_EQ(choice(*probes, "idle"), "none");
    EXPECT_EQ(choice(*probes, "keyDown"), "none");
    EXPECT_EQ(choice(*probes, "frontmostApp"), "none");
    EXPECT_EQ(probes->secondsSinceLastInput(), 0.0);            // harmless: present
    EXPECT_EQ(probes->secondsSinceLastKeyDown(), std::nullopt); // "not typing", not the idle time
    EXPECT_EQ(probes->frontmostApplicationBundleIdentifier(), std::nullopt);
    EXPECT_FALSE(probes->frontmostApplicationIsFullscreen());
}

// The connector trees themselves are read in the sensing tests; here only that the root reaches them.
TEST(LinuxSystemSignals, DisplaysAreReadFromTheGivenDrmRoot) {
    RecordingLogger log;
    auto options = optionsFor(LinuxSession::Type::wayland, {"sway"});
    options.drmRoot = SORVALA_TEST_DATA_DIR "/sensing/drm-docked-asleep";
    auto probes = makeLinuxSystemSignals(log, options);
    EXPECT_EQ(choice(*probes, "display"), "drm-sysfs");
    EXPECT_TRUE(probes->everyDisplayIsAsleep());
    EXPECT_TRUE(probes->displayIsAsleep());
}

TEST(LinuxSystemSignals, ScreencastsAreReadFromPipeWireInTheBackground) {
    TemporaryDirectory dir;
    const auto graph = dir / "graph.json";
    const auto program = dir / "pw-dump";
    writeFile(program, "#!/bin/sh\n[ -e '" + (dir / "hang").string() + "' ] && exec sleep 60\nexec cat '" +
                           graph.string() + "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const auto useGraph = [&](const char* fixture) {
        std::filesystem::copy_file(std::filesystem::path(SORVALA_TEST_DATA_DIR "/sensing") / fixture, graph,
                                   std::filesystem::copy_options::overwrite_existing);
    };
    const QString pwDump = QString::fromStdString(program.string());

    PipeWireScreenCapture capture(pwDump, std::chrono::milliseconds(0));
    useGraph("pw-dump-screencast.json");
    EXPECT_FALSE(capture.screenCaptured()); // nothing read yet: the harmless answer, at once
    EXPECT_TRUE(waitUntil([&] { return capture.screenCaptured(); }));
    useGraph("pw-dump-camera-on.json");
    EXPECT_TRUE(waitUntil([&] { return !capture.screenCaptured(); }));

    // A run that hangs is killed at its deadline, and the last answer does not outlive it.
    PipeWireScreenCapture hanging(pwDump, std::chrono::milliseconds(0), std::chrono::milliseconds(300));
    useGraph("pw-dump-screencast.json");
    EXPECT_TRUE(waitUntil([&] { return hanging.screenCaptured(); }));
    writeFile(dir / "hang", "");
    EXPECT_TRUE(waitUntil([&] { return !hanging.screenCaptured(); })) << "a hung pw-dump kept the old answer";
    std::filesystem::remove(dir / "hang");
    EXPECT_TRUE(waitUntil([&] { return hanging.screenCaptured(); }))
        << "the next run after the kill reads again";

    // A broken program is no screencast.
    PipeWireScreenCapture broken(QString::fromStdString((dir / "missing").string()),
                                 std::chrono::milliseconds(0));
    broken.screenCaptured();
    QCoreApplication::processEvents();
    EXPECT_FALSE(broken.screenCaptured());
}

TEST(LinuxSystemSignals, WithoutASoundServerTheMicrophoneIsReadFromAlsa) {
    RecordingLogger log;
    auto options = optionsFor(LinuxSession::Type::unknown);
    options.procAsound = SORVALA_TEST_DATA_DIR "/sensing/asound-capture-running";
    const ScopedEnvironment pulse("PULSE_SERVER", "unix:/nonexistent/sorvala-no-server");
    auto probes = makeLinuxSystemSignals(log, options);

    probes->microphoneInUse(); // the first question looks for the server
    ASSERT_TRUE(waitUntil([&] { return choice(*probes, "microphone") == "alsa-proc"; }));
    EXPECT_TRUE(probes->microphoneInUse());
}

TEST(LinuxSystemSignals, CalendarSourcesAnswerThroughThePort) {
    RecordingLogger log;
    auto options = optionsFor(LinuxSession::Type::unknown);
    options.calendarWaitsForReading = true;
    auto probes = makeLinuxSystemSignals(log, options);
    const std::string dir = SORVALA_TEST_DATA_DIR "/platform/calendar/";
    const std::vector<std::string> sources = {dir + "missing.ics", dir + "single.ics"};

    EXPECT_TRUE(probes->calendarAccessGranted(sources));
    EXPECT_FALSE(probes->calendarAccessGranted({dir + "missing.ics"}));
    EXPECT_TRUE(probes->calendarEventInProgress(sources, *parseIso8601("2026-01-05T15:10:00Z")));
    EXPECT_FALSE(probes->calendarEventInProgress(sources, *parseIso8601("2026-01-05T11:00:00Z")));
}
