// SPDX-License-Identifier: MIT
#include "platform/LinuxSystemSignals.h"

#include "support/RecordingLogger.h"

#include "SessionSupport.h"

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

void writeConnector(const QString& root, const QString& name, const char* status, const char* enabled,
                    const char* dpms) {
    QDir().mkpath(root + QLatin1Char('/') + name);
    auto write = [&](const char* file, const char* text) {
        QFile out(root + QLatin1Char('/') + name + QLatin1Char('/') + QLatin1String(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
        out.write("\n");
    };
    write("status", status);
    write("enabled", enabled);
    write("dpms", dpms);
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
    EXPECT_TRUE(log.lines.front().starts_with("system signals chosen session=x11:openbox idle=x11-screensaver"));

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
    QTemporaryDir drm;
    ASSERT_TRUE(drm.isValid());
    writeConnector(drm.path(), QStringLiteral("card0-eDP-1"), "connected", "enabled", "Off");
    writeConnector(drm.path(), QStringLiteral("card0-HDMI-A-1"), "disconnected", "disabled", "On");
    QDir().mkpath(drm.path() + QStringLiteral("/card0"));

    RecordingLogger log;
    LinuxSignalsOptions options;
    options.session = LinuxSession{LinuxSession::Type::wayland, {"sway"}};
    options.pwDump = QString();
    options.drmRoot = drm.path().toStdString();
    auto probes = makeLinuxSystemSignals(log, options);
    EXPECT_EQ(choice(*probes, "display"), "drm-sysfs");
    EXPECT_TRUE(probes->everyDisplayIsAsleep());
    EXPECT_TRUE(probes->displayIsAsleep());

    writeConnector(drm.path(), QStringLiteral("card0-HDMI-A-1"), "connected", "enabled", "On");
    EXPECT_FALSE(probes->everyDisplayIsAsleep());
}

TEST(LinuxSystemSignals, CalendarSourcesAnswerThroughThePort) {
    RecordingLogger log;
    LinuxSignalsOptions options;
    options.session = LinuxSession{LinuxSession::Type::unknown, {}};
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
