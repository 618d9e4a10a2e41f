// SPDX-License-Identifier: MIT
#include "updater/UpdateInstaller.h"

#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace sorvala {
namespace {

TEST(UpdateInstallerKinds, HowSorvalaWasInstalled) {
    using UpdateInstaller::InstallKind;
    const std::string home = "/home/ada/.local/opt/sorvala/1.1.0/bin/sorvala";
    const struct { const char* name; UpdateInstaller::InstallFacts facts; InstallKind kind; } cases[] = {
        {"version folder", {home, "", false, true}, InstallKind::userFolder},
        {"appimage", {"/tmp/.mount_x/usr/bin/sorvala", "/home/ada/Sorvala.AppImage", false, false},
         InstallKind::appImage},
        {"under /usr", {"/usr/bin/sorvala", "", false, false}, InstallKind::packageManaged},
        {"under /usr with a stray APPIMAGE", {"/usr/bin/sorvala", "/home/ada/x.AppImage", false, false},
         InstallKind::packageManaged},
        {"flatpak", {"/app/bin/sorvala", "", true, false}, InstallKind::packageManaged},
        {"build folder", {"/home/ada/src/sorvala/build/bin/sorvala", "", false, false}, InstallKind::elsewhere},
        {"relative APPIMAGE", {"/opt/x/sorvala", "x.AppImage", false, false}, InstallKind::elsewhere},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UpdateInstaller::installKind(c.facts), c.kind);
    }
}

TEST(UpdateInstallerArchives, MembersAndLinksStayInTheirFolder) {
    const struct { const char* member; bool safe; } members[] = {
        {"sorvala-1.2/", true},          {"sorvala-1.2/bin/sorvala", true}, {"./sorvala-1.2/bin/sorvala", true},
        {"/etc/passwd", false},          {"sorvala-1.2/../x", false},       {"other/bin/sorvala", false},
        {"sorvala-1.2/bin/../../x", false}, {"", false},
    };
    for (const auto& c : members) {
        SCOPED_TRACE(c.member);
        EXPECT_EQ(UpdateInstaller::isSafeArchiveMember(c.member, "sorvala-1.2"), c.safe);
    }
    const struct { const char* link; const char* target; bool inside; } links[] = {
        {"lib/libx.so", "libx.so.1", true},       {"bin/tool", "../lib/tool", true},
        {"bin/tool", "../../outside", false},     {"tool", "../x", false},
        {"bin/tool", "/usr/bin/env", false},      {"a/b/c", "../../d/../e", true},
    };
    for (const auto& c : links) {
        SCOPED_TRACE(std::string(c.link) + " -> " + c.target);
        EXPECT_EQ(UpdateInstaller::symlinkStaysInside(c.link, c.target), c.inside);
    }
}

/// Runs `script` in /bin/sh and answers its exit status.
int runShell(const std::string& script) {
    const std::string command = "/bin/sh -c " + UpdateInstaller::singleQuoted(script);
    return std::system(command.c_str());
}

TEST(UpdateInstallerQuoting, PathsSurviveTheShell) {
    const TemporaryDirectory folder;
    const auto out = folder / "printed";
    for (const std::string path : {"/home/ada/Sorvala.AppImage", "/home/o'brien/it's here", "/tmp/$(touch x) `y`",
                                   "a'b''c", "'", ""}) {
        SCOPED_TRACE(path);
        // The shell prints exactly what it was given.
        ASSERT_EQ(runShell("printf %s " + UpdateInstaller::singleQuoted(path) + " > '" + out.string() + "'"), 0);
        EXPECT_EQ(readFile(out), path);
    }
}

TEST(UpdateInstallerScript, SwapsAVersionFolderWithAQuoteInItsPath) {
    // A folder of its own: test runs side by side must not swap each other's versions.
    const TemporaryDirectory folder;
    const auto base = folder / "sorvala it's-test";
    for (const char* version : {"1.1.0", "1.2.0"}) {
        std::filesystem::create_directories(base / version / "bin");
        const auto program = base / version / "bin" / "sorvala";
        std::ofstream(program) << "#!/bin/sh\necho " << version << " > \"$(dirname \"$0\")/../../started\"\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }
    std::filesystem::create_directory_symlink("1.1.0", base / "current");

    // A finished parent: the script does not wait.
    const std::string script = UpdateInstaller::relaunchScript(
        {UpdateInstaller::InstallKind::userFolder, (base / "1.2.0").string(), (base / "1.1.0").string(), 999999999});
    EXPECT_EQ(script.rfind("set -e\nwhile kill -0 999999999 2>/dev/null; do /bin/sleep 0.2; done\n", 0), 0u);
    ASSERT_EQ(runShell(script), 0);
    EXPECT_EQ(std::filesystem::read_symlink(base / "current"), "1.2.0");
    for (int i = 0; i < 50 && !std::filesystem::exists(base / "started"); ++i)
        runShell("/bin/sleep 0.1");
    EXPECT_EQ(readFile(base / "started"), "1.2.0\n");
    // The new program ended at once, so the old version stays for going back by hand.
    EXPECT_TRUE(std::filesystem::exists(base / "1.1.0/bin/sorvala"));
}

} // namespace
} // namespace sorvala
