// SPDX-License-Identifier: MIT
#include "platform/desktop/LaunchAtLogin.h"

#include "menubar/AutostartEntry.h"

#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

void makeProgram(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    writeFile(path, "");
}

class LaunchAtLoginTest : public ::testing::Test {
protected:
    TemporaryDirectory home;
    RecordingLogger log;
};

// What an entry says (hidden, quoting) is the entry's own rule; here the file comes and goes.
TEST_F(LaunchAtLoginTest, ToggleWritesAndRemovesTheEntryAndAnEntryTheDesktopSwitchedOffCountsAsOff) {
    const auto entry = home / "config/autostart/sorvala.desktop";
    LaunchAtLogin launch(log, entry, "/usr/bin/sorvala");
    std::filesystem::create_directories(entry.parent_path());
    writeFile(entry, "[Desktop Entry]\nType=Application\nExec=/usr/bin/sorvala\nHidden=true\n");
    EXPECT_FALSE(launch.isEnabled());
    ASSERT_TRUE(launch.toggle());
    EXPECT_TRUE(launch.isEnabled());

    ASSERT_TRUE(launch.toggle());
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(LaunchAtLoginTest, AnEntryForAnotherProgramIsNotOursAndAMovedProgramIsFollowed) {
    const auto entry = home / "sorvala.desktop";
    const auto program = home / "new place/sorvala";
    makeProgram(program);
    makeProgram(home / "other/sorvala");
    LaunchAtLogin launch(log, entry, program.string());

    // Another install that still exists: not ticked here, and left alone.
    writeFile(entry, AutostartEntry::text((home / "other/sorvala").string()));
    EXPECT_FALSE(launch.isEnabled());
    EXPECT_FALSE(launch.followMovedProgram());
    EXPECT_EQ(AutostartEntry::program(readFile(entry)), (home / "other/sorvala").string());

    // This program, moved: the entry follows it.
    writeFile(entry, AutostartEntry::text((home / "old place/sorvala").string()));
    EXPECT_FALSE(launch.isEnabled());
    EXPECT_TRUE(launch.followMovedProgram());
    EXPECT_TRUE(launch.isEnabled());
    EXPECT_EQ(AutostartEntry::program(readFile(entry)), program.string());
    EXPECT_FALSE(launch.followMovedProgram());
}

TEST_F(LaunchAtLoginTest, AVersionedInstallStartsThroughItsCurrentLink) {
    const auto base = home / ".local/opt/sorvala";
    makeProgram(base / "1.4.0/bin/sorvala");
    makeProgram(base / "1.3.2/bin/sorvala");
    std::filesystem::create_directory_symlink("1.4.0", base / "current");
    const ScopedEnvironment appImage("APPIMAGE", std::nullopt);
    EXPECT_EQ(LaunchAtLogin::executableToStart((base / "1.4.0/bin/sorvala").string()),
              (base / "current/bin/sorvala").string());
    // An older version beside it runs as itself: the link does not lead to it.
    EXPECT_EQ(LaunchAtLogin::executableToStart((base / "1.3.2/bin/sorvala").string()),
              (base / "1.3.2/bin/sorvala").string());
}

TEST_F(LaunchAtLoginTest, AFailedWriteIsLoggedAndReported) {
    writeFile(home / "autostart", "a file where the folder should be");
    LaunchAtLogin launch(log, home / "autostart/sorvala.desktop", "/usr/bin/sorvala");
    EXPECT_FALSE(launch.setEnabled(true));
    ASSERT_FALSE(log.lines.empty());
    EXPECT_TRUE(log.lines.back().starts_with("launch-at-login entry not written path=")) << log.lines.back();
}

TEST(LaunchAtLogin, StandardPlacesAndAnEntryUnderTheEarlierNameKeepsLaunchingAtLogin) {
    {
        const ScopedEnvironment home("HOME", "/home/ana");
        const ScopedEnvironment config("XDG_CONFIG_HOME", "relative");
        EXPECT_EQ(LaunchAtLogin::standardEntryPath(),
                  "/home/ana/.config/autostart/org.sorvala.Sorvala.desktop");
        const ScopedEnvironment appImage("APPIMAGE", "/home/ana/Apps/Sorvala.AppImage");
        EXPECT_EQ(LaunchAtLogin::executableToStart("/tmp/.mount_x/usr/bin/sorvala"),
                  "/home/ana/Apps/Sorvala.AppImage");
    }
    TemporaryDirectory config;
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", config.path().string());
    const auto earlier = config / "autostart/sorvala.desktop";
    const auto entry = config / "autostart/org.sorvala.Sorvala.desktop";
    const std::string text = "[Desktop Entry]\nType=Application\nExec=/opt/sorvala/sorvala\n";
    std::filesystem::create_directories(earlier.parent_path());
    writeFile(earlier, text);

    EXPECT_EQ(LaunchAtLogin::standardEntryPath(), entry);
    EXPECT_EQ(readFile(entry), text);
    EXPECT_FALSE(std::filesystem::exists(earlier)); // two entries would start it twice

    // Once both exist (an older build wrote its entry again), the current one wins and the other
    // is left alone.
    writeFile(earlier, "[Desktop Entry]\nHidden=true\n");
    EXPECT_EQ(LaunchAtLogin::standardEntryPath(), entry);
    EXPECT_EQ(readFile(entry), text);
}

} // namespace
} // namespace sorvala
