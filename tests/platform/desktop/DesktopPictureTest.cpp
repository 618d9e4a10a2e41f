// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopPicture.h"

#include "platform/desktop/GSettingsText.h"
#include "support/TemporaryDirectory.h"

#include "SessionSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace sorvala;
using namespace sorvala::test;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;
using Way = LinuxDesktopPicture::Way;

namespace {

LinuxDesktopPicture picture(std::vector<std::string> desktops, int displays = 2) {
    return LinuxDesktopPicture({LinuxSession::Type::x11, std::move(desktops)}, QDBusConnection::sessionBus(),
                               3000, [displays] { return displays; });
}

/// "2/3" for a picture set on two of three displays, then ": " and the first failure if any.
std::string summary(const std::optional<DesktopPicture::Outcome>& outcome) {
    if (!outcome)
        return "no way";
    const auto counts = std::to_string(outcome->successes()) + "/" + std::to_string(outcome->displays);
    return outcome->failures.empty() ? counts : counts + ": " + outcome->failures.front();
}

using DesktopPictureOnBus = WithFakesOnTheBus;

} // namespace

TEST(DesktopPictureWay, FollowsTheDesktop) {
    const std::pair<std::vector<std::string>, Way> cases[] = {
        {{"ubuntu", "GNOME"}, Way::gnome},
        {{"X-Cinnamon"}, Way::cinnamon},
        {{"MATE"}, Way::mate},
        {{"KDE"}, Way::plasma},
        {{"XFCE"}, Way::xfce},
        {{"openbox"}, Way::none},
    };
    for (const auto& [desktops, way] : cases) {
        SCOPED_TRACE(desktops.back());
        EXPECT_EQ(desktopPictureWay({LinuxSession::Type::x11, desktops}), way);
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
    EXPECT_EQ(summary(gnome.set(file)), "3/3"); // one picture for every display
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
        EXPECT_THAT(summary(picture({"ubuntu", "GNOME"}, 2).set("/tmp/x.png")),
                    AllOf(StartsWith("0/2: "), HasSubstr("picture-uri did not reach the settings store")));
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
    EXPECT_THAT(
        summary(picture({"MATE"}, 2).set("/tmp/x.png")),
        AllOf(StartsWith("0/2: "), HasSubstr("org.mate.background picture-filename is not installed")));
}

TEST_F(DesktopPictureOnBus, PlasmaGetsOneScriptOverEveryDesktopAndOnlyItsCountIsSuccess) {
    DBusMock plasma("org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell");
    ASSERT_TRUE(plasma.isUp());
    plasma.addMethod(
        "evaluateScript", "s", "s",
        "ret = '2/3' if 'writeConfig' in args[0] else 'file:///home/u/a%20b.png\\n/home/u/c.png\\n\\n'");
    auto kde = picture({"KDE"});
    EXPECT_THAT(summary(kde.set("/home/u/it's \"here\".png")), StartsWith("2/3"));
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
    EXPECT_THAT(summary(kde.set("/home/u/a.png")), ::testing::MatchesRegex("0/[1-9].*"));

    plasma.stop();
    EXPECT_THAT(summary(kde.set("/x.png")), StartsWith("0/"));
}
