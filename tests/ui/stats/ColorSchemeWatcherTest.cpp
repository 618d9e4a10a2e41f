// SPDX-License-Identifier: MIT
#include "ui/style/ColorSchemeWatcher.h"

#include "ui/style/DesktopAnimations.h"

#include "support/WidgetTestSupport.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

// GIO names a struct member "signals", which Qt defines as a keyword.
#undef signals
#include <gio/gio.h>

namespace sorvala {
namespace {

using Appearance = DesignTokens::Appearance;

TEST(ColorSchemeWatcher, DesktopValuesToAppearances) {
    // The portal answers a variant inside a variant; its signal gives the value itself.
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant::fromValue(QDBusVariant(QVariant(1u)))),
              Appearance::dark);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(2u)), Appearance::light);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(0u)), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(QStringLiteral("dark"))), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("prefer-dark"), Appearance::dark);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("prefer-light"), Appearance::light);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("default"), std::nullopt);
    // As the gsettings tool prints them.
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("'prefer-dark'\n"), Appearance::dark);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("'default'\n"), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("'"), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue(""), std::nullopt);
    // The animations switch: a boolean, from the portal or as the tool prints it.
    EXPECT_EQ(ColorSchemeWatcher::fromPortalBoolean(QVariant::fromValue(QDBusVariant(QVariant(false)))),
              false);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalBoolean(QVariant(true)), true);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalBoolean(QVariant(0u)), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeBoolean("false\n"), false);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeBoolean("true"), true);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeBoolean("'false'"), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeBoolean(""), std::nullopt);
}

TEST(ColorSchemeWatcher, KeysFoundInGnomesListing) {
    const std::string_view listing = "org.gnome.desktop.interface clock-format '24h'\n"
                                     "org.gnome.desktop.interface color-scheme 'prefer-dark'\n"
                                     "org.gnome.desktop.interface enable-animations false\n"
                                     "org.gnome.desktop.interface gtk-color-scheme ''\n";
    EXPECT_EQ(ColorSchemeWatcher::gnomeListedValue(listing, "color-scheme"), "'prefer-dark'");
    EXPECT_EQ(ColorSchemeWatcher::gnomeListedValue(listing, "enable-animations"), "false");
    // A key whose name ends another's or begins it is not taken for it; a missing one is empty.
    EXPECT_EQ(ColorSchemeWatcher::gnomeListedValue(listing, "scheme"), "");
    EXPECT_EQ(ColorSchemeWatcher::gnomeListedValue(listing, "clock"), "");
    EXPECT_EQ(
        ColorSchemeWatcher::gnomeListedValue("org.gnome.desktop.interface color-scheme", "color-scheme"), "");
    EXPECT_EQ(ColorSchemeWatcher::gnomeListedValue("", "color-scheme"), "");
}

TEST(ColorSchemeWatcher, DconfNoticesThatCoverGnomesKeys) {
    const auto covers = [](const char* prefix, QStringList keys) {
        return ColorSchemeWatcher::dconfNoticeCoversGnomeKeys(QString::fromLatin1(prefix), keys);
    };
    // One key written: its path and one empty key.
    EXPECT_TRUE(covers("/org/gnome/desktop/interface/color-scheme", {""}));
    EXPECT_TRUE(covers("/org/gnome/desktop/interface/enable-animations", {""}));
    EXPECT_FALSE(covers("/org/gnome/desktop/interface/gtk-theme", {""}));
    EXPECT_FALSE(covers("/org/gnome/desktop/interface/color-scheme-extra", {""}));
    // Several keys at once: their folder and the paths below it.
    EXPECT_TRUE(covers("/org/gnome/desktop/interface/", {"gtk-theme", "color-scheme"}));
    EXPECT_TRUE(covers("/org/gnome/desktop/interface/", {"enable-animations", "icon-theme"}));
    EXPECT_FALSE(covers("/org/gnome/desktop/interface/", {"gtk-theme", "icon-theme"}));
    EXPECT_TRUE(covers("/org/gnome/desktop/", {"wm/preferences/theme", "interface/"}));
    // A folder reset as a whole covers every key below it; a name that merely begins alike does not.
    EXPECT_TRUE(covers("/org/gnome/", {""}));
    EXPECT_TRUE(covers("/", {}));
    EXPECT_FALSE(covers("/org/gnome/desktop/inter", {""}));
    EXPECT_FALSE(covers("/org/gnome/desktop/interface", {""}));
}

bool windowIsDark() {
    return QApplication::palette().color(QPalette::Window).lightness() < 128;
}

TEST(ColorSchemeWatcher, FollowsGnomesKeyTheMomentItChanges) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE) : nullptr;
    if (!schema || !g_settings_schema_has_key(schema, "color-scheme"))
        GTEST_SKIP() << "GNOME's interface settings are not installed";
    g_settings_schema_unref(schema);
    if (qEnvironmentVariableIsSet("SORVALA_APPEARANCE"))
        GTEST_SKIP() << "SORVALA_APPEARANCE decides the appearance here";
    if (!qEnvironmentVariableIsEmpty("GSETTINGS_BACKEND") && qgetenv("GSETTINGS_BACKEND") != "dconf")
        GTEST_SKIP() << "GSettings writes elsewhere than dconf here";
    // The test session starts no service by itself: dconf's, which announces every write, is
    // started here as a desktop session would.
    const QString dconfService = QStringLiteral("/usr/libexec/dconf-service");
    auto* bus = QDBusConnection::sessionBus().interface();
    const auto dconfRunning = [bus] {
        return bus && bus->isServiceRegistered(QStringLiteral("ca.desrt.dconf")).value();
    };
    QProcess dconf;
    if (!dconfRunning()) {
        if (!QFileInfo(dconfService).isExecutable())
            GTEST_SKIP() << "dconf's service is not installed";
        dconf.start(dconfService, {});
        ASSERT_TRUE(waitFor(dconfRunning)) << "dconf's service did not come up";
    }

    GSettings* desktop = g_settings_new("org.gnome.desktop.interface");
    g_settings_set_string(desktop, "color-scheme", "prefer-light");
    auto* watcher = new ColorSchemeWatcher(*qApp);
    const auto turns = [](bool dark) { return waitFor([&] { return windowIsDark() == dark; }); };
    EXPECT_TRUE(turns(false));
    // No polling: the change itself reaches the watcher through the event loop.
    g_settings_set_string(desktop, "color-scheme", "prefer-dark");
    EXPECT_TRUE(turns(true));
    g_settings_set_string(desktop, "color-scheme", "prefer-light");
    EXPECT_TRUE(turns(false));
    // The animations switch is followed alongside.
    g_settings_set_boolean(desktop, "enable-animations", FALSE);
    EXPECT_TRUE(waitFor([] { return DesktopAnimations::off(); }));
    g_settings_set_boolean(desktop, "enable-animations", TRUE);
    EXPECT_TRUE(waitFor([] { return !DesktopAnimations::off(); }));
    g_settings_set_boolean(desktop, "enable-animations", FALSE);
    EXPECT_TRUE(waitFor([] { return DesktopAnimations::off(); }));

    delete watcher;
    EXPECT_FALSE(DesktopAnimations::off()) << "without a watcher the desktop states no wish";
    g_settings_reset(desktop, "enable-animations");
    g_settings_reset(desktop, "color-scheme");
    g_settings_sync();
    g_object_unref(desktop);
    dconf.terminate();
    dconf.waitForFinished();
}

TEST(ColorSchemeWatcher, FollowsThePortalsAnswerOnceItArrives) {
    if (qEnvironmentVariableIsSet("SORVALA_APPEARANCE"))
        GTEST_SKIP() << "SORVALA_APPEARANCE decides the appearance here";
    // A bus of its own, so no other test meets the stand-in portal on the session's bus.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted())
        GTEST_SKIP() << "dbus-daemon is not installed";
    ASSERT_TRUE(waitFor([&] { return daemon.canReadLine(); }));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("portal-test"));
    QProcess portal;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    portal.setProcessEnvironment(environment);
    portal.start(QStringLiteral(SORVALA_TEST_DATA_DIR "/platform/fake-settings-portal.py"),
                 {QStringLiteral("1"), QStringLiteral("false")});
    ASSERT_TRUE(waitFor([&] {
        return bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop")).value();
    })) << "the stand-in portal did not come up";

    const QPalette before = QApplication::palette();
    ASSERT_FALSE(windowIsDark());
    auto* watcher = new ColorSchemeWatcher(*qApp, bus);
    EXPECT_FALSE(windowIsDark()) << "the start waits for no answer";
    EXPECT_TRUE(waitFor([] { return windowIsDark(); })) << "the portal's dark wish is followed";
    EXPECT_EQ(watcher->preference(), Appearance::dark);
    EXPECT_TRUE(waitFor([] { return DesktopAnimations::off(); }))
        << "the portal's animations switch is followed";

    delete watcher;
    EXPECT_FALSE(DesktopAnimations::off());
    QApplication::setPalette(before);
    portal.kill();
    portal.waitForFinished();
    QDBusConnection::disconnectFromBus(QStringLiteral("portal-test"));
    daemon.kill();
    daemon.waitForFinished();
}

} // namespace
} // namespace sorvala
