// SPDX-License-Identifier: MIT
#include "platform/desktop/SaverInstallation.h"

#include "gallery/XScreenSaverPrograms.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace sorvala;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class SaverInstallationInHome : public ::testing::Test {
protected:
    void SetUp() override {
        moveProgram(root / "bin" / "sorvala-saver");
        places.home = root / "home";
        places.dataHome = root / "home/.local/share";
        places.version = "0.1.0";
        places.xscreensaverDefaults =
            std::filesystem::path(SORVALA_TEST_DATA_DIR) / "gallery" / "XScreenSaver-nogl";
        places.hasProgram = [this](const char* name) { return installed.contains(name); };
        std::filesystem::create_directories(places.home);
    }
    SaverInstallation installation(std::vector<std::string> desktops = {"openbox"}) {
        return SaverInstallation(log, {LinuxSession::Type::x11, std::move(desktops)}, places);
    }
    std::filesystem::path dotFile() const { return places.home / ".xscreensaver"; }
    void moveProgram(const std::filesystem::path& to) {
        program = places.program = to;
        std::filesystem::create_directories(to.parent_path());
        writeFile(to, "");
    }

    TemporaryDirectory root;
    std::filesystem::path program;
    SaverInstallation::Places places;
    std::set<std::string> installed{"xscreensaver"};
    RecordingLogger log;
};

const std::string userFile = "# XScreenSaver Preferences File\n"
                             "mode:\t\trandom\n"
                             "programs:\t\t\t\t\t\t\t\t      \\\n"
                             "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
                             "\t\t\t\tqix --root\t\t\t    \\n\n"
                             "\n"
                             "pointerHysteresis:\t10\n";

} // namespace

// The list a new file holds is the programs file's rule; here the defaults file reaches it.
TEST_F(SaverInstallationInHome, AMissingFileStartsFromTheDefaults) {
    ASSERT_FALSE(installation().install().failure);
    EXPECT_EQ(XScreenSaverPrograms::programs(readFile(dotFile()))->size(),
              XScreenSaverPrograms::programs(readFile(places.xscreensaverDefaults))->size() + 1);
    EXPECT_EQ(readFile(places.dataHome / "Sorvala/screensaver.version"), "0.1.0\n");
}

TEST_F(SaverInstallationInHome, AnExistingFileGainsOneLineWhereItLiesAndIsBackedUpFirst) {
    // A linked file (dotfiles kept elsewhere) is edited where it lies; the link stays.
    const auto target = root / "dotfiles/xscreensaver";
    std::filesystem::create_directories(target.parent_path());
    writeFile(target, userFile);
    std::filesystem::create_symlink(target, dotFile());
    ASSERT_FALSE(installation().install().failure);
    EXPECT_TRUE(std::filesystem::is_symlink(dotFile()));
    const std::string written = readFile(target);
    EXPECT_EQ(readFile(target.string() + ".sorvala-backup"), userFile);
    EXPECT_EQ(XScreenSaverPrograms::registeredProgram(written), program.string());

    // Installing again changes nothing, not even the backup.
    writeFile(target.string() + ".sorvala-backup", "kept");
    ASSERT_FALSE(installation().install().failure);
    EXPECT_EQ(readFile(target), written);
    EXPECT_EQ(readFile(target.string() + ".sorvala-backup"), "kept");
}

TEST_F(SaverInstallationInHome, APathWithSpacesReachesXScreenSaverAsOneWord) {
    // Plain commands are split at blanks by xscreensaver itself; a quoted one goes to the shell.
    moveProgram(root / "Sorvala's build" / "bin" / "sorvala-saver");
    ASSERT_FALSE(installation().install().failure);
    const std::string written = readFile(dotFile());
    const auto quoted = "'" + (root / "Sorvala'\"'\"'s build/bin/sorvala-saver").string() + "' --root";
    EXPECT_THAT(written, HasSubstr("\"Sorvala\"  " + quoted));
    // Read back as the same program, so installing again finds it.
    EXPECT_EQ(XScreenSaverPrograms::registeredProgram(written), program.string());
}

TEST_F(SaverInstallationInHome, AReadOnlyFileOrNoHackBasedSaverIsAClearFailureAndLosesNothing) {
    writeFile(dotFile(), userFile);
    std::filesystem::permissions(dotFile(), std::filesystem::perms::owner_read);
    const auto outcome = installation().install();
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(readFile(dotFile()), userFile);
    EXPECT_THAT(log.lines, ElementsAre("screensaver install failed: " + *outcome.failure));

    std::filesystem::remove(dotFile());
    installed.clear();
    EXPECT_THAT(installation({"GNOME"}).install().failure.value_or(""), HasSubstr("not available on this desktop"));
    EXPECT_FALSE(std::filesystem::exists(dotFile()));

    std::filesystem::remove(program);
    installed.insert("xscreensaver");
    EXPECT_THAT(*installation().install().failure, HasSubstr("sorvala-saver is missing"));
}

TEST_F(SaverInstallationInHome, MateGetsADesktopEntry) {
    installed = {"mate-screensaver"};
    moveProgram(root / "my bin" / "sorvala-saver");
    auto mate = installation({"MATE"});
    ASSERT_FALSE(mate.install().failure);
    const std::string entry = readFile(mate.mateEntryFile());
    EXPECT_THAT(entry, HasSubstr("Categories=Screensaver;\n"));
    // Read back as the same program, so a path with a space survives the Exec line's quoting.
    EXPECT_EQ(SaverInstallation::execProgram(entry), program.string());
    EXPECT_FALSE(std::filesystem::exists(dotFile()));
    EXPECT_THAT(log.lines, ElementsAre("screensaver installed to " + mate.mateEntryFile().string()));
}

TEST_F(SaverInstallationInHome, LaunchRefreshesOnlyAStaleRegistration) {
    // Never installed: nothing happens.
    installation().refreshAtLaunch();
    EXPECT_FALSE(std::filesystem::exists(dotFile()));
    EXPECT_TRUE(log.lines.empty());

    // Registered by an older build at another place, and disabled by the user since.
    writeFile(dotFile(), "programs: \\\n  maze --root \\n\\\n-\t\"Sorvala\" /opt/old/sorvala-saver --root \\n\n");
    std::filesystem::create_directories(places.dataHome / "Sorvala");
    writeFile(places.dataHome / "Sorvala/screensaver.version", "0.0.9\n");
    installation().refreshAtLaunch();
    EXPECT_THAT(log.lines, ElementsAre("saver refreshed from build 0.0.9 to 0.1.0"));
    const std::string refreshed = readFile(dotFile());
    EXPECT_EQ(XScreenSaverPrograms::registeredProgram(refreshed), program.string());
    EXPECT_THAT(refreshed, HasSubstr("-\t\t\t\t\"Sorvala\"  " + program.string()));

    // Up to date: nothing more.
    installation().refreshAtLaunch();
    EXPECT_EQ(log.lines.size(), 1u);

    // A version that cannot be read always refreshes.
    std::filesystem::remove(places.dataHome / "Sorvala/screensaver.version");
    installation().refreshAtLaunch();
    EXPECT_EQ(log.lines.back(), "saver refreshed from build unreadable to 0.1.0");
}
