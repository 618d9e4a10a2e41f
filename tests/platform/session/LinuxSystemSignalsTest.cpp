// SPDX-License-Identifier: MIT
#include "platform/LinuxSystemSignals.h"
#include "platform/desktop/PipeWireScreenCapture.h"

#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"

#include "SessionSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    LinuxSignalsOptions options;
    options.session = LinuxSession{LinuxSession::Type::wayland, {"sway"}};
    options.pwDump = QString(); // no PipeWire here
    QTemporaryDir empty;
    options.drmRoot = empty.path().toStdString();
    auto probes = makeLinuxSystemSignals(log, options);

    EXPECT_EQ(choice(*probes, "idle"), "none");
    EXPECT_EQ(choice(*probes, "keyDown"), "none");
    EXPECT_EQ(choice(*probes, "frontmostApp"), "none");
    EXPECT_EQ(probes->secondsSinceLastInput(), 0.0);            // harmless: present
    EXPECT_EQ(probes->secondsSinceLastKeyDown(), std::nullopt); // "not typing", not the idle time
    EXPECT_EQ(probes->frontmostApplicationBundleIdentifier(), std::nullopt);
    EXPECT_FALSE(probes->frontmostApplicationIsFullscreen());
    EXPECT_FALSE(probes->displayIsAsleep());
    EXPECT_FALSE(probes->everyDisplayIsAsleep());
}

TEST(LinuxSystemSignals, DisplaysSleepWhenEveryDrivenConnectorIsOff) {
    RecordingLogger log;
    LinuxSignalsOptions options;
    options.session = LinuxSession{LinuxSession::Type::wayland, {"sway"}};
    options.pwDump = QString();
    options.drmRoot = SORVALA_TEST_DATA_DIR "/sensing/drm-docked-asleep";
    auto docked = makeLinuxSystemSignals(log, options);
    EXPECT_EQ(choice(*docked, "display"), "drm-sysfs");
    EXPECT_TRUE(docked->everyDisplayIsAsleep());
    EXPECT_TRUE(docked->displayIsAsleep());

    options.drmRoot = SORVALA_TEST_DATA_DIR "/sensing/drm-one-awake";
    auto oneAwake = makeLinuxSystemSignals(log, options);
    EXPECT_FALSE(oneAwake->everyDisplayIsAsleep());
    EXPECT_FALSE(oneAwake->displayIsAsleep());
}

TEST(LinuxSystemSignals, ScreencastsAreReadFromPipeWireInTheBackground) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString graph = dir.filePath(QStringLiteral("graph.json"));
    const QString program = dir.filePath(QStringLiteral("pw-dump"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n[ -e '" + dir.filePath(QStringLiteral("hang")).toUtf8() + "' ] && exec sleep 60\nexec cat '" +
                 graph.toUtf8() + "'\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    auto useGraph = [&](const char* fixture) {
        QFile::remove(graph);
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(SORVALA_TEST_DATA_DIR "/sensing/") + QLatin1String(fixture), graph));
    };

    PipeWireScreenCapture capture(program, std::chrono::milliseconds(0));
    useGraph("pw-dump-screencast.json");
    EXPECT_FALSE(capture.screenCaptured()); // nothing read yet: the harmless answer, at once
    EXPECT_TRUE(waitUntil([&] { return capture.screenCaptured(); }));
    useGraph("pw-dump-camera-on.json");
    EXPECT_TRUE(waitUntil([&] { return !capture.screenCaptured(); }));

    // A run that hangs is killed at its deadline, and the last answer does not outlive it.
    PipeWireScreenCapture hanging(program, std::chrono::milliseconds(0), std::chrono::milliseconds(300));
    useGraph("pw-dump-screencast.json");
    EXPECT_TRUE(waitUntil([&] { return hanging.screenCaptured(); }));
    QFile hang(dir.filePath(QStringLiteral("hang")));
    ASSERT_TRUE(hang.open(QIODevice::WriteOnly));
    hang.close();
    EXPECT_TRUE(waitUntil([&] { return !hanging.screenCaptured(); })) << "a hung pw-dump kept the old answer";
    QFile::remove(hang.fileName());
    EXPECT_TRUE(waitUntil([&] { return hanging.screenCaptured(); })) << "the next run after the kill reads again";

    // A broken program is no screencast.
    PipeWireScreenCapture broken(dir.filePath(QStringLiteral("missing")), std::chrono::milliseconds(0));
    broken.screenCaptured();
    QCoreApplication::processEvents();
    EXPECT_FALSE(broken.screenCaptured());
}

TEST(LinuxSystemSignals, WithoutASoundServerTheMicrophoneIsReadFromAlsa) {
    RecordingLogger log;
    LinuxSignalsOptions options;
    options.session = LinuxSession{LinuxSession::Type::unknown, {}};
    options.procAsound = SORVALA_TEST_DATA_DIR "/sensing/asound-capture-running";
    auto probes = [&] {
        const ScopedEnvironment pulse("PULSE_SERVER", "unix:/nonexistent/sorvala-no-server");
        return makeLinuxSystemSignals(log, options);
    }();

    ASSERT_TRUE(waitUntil([&] { return choice(*probes, "microphone") == "alsa-proc"; }));
    EXPECT_TRUE(probes->microphoneInUse());
}

TEST(LinuxSystemSignals, CalendarSourcesAnswerThroughThePort) {
    RecordingLogger log;
    LinuxSignalsOptions options;
    options.session = LinuxSession{LinuxSession::Type::unknown, {}};
    options.calendarWaitsForReading = true;
    auto probes = makeLinuxSystemSignals(log, options);
    const std::string dir = SORVALA_TEST_DATA_DIR "/platform/calendar/";
    const std::vector<std::string> sources = {dir + "missing.ics", dir + "single.ics"};

    EXPECT_TRUE(probes->calendarAccessGranted(sources));
    EXPECT_FALSE(probes->calendarAccessGranted({dir + "missing.ics"}));
    EXPECT_FALSE(probes->calendarAccessGranted({}));
    EXPECT_TRUE(probes->calendarEventInProgress(sources, *parseIso8601("2026-01-05T15:10:00Z")));
    EXPECT_FALSE(probes->calendarEventInProgress(sources, *parseIso8601("2026-01-05T11:00:00Z")));
    EXPECT_FALSE(probes->calendarEventInProgress({}, *parseIso8601("2026-01-05T15:10:00Z")));
}
