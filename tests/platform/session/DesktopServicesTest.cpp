// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopServices.h"
#include "platform/dbus/FreedesktopBannerCenter.h"

#include "sensing/DoNotDisturb.h"
#include "sensing/VideoDetection.h"
#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"

#include "SessionSupport.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace sorvala;
using namespace sorvala::test;

namespace {

const QString notifications = QStringLiteral("org.freedesktop.Notifications");
const QString notificationsPath = QStringLiteral("/org/freedesktop/Notifications");

LinuxSession session(std::vector<std::string> desktops) {
    return {LinuxSession::Type::x11, std::move(desktops)};
}

// The fakes live on the private session bus; it stands in for the system bus too.
DesktopServices services(std::vector<std::string> desktops, int timeoutMs = 2000) {
    return DesktopServices(session(std::move(desktops)), QDBusConnection::sessionBus(),
                           QDBusConnection::sessionBus(), timeoutMs);
}

using DesktopServicesOnBus = WithFakesOnTheBus;

} // namespace

TEST_F(DesktopServicesOnBus, NoServicesMeansNothingHeld) {
    auto desktop = services({"GNOME", "KDE", "XFCE"});
    EXPECT_TRUE(desktop.idleInhibitorCounts().empty());
    EXPECT_TRUE(desktop.doNotDisturbReadings().empty());
    EXPECT_EQ(desktop.mutterIdleSeconds(), std::nullopt);
    EXPECT_EQ(desktop.mutterPowerSaveMode(), std::nullopt);
    EXPECT_EQ(desktop.lockerChoice(), "logind");
    desktop.lockScreen(); // nobody listens: nothing happens
}

TEST_F(DesktopServicesOnBus, GnomeSessionIsAskedForIdleInhibitors) {
    DBusMock gnome(QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
                   QStringLiteral("org.gnome.SessionManager"));
    ASSERT_TRUE(gnome.isUp());
    auto desktop = services({"ubuntu", "GNOME"});
    EXPECT_EQ(desktop.inhibitorSources(), (std::vector<std::string>{"gnome-session", "logind"}));

    gnome.addMethod(QStringLiteral("org.gnome.SessionManager"), QStringLiteral("IsInhibited"),
                    QStringLiteral("u"), QStringLiteral("b"), QStringLiteral("ret = False"));
    EXPECT_EQ(desktop.idleInhibitorCounts(), (std::map<std::string, int>{{"gnome-session", 0}}));
    // Inhibited only for the idle flag (8): asking with another flag would miss players.
    gnome.addMethod(QStringLiteral("org.gnome.SessionManager"), QStringLiteral("IsInhibited"),
                    QStringLiteral("u"), QStringLiteral("b"), QStringLiteral("ret = args[0] == 8"));
    EXPECT_TRUE(VideoDetection::videoPlaying(desktop.idleInhibitorCounts()));
    // Another desktop never asks gnome-session.
    EXPECT_TRUE(services({"XFCE"}).idleInhibitorCounts().empty());
}

TEST_F(DesktopServicesOnBus, PlasmaPolicyAgentIsAskedForScreenInhibitions) {
    DBusMock plasma(QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent"),
                    QStringLiteral("/org/kde/Solid/PowerManagement/PolicyAgent"),
                    QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent"));
    ASSERT_TRUE(plasma.isUp());
    plasma.addMethod(QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent"),
                     QStringLiteral("HasInhibition"), QStringLiteral("u"), QStringLiteral("b"),
                     QStringLiteral("ret = args[0] == 4"));
    EXPECT_EQ(services({"KDE"}).idleInhibitorCounts(), (std::map<std::string, int>{{"plasma", 1}}));
}

TEST_F(DesktopServicesOnBus, LogindCountsOtherProgramsBlockingIdle) {
    DBusMock logind(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"));
    ASSERT_TRUE(logind.isUp());
    const QString uid = QString::number(getuid());
    const QString own = QString::number(getpid());
    logind.addMethod(QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("ListInhibitors"),
                     QString(), QStringLiteral("a(ssssuu)"),
                     QStringLiteral("ret = [('sleep', 'NetworkManager', 'x', 'delay', 0, 10), "
                                    "('idle', 'Sorvala', 'break', 'block', %1, %2)]")
                         .arg(uid, own));
    auto desktop = services({});
    EXPECT_EQ(desktop.idleInhibitorCounts(), (std::map<std::string, int>{{"logind", 0}}));

    logind.addMethod(QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("ListInhibitors"),
                     QString(), QStringLiteral("a(ssssuu)"),
                     QStringLiteral("ret = [('sleep:idle', 'mpv', 'Playing', 'block', %1, 4242)]").arg(uid));
    EXPECT_EQ(desktop.idleInhibitorCounts(), (std::map<std::string, int>{{"logind", 1}}));
}

TEST_F(DesktopServicesOnBus, DoNotDisturbFollowsTheNotificationServer) {
    DBusMock server(notifications, notificationsPath, notifications);
    ASSERT_TRUE(server.isUp());
    auto desktop = services({});
    auto serverNamed = [&](const char* name) {
        server.addMethod(notifications, QStringLiteral("GetServerInformation"), QString(),
                         QStringLiteral("ssss"),
                         QStringLiteral("ret = ('%1', 'vendor', '1.0', '1.2')").arg(QLatin1String(name)));
    };

    serverNamed("Plasma");
    server.setProperty(notifications, QStringLiteral("Inhibited"), true);
    EXPECT_EQ(desktop.notificationServerName(), "Plasma");
    EXPECT_TRUE(DoNotDisturb::doNotDisturbOn(desktop.doNotDisturbReadings()));
    server.setProperty(notifications, QStringLiteral("Inhibited"), false);
    EXPECT_FALSE(DoNotDisturb::doNotDisturbOn(desktop.doNotDisturbReadings()));

    serverNamed("dunst");
    server.setProperty(QStringLiteral("org.dunstproject.cmd0"), QStringLiteral("paused"), true);
    EXPECT_TRUE(DoNotDisturb::doNotDisturbOn(desktop.doNotDisturbReadings()));

    // A server without a known switch gives no reading at all.
    serverNamed("some-notifier");
    EXPECT_TRUE(desktop.doNotDisturbReadings().empty());
}

TEST_F(DesktopServicesOnBus, TheNextHeadsUpReachesARestartedNotificationService) {
    if (!hasProgram(QStringLiteral("dunst")) || !hasProgram(QStringLiteral("dunstctl")))
        GTEST_SKIP() << "no dunst";
    RecordingLogger log;
    FreedesktopBannerCenter center(log);
    center.refreshAuthorization(false);
    const auto onScreen = [] {
        return output(QStringLiteral("dunstctl"), {QStringLiteral("count"), QStringLiteral("displayed")}).trimmed();
    };
    const auto headsUpShown = [&] {
        EXPECT_TRUE(waitUntil([&] { return center.isAvailable() && !center.isRefreshing(); }));
        center.post(UserSignal::preBreak(true, 0, 3, std::nullopt, true));
        return waitUntil([&] { return onScreen() == "1"; }, 5000);
    };
    {
        Child dunst(QStringLiteral("dunst"), {});
        ASSERT_TRUE(waitUntil([] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(notifications).value(); }));
        ASSERT_TRUE(headsUpShown());
    }
    ASSERT_TRUE(waitUntil([&] { return !center.isAvailable(); }));
    Child dunst(QStringLiteral("dunst"), {});
    EXPECT_TRUE(headsUpShown()) << "the heads-up did not reach the restarted service";
}

TEST_F(DesktopServicesOnBus, XfceDoNotDisturbComesFromXfconf) {
    DBusMock server(notifications, notificationsPath, notifications);
    DBusMock xfconf(QStringLiteral("org.xfce.Xfconf"), QStringLiteral("/org/xfce/Xfconf"),
                    QStringLiteral("org.xfce.Xfconf"));
    ASSERT_TRUE(server.isUp() && xfconf.isUp());
    server.addMethod(notifications, QStringLiteral("GetServerInformation"), QString(), QStringLiteral("ssss"),
                     QStringLiteral("ret = ('Xfce Notify Daemon', 'Xfce', '0.8', '1.2')"));
    xfconf.addMethod(
        QStringLiteral("org.xfce.Xfconf"), QStringLiteral("GetProperty"), QStringLiteral("ss"),
        QStringLiteral("v"),
        QStringLiteral("ret = dbus.Boolean(args[0] == 'xfce4-notifyd' and args[1] == '/do-not-disturb', "
                       "variant_level=1)"));
    EXPECT_TRUE(DoNotDisturb::doNotDisturbOn(services({"XFCE"}).doNotDisturbReadings()));
}

TEST_F(DesktopServicesOnBus, GnomeDoNotDisturbComesFromGSettings) {
    // The keyfile backend reads $XDG_CONFIG_HOME/glib-2.0/settings/keyfile, a temp folder here.
    if (qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty())
        GTEST_SKIP() << "no private XDG_CONFIG_HOME";
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/glib-2.0/settings");
    QDir().mkpath(folder);
    QFile keyfile(folder + QStringLiteral("/keyfile"));
    ASSERT_TRUE(keyfile.open(QIODevice::WriteOnly));
    keyfile.write("[org/gnome/desktop/notifications]\nshow-banners=false\n");
    keyfile.close();
    const ScopedEnvironment backend("GSETTINGS_BACKEND", "keyfile");

    DBusMock server(notifications, notificationsPath, notifications);
    ASSERT_TRUE(server.isUp());
    server.addMethod(notifications, QStringLiteral("GetServerInformation"), QString(), QStringLiteral("ssss"),
                     QStringLiteral("ret = ('gnome-shell', 'GNOME', '43', '1.2')"));
    const auto readings = services({"GNOME"}).doNotDisturbReadings();
    ASSERT_EQ(readings.size(), 1u);
    if (!readings.front().flag)
        GTEST_SKIP() << "the GNOME notification schema is not installed";
    EXPECT_TRUE(DoNotDisturb::doNotDisturbOn(readings));
}

TEST_F(DesktopServicesOnBus, MutterIdleTimeAndPowerSaveMode) {
    DBusMock idle(QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                  QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                  QStringLiteral("org.gnome.Mutter.IdleMonitor"));
    DBusMock display(QStringLiteral("org.gnome.Mutter.DisplayConfig"),
                     QStringLiteral("/org/gnome/Mutter/DisplayConfig"),
                     QStringLiteral("org.gnome.Mutter.DisplayConfig"));
    ASSERT_TRUE(idle.isUp() && display.isUp());
    idle.addMethod(QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"), QString(),
                   QStringLiteral("t"), QStringLiteral("ret = 90500"));
    display.setProperty(QStringLiteral("org.gnome.Mutter.DisplayConfig"), QStringLiteral("PowerSaveMode"), 3);
    auto desktop = services({"GNOME"});
    EXPECT_EQ(desktop.mutterIdleSeconds(), 90.5);
    EXPECT_EQ(desktop.mutterPowerSaveMode(), 3);
}

TEST_F(DesktopServicesOnBus, LockGoesToTheFirstLockerThatIsThere) {
    auto desktop = services({});
    {
        DBusMock gnome(QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("/org/gnome/ScreenSaver"),
                       QStringLiteral("org.gnome.ScreenSaver"));
        DBusMock freedesktop(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/ScreenSaver"),
                             QStringLiteral("org.freedesktop.ScreenSaver"));
        ASSERT_TRUE(gnome.isUp() && freedesktop.isUp());
        gnome.addMethod(QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("Lock"), QString(), QString(),
                        QString());
        freedesktop.addMethod(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("Lock"),
                              QString(), QString(), QString());
        // GNOME owns both names but refuses Lock on the freedesktop one.
        EXPECT_EQ(desktop.lockerChoice(), "gnome-screensaver");
        desktop.lockScreen();
        EXPECT_TRUE(waitUntil([&] { return gnome.callCount(QStringLiteral("Lock")) == 1; }));
        EXPECT_EQ(freedesktop.callCount(QStringLiteral("Lock")), 0);

        gnome.stop();
        desktop.lockScreen();
        EXPECT_TRUE(waitUntil([&] { return freedesktop.callCount(QStringLiteral("Lock")) == 1; }));
    }
    DBusMock session(QStringLiteral("org.freedesktop.login1"),
                     QStringLiteral("/org/freedesktop/login1/session/auto"),
                     QStringLiteral("org.freedesktop.login1.Session"));
    ASSERT_TRUE(session.isUp());
    session.addMethod(QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Lock"), QString(),
                      QString(), QString());
    EXPECT_EQ(desktop.lockerChoice(), "logind");
    desktop.lockScreen();
    EXPECT_TRUE(waitUntil([&] { return session.callCount(QStringLiteral("Lock")) == 1; }));
}

TEST_F(DesktopServicesOnBus, AHungServiceCostsOneShortTimeoutThenRests) {
    DBusMock gnome(QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
                   QStringLiteral("org.gnome.SessionManager"));
    ASSERT_TRUE(gnome.isUp());
    gnome.addMethod(QStringLiteral("org.gnome.SessionManager"), QStringLiteral("IsInhibited"),
                    QStringLiteral("u"), QStringLiteral("b"), QStringLiteral("time.sleep(1); ret = True"));
    auto desktop = services({"GNOME"}, 50);
    EXPECT_TRUE(desktop.idleInhibitorCounts().empty()); // timed out: harmless answer
    EXPECT_TRUE(desktop.idleInhibitorCounts().empty());
    // The second reading left the hung service alone.
    EXPECT_EQ(gnome.callCount(QStringLiteral("IsInhibited")), 1);
}
