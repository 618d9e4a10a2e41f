// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopPicture.h"

#include "platform/desktop/GSettingsText.h"
#include "support/TemporaryDirectory.h"

#include "SessionSupport.h"

#include <QDBusConnectionInterface>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace sorvala;
using namespace sorvala::test;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
using Way = LinuxDesktopPicture::Way;

namespace {

LinuxDesktopPicture picture(std::vector<std::string> desktops, int displays = 2) {
    return LinuxDesktopPicture({LinuxSession::Type::x11, std::move(desktops)}, QDBusConnection::sessionBus(),
                               3000, [displays] { return displays; });
}

using DesktopPictureOnBus = WithFakesOnTheBus;

} // namespace

TEST(DesktopPictureWay, FollowsTheDesktop) {
    struct Case {
        std::vector<std::string> desktops;
        Way way;
    };
    const Case cases[] = {
        {{"ubuntu", "GNOME"}, Way::gnome},
        {{"X-Cinnamon"}, Way::cinnamon},
        {{"MATE"}, Way::mate},
        {{"KDE"}, Way::plasma},
        {{"XFCE"}, Way::xfce},
        {{"openbox"}, Way::none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktops.empty() ? "" : c.desktops.back());
        EXPECT_EQ(desktopPictureWay({LinuxSession::Type::x11, c.desktops}), c.way);
    }
    // No known way: nothing to set and nothing read.
    auto bare = picture({"openbox"});
    EXPECT_EQ(bare.set("/tmp/x.png"), std::nullopt);
    EXPECT_TRUE(bare.currentPictures().empty());
}

TEST(DesktopPictureGnome, WrittenToGSettingsAndReadBack) {
    if (!gsettingsHasKey("org.gnome.desktop.background", "picture-uri"))
        GTEST_SKIP() << "GNOME's background schema is not installed";
    TemporaryDirectory folder;
    const auto file = folder / "Sorvala 2026-12-05 19.23.07.png";
    auto gnome = picture({"ubuntu", "GNOME"}, 3);
    const auto outcome = gnome.set(file);
    ASSERT_TRUE(outcome.has_value());
    // One picture for every display.
    EXPECT_EQ(outcome->displays, 3);
    EXPECT_EQ(outcome->successes(), 3);
    const std::string uri = "file://" + folder.path().string() + "/Sorvala%202026-12-05%2019.23.07.png";
    EXPECT_EQ(gsettingsString("org.gnome.desktop.background", "picture-uri"), uri);
    EXPECT_EQ(gsettingsString("org.gnome.desktop.background", "picture-options"), "zoom");
    for (const auto& current : gnome.currentPictures())
        EXPECT_EQ(current, file);
    if (gsettingsHasKey("org.gnome.desktop.background", "picture-uri-dark")) {
        EXPECT_EQ(gsettingsString("org.gnome.desktop.background", "picture-uri-dark"), uri);
        EXPECT_EQ(gnome.currentPictures().size(), 2u);
    }
}

// A write no settings service takes (dconf with none on the bus) is taken back at the sync: the
// desktop picture did not change, whatever GSettings answered at first. Runs in a second process
// of this program, since a process keeps the backend it started with.
TEST(DesktopPictureGnome, AWriteTheSettingsServiceNeverTookIsAFailure) {
    if (!gsettingsHasKey("org.gnome.desktop.background", "picture-uri"))
        GTEST_SKIP() << "GNOME's background schema is not installed";
    if (std::getenv("SORVALA_TEST_GSETTINGS_BACKEND")) {
        const auto outcome = picture({"ubuntu", "GNOME"}, 2).set("/tmp/x.png");
        ASSERT_TRUE(outcome.has_value());
        EXPECT_EQ(outcome->successes(), 0);
        EXPECT_THAT(outcome->failures.at(0), HasSubstr("picture-uri did not reach the settings store"));
        return;
    }
    if (!hasSessionBus())
        GTEST_SKIP() << "no session bus";
    if (!std::filesystem::exists(GIO_MODULE_DIR "/libdconfsettings.so"))
        GTEST_SKIP() << "no dconf backend for GSettings";
    if (isOnTheBus("ca.desrt.dconf"))
        GTEST_SKIP() << "a settings service runs on this bus";
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SORVALA_TEST_GSETTINGS_BACKEND"), QStringLiteral("dconf"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QStringLiteral("/proc/self/exe"),
        {QStringLiteral("--gtest_filter=DesktopPictureGnome.AWriteTheSettingsServiceNeverTookIsAFailure")});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
}

TEST(DesktopPictureGnome, AMissingSchemaFailsEveryDisplay) {
    if (gsettingsHasKey("org.mate.background", "picture-filename"))
        GTEST_SKIP() << "MATE's background schema is installed";
    const auto outcome = picture({"MATE"}, 2).set("/tmp/x.png");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->successes(), 0);
    EXPECT_THAT(outcome->failures.at(0), HasSubstr("org.mate.background picture-filename is not installed"));
}

TEST_F(DesktopPictureOnBus, PlasmaGetsOneScriptOverEveryDesktopAndOnlyItsCountIsSuccess) {
    DBusMock plasma("org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell");
    ASSERT_TRUE(plasma.isUp());
    plasma.addMethod(
        "evaluateScript", "s", "s",
        "ret = '2/3' if 'writeConfig' in args[0] else 'file:///home/u/a%20b.png\\n/home/u/c.png\\n\\n'");
    auto kde = picture({"KDE"});
    const auto outcome = kde.set("/home/u/it's \"here\".png");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->displays, 3);
    EXPECT_EQ(outcome->successes(), 2);
    const auto calls = plasma.calls("evaluateScript");
    ASSERT_EQ(calls.size(), 1u);
    const std::string script = calls[0].at(0).toString().toStdString();
    EXPECT_THAT(script, HasSubstr("d.wallpaperPlugin = 'org.kde.image';"));
    // The quote in the name is escaped; it cannot end the string and run as script.
    EXPECT_THAT(script, HasSubstr("d.writeConfig('Image', 'file:///home/u/it\\'s%20%22here%22.png');"));
    EXPECT_THAT(kde.currentPictures(), UnorderedElementsAre(std::filesystem::path("/home/u/a b.png"),
                                                            std::filesystem::path("/home/u/c.png")));

    // An answer that counts nothing is no success.
    plasma.addMethod("evaluateScript", "s", "s", "ret = 'TypeError: d is null'");
    const auto failed = kde.set("/home/u/a.png");
    ASSERT_TRUE(failed.has_value());
    EXPECT_GE(failed->displays, 1);
    EXPECT_EQ(failed->successes(), 0);

    plasma.stop();
    const auto silent = kde.set("/x.png");
    ASSERT_TRUE(silent.has_value());
    EXPECT_EQ(silent->successes(), 0);
}

TEST_F(DesktopPictureOnBus, XfceSetsEveryMonitorAndWorkspace) {
    DBusMock xfconf("org.xfce.Xfconf", "/org/xfce/Xfconf");
    ASSERT_TRUE(xfconf.isUp());
    xfconf.addMethod(
        "GetAllProperties", "ss", "a{sv}",
        "ret = {"
        "'/backdrop/screen0/monitorHDMI-1/workspace0/last-image': dbus.String('/p/a.png', "
        "variant_level=1),"
        "'/backdrop/screen0/monitorHDMI-1/workspace1/last-image': dbus.String('/p/b.png', "
        "variant_level=1),"
        "'/backdrop/screen0/monitorDP-2/workspace0/last-image': dbus.String('/p/c.png', variant_level=1),"
        "'/backdrop/screen0/monitorDP-2/workspace0/image-style': dbus.Int32(5, variant_level=1)}");
    xfconf.addMethod("SetProperty", "ssv", "",
                     "if 'DP-2' in args[1]: raise dbus.exceptions.DBusException('locked by the "
                     "administrator', name='org.xfce.Xfconf.Error.PermissionDenied')");
    auto xfce = picture({"XFCE"});
    EXPECT_THAT(xfce.currentPictures(),
                UnorderedElementsAre(std::filesystem::path("/p/a.png"), std::filesystem::path("/p/b.png"),
                                     std::filesystem::path("/p/c.png")));
    const auto outcome = xfce.set("/g/new.png");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->displays, 2);
    EXPECT_EQ(outcome->successes(), 1);
    EXPECT_THAT(outcome->failures.at(0),
                HasSubstr("monitorDP-2/workspace0/last-image: locked by the administrator"));
    std::vector<std::string> sent;
    for (const auto& args : xfconf.calls("SetProperty")) {
        EXPECT_EQ(args.at(0).toString(), "xfce4-desktop");
        EXPECT_EQ(args.at(2).toString(), "/g/new.png");
        sent.push_back(args.at(1).toString().toStdString());
    }
    EXPECT_THAT(sent, UnorderedElementsAre("/backdrop/screen0/monitorHDMI-1/workspace0/last-image",
                                           "/backdrop/screen0/monitorHDMI-1/workspace1/last-image",
                                           "/backdrop/screen0/monitorDP-2/workspace0/last-image"));
}
