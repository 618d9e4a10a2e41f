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

    EXPECT_EQ(choice(*probes, "keyDown"), "xinput2-raw-keys");
    EXPECT_EQ(choice(*probes, "frontmostApp"), "ewmh");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_TRUE(
        log.lines.front().starts_with("system signals chosen session=x11:openbox idle=x11-screensaver"));

    EXPECT_TRUE(probes->secondsSinceLastKeyDown().has_value());
    EXPECT_FALSE(probes->screenCaptured());
}

TEST(LinuxSystemSignals, AWaylandSessionNeverAsksTheXServer) {
    RecordingLogger log;
    auto probes = makeLinuxSystemSignals(log, optionsFor(LinuxSession::Type::wayland, {"sway"}));
    EXPECT_EQ(choice(*probes, "idle"), "none");
    EXPECT_EQ(probes->secondsSinceLastInput(), 0.0);            // harmless: present
    EXPECT_EQ(probes->secondsSinceLastKeyDown(), std::nullopt); // "not typing", not the idle time
    EXPECT_EQ(probes->frontmostApplicationBundleIdentifier(), std::nullopt);
    EXPECT_FALSE(probes->frontmostApplicationIsFullscreen());
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

    // What a graph means is the sensing tests'; here the reading runs beside the loop.
    PipeWireScreenCapture hanging(pwDump, std::chrono::milliseconds(0), std::chrono::milliseconds(300));
    useGraph("pw-dump-screencast.json");
    EXPECT_FALSE(hanging.screenCaptured()); // nothing read yet: the harmless answer, at once
    EXPECT_TRUE(waitUntil([&] { return hanging.screenCaptured(); }));
    // A run that hangs is killed at its deadline, and the last answer does not outlive it.
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

// What the files say is the sensing and calendar tests'; here only that each reader gets the place it
// is given: the DRM root, ALSA's status files when no sound server answers, the calendar files.
TEST(LinuxSystemSignals, EachReaderGetsItsGivenPlace) {
    RecordingLogger log;
    auto options = optionsFor(LinuxSession::Type::unknown);
    options.drmRoot = SORVALA_TEST_DATA_DIR "/sensing/drm-docked-asleep";
    options.procAsound = SORVALA_TEST_DATA_DIR "/sensing/asound-capture-running";
    options.calendarWaitsForReading = true;
    const ScopedEnvironment pulse("PULSE_SERVER", "unix:/nonexistent/sorvala-no-server");
    auto probes = makeLinuxSystemSignals(log, options);
    EXPECT_TRUE(probes->everyDisplayIsAsleep());

    probes->microphoneInUse(); // the first question looks for the server
    ASSERT_TRUE(waitUntil([&] { return choice(*probes, "microphone") == "alsa-proc"; }));
    EXPECT_TRUE(probes->microphoneInUse());

    const std::string calendar = SORVALA_TEST_DATA_DIR "/platform/calendar/single.ics";
    EXPECT_TRUE(probes->calendarAccessGranted({calendar}));
    EXPECT_TRUE(probes->calendarEventInProgress({calendar}, *parseIso8601("2026-01-05T15:10:00Z")));
}
