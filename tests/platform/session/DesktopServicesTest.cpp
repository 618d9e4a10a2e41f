// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopServices.h"

#include "sensing/DoNotDisturb.h"

#include "SessionSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace sorvala;
using namespace sorvala::test;

namespace {

// The fakes live on the private session bus; it stands in for the system bus too.
DesktopServices services(std::vector<std::string> desktops, int timeoutMs = 2000) {
    return DesktopServices({LinuxSession::Type::x11, std::move(desktops)}, QDBusConnection::sessionBus(),
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

TEST_F(DesktopServicesOnBus, IdleInhibitorsComeFromEachDesktopsSessionService) {
    DBusMock gnome("org.gnome.SessionManager", "/org/gnome/SessionManager");
    DBusMock plasma("org.kde.Solid.PowerManagement.PolicyAgent",
                    "/org/kde/Solid/PowerManagement/PolicyAgent");
    ASSERT_TRUE(gnome.isUp() && plasma.isUp());
    auto desktop = services({"ubuntu", "GNOME"});
    EXPECT_EQ(desktop.inhibitorSources(), (std::vector<std::string>{"gnome-session", "logind"}));

    gnome.addMethod("IsInhibited", "u", "b", "ret = False");
    EXPECT_EQ(desktop.idleInhibitorCounts(), (std::map<std::string, int>{{"gnome-session", 0}}));
    // Inhibited only for the idle flag (8): asking with another flag would miss players.
    gnome.addMethod("IsInhibited", "u", "b", "ret = args[0] == 8");
    EXPECT_EQ(desktop.idleInhibitorCounts(), (std::map<std::string, int>{{"gnome-session", 1}}));
    // Plasma's agent is asked for screen inhibitions (4).
    plasma.addMethod("HasInhibition", "u", "b", "ret = args[0] == 4");
    EXPECT_EQ(services({"KDE"}).idleInhibitorCounts(), (std::map<std::string, int>{{"plasma", 1}}));
}

TEST_F(DesktopServicesOnBus, LogindCountsOtherProgramsBlockingIdle) {
    DBusMock logind("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager");
    ASSERT_TRUE(logind.isUp());
    const QString uid = QString::number(getuid());
    // Which inhibitors count is the sensing rule's; here only that ours is told apart by its pid.
    logind.addMethod("ListInhibitors", "", "a(ssssuu)",
                     QStringLiteral("ret = [('idle', 'Sorvala', 'break', 'block', %1, %2), "
                                    "('sleep:idle', 'mpv', 'Playing', 'block', %1, 4242)]")
                         .arg(uid, QString::number(getpid())));
    EXPECT_EQ(services({}).idleInhibitorCounts(), (std::map<std::string, int>{{"logind", 1}}));
}

TEST_F(DesktopServicesOnBus, DoNotDisturbFollowsTheNotificationServer) {
    DBusMock server("org.freedesktop.Notifications", "/org/freedesktop/Notifications");
    ASSERT_TRUE(server.isUp());
    const auto serverNamed = [&](const char* name) {
        server.addMethod("GetServerInformation", "", "ssss",
                         QStringLiteral("ret = ('%1', 'v', '1', '1.2')").arg(name));
    };
    const auto dndOn = [](auto&& desktop) {
        return DoNotDisturb::doNotDisturbOn(desktop.doNotDisturbReadings());
    };
    auto desktop = services({});
    serverNamed("Plasma");
    server.setProperty("Inhibited", true);
    EXPECT_EQ(desktop.notificationServerName(), "Plasma");
    EXPECT_TRUE(dndOn(desktop));
    server.setProperty("Inhibited", false);
    EXPECT_FALSE(dndOn(desktop));

    serverNamed("dunst");
    server.setProperty("paused", true, "org.dunstproject.cmd0");
    EXPECT_TRUE(dndOn(desktop));

    // A server without a known switch gives no reading at all.
    serverNamed("some-notifier");
    EXPECT_TRUE(desktop.doNotDisturbReadings().empty());

    // Xfce's switch lives in xfconf.
    serverNamed("Xfce Notify Daemon");
    DBusMock xfconf("org.xfce.Xfconf", "/org/xfce/Xfconf");
    ASSERT_TRUE(xfconf.isUp());
    xfconf.addMethod("GetProperty", "ss", "v",
                     "ret = dbus.Boolean(args[0] == 'xfce4-notifyd' and args[1] == '/do-not-disturb', "
                     "variant_level=1)");
    EXPECT_TRUE(dndOn(services({"XFCE"})));
}

TEST_F(DesktopServicesOnBus, MutterIdleTimeAndPowerSaveMode) {
    DBusMock idle("org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core");
    DBusMock display("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig");
    ASSERT_TRUE(idle.isUp() && display.isUp());
    idle.addMethod("GetIdletime", "", "t", "ret = 90500");
    display.setProperty("PowerSaveMode", 3);
    auto desktop = services({"GNOME"});
    EXPECT_EQ(desktop.mutterIdleSeconds(), 90.5);
    EXPECT_EQ(desktop.mutterPowerSaveMode(), 3);
}

TEST_F(DesktopServicesOnBus, LockGoesToTheFirstLockerThatIsThere) {
    auto desktop = services({});
    {
        DBusMock gnome("org.gnome.ScreenSaver", "/org/gnome/ScreenSaver");
        DBusMock freedesktop("org.freedesktop.ScreenSaver", "/ScreenSaver");
        ASSERT_TRUE(gnome.isUp() && freedesktop.isUp());
        gnome.addMethod("Lock", "", "", "");
        freedesktop.addMethod("Lock", "", "", "");
        // GNOME owns both names but refuses Lock on the freedesktop one.
        EXPECT_EQ(desktop.lockerChoice(), "gnome-screensaver");
        desktop.lockScreen();
        EXPECT_TRUE(waitUntil([&] { return gnome.callCount("Lock") == 1; }));
        EXPECT_EQ(freedesktop.callCount("Lock"), 0);

        gnome.stop();
        desktop.lockScreen();
        EXPECT_TRUE(waitUntil([&] { return freedesktop.callCount("Lock") == 1; }));
    }
    DBusMock session("org.freedesktop.login1", "/org/freedesktop/login1/session/auto",
                     "org.freedesktop.login1.Session");
    ASSERT_TRUE(session.isUp());
    session.addMethod("Lock", "", "", "");
    EXPECT_EQ(desktop.lockerChoice(), "logind");
    desktop.lockScreen();
    EXPECT_TRUE(waitUntil([&] { return session.callCount("Lock") == 1; }));
}

TEST_F(DesktopServicesOnBus, AHungServiceCostsOneShortTimeoutThenRests) {
    DBusMock gnome("org.gnome.SessionManager", "/org/gnome/SessionManager");
    ASSERT_TRUE(gnome.isUp());
    gnome.addMethod("IsInhibited", "u", "b", "time.sleep(1); ret = True");
    auto desktop = services({"GNOME"}, 50);
    EXPECT_TRUE(desktop.idleInhibitorCounts().empty()); // timed out: harmless answer
    EXPECT_TRUE(desktop.idleInhibitorCounts().empty());
    // The second reading left the hung service alone.
    EXPECT_EQ(gnome.callCount("IsInhibited"), 1);
}
