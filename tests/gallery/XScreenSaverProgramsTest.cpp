// SPDX-License-Identifier: MIT
#include "gallery/XScreenSaverPrograms.h"

#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

using namespace sorvala;
namespace Programs = sorvala::XScreenSaverPrograms;

namespace {

std::string defaultsFile() {
    return readFile(std::filesystem::path(SORVALA_TEST_DATA_DIR) / "gallery" / "XScreenSaver-nogl");
}

// What ~/.xscreensaver looks like once the settings program has written it.
const std::string written = "# XScreenSaver Preferences File\n"
                            "timeout:\t0:10:00\n"
                            "programs:\t\t\t\t\t\t\t\t      \\\n"
                            "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
                            "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
                            "\t\t\t\tqix --root\t\t\t    \\n\n"
                            "\n"
                            "pointerHysteresis:\t10\n";

} // namespace

TEST(XScreenSaverPrograms, AddingAppendsOneLineAndKeepsEveryOtherByte) {
    const std::string after = Programs::withEntry(written, "/usr/bin/sorvala-saver", false);
    // The old last entry now continues; ours is the last.
    const std::string last = "\t\t\t\tqix --root\t\t\t    \\n\n";
    std::string expected = written;
    expected.replace(expected.find(last), last.size(),
                     "\t\t\t\tqix --root\t\t\t    \\n\\\n"
                     "\t\t\t\t\"Sorvala\"  /usr/bin/sorvala-saver --root\t\t\t    \\n\n");
    EXPECT_EQ(after, expected);
    EXPECT_EQ(Programs::programs(after)->at(1), "- GL: \t\t\t\tsuperquadrics --root");
    EXPECT_EQ(Programs::registeredProgram(after), "/usr/bin/sorvala-saver");
    // Adding again changes nothing.
    EXPECT_EQ(Programs::withEntry(after, "/usr/bin/sorvala-saver", false), after);
}

TEST(XScreenSaverPrograms, AnExistingEntryIsRewrittenInPlace) {
    struct Case { const char* name; std::string line; bool keepDisabled; std::string expected; };
    const std::string ours = "\t\t\t\t\"Sorvala\"  /new/sorvala-saver --root\t\t\t    \\n\\";
    const Case cases[] = {
        {"moved program", "\t\"Sorvala\" /opt/old/sorvala-saver --root \\n\\", false, ours},
        {"a disabled entry stays disabled on refresh", "-\t\"Sorvala\" /opt/old/sorvala-saver --root \\n\\", true,
         "-" + ours},
        {"installing again enables it", "- \"Sorvala\" /opt/old/sorvala-saver --root \\n\\", false, ours},
        {"found by program name without the pretty name", "  /home/u/bin/sorvala-saver -root \\n\\", false, ours},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = "programs: \\\n  maze --root \\n\\\n" + c.line + "\n  qix --root \\n\n";
        const std::string after = Programs::withEntry(before, "/new/sorvala-saver", c.keepDisabled);
        EXPECT_EQ(after, "programs: \\\n  maze --root \\n\\\n" + c.expected + "\n  qix --root \\n\n");
        EXPECT_EQ(Programs::programs(after)->size(), 3u);
    }
}

TEST(XScreenSaverPrograms, ListsInOtherShapes) {
    struct Case { const char* name; std::string before; std::vector<std::string> expected; };
    const std::string ours = "\"Sorvala\"  /s --root";
    const Case cases[] = {
        {"no list at all", "timeout: 0:10:00", {ours}},
        {"a one-line list without a line-end escape", "*programs: maze --root\n", {"maze --root", ours}},
        {"a list whose last line continues into the end of the file", "programs: \\\n maze --root \\n\\",
         {"maze --root", ours}},
        {"a last entry that ends in a colon", "programs: maze -mode:\n", {"maze -mode:", ours}},
        {"a blank last line after an unended entry", "programs: maze --root \\\n\t\n", {"maze --root", ours}},
        {"ours sharing a line with others",
         "programs: \\\n maze --root \\n \"Sorvala\" /old/sorvala-saver --root \\n qix\n", {"maze --root", ours, "qix"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string after = Programs::withEntry(c.before, "/s", false);
        EXPECT_EQ(Programs::programs(after), c.expected);
        EXPECT_TRUE(after.starts_with(c.before.substr(0, c.before.find('\n'))));
    }
}

TEST(XScreenSaverPrograms, ANewFileKeepsTheDefaultListAndAddsOurs) {
    const std::string fresh = Programs::fromDefaults(defaultsFile(), "/usr/bin/sorvala-saver");
    auto expected = Programs::programs(defaultsFile()).value();
    EXPECT_GT(expected.size(), 200u);
    EXPECT_EQ(Programs::registeredProgram(defaultsFile()), std::nullopt);
    EXPECT_EQ(Programs::programs("timeout: 0:10:00\n"), std::nullopt);
    expected.push_back("\"Sorvala\"  /usr/bin/sorvala-saver --root");
    EXPECT_EQ(Programs::programs(fresh), expected);
    // Without a defaults file the list holds ours alone.
    EXPECT_EQ(Programs::programs(Programs::fromDefaults("", "/s")),
              (std::vector<std::string>{"\"Sorvala\"  /s --root"}));
    // An entry of ours already in the defaults gives way to the one for this program.
    const std::string packaged =
        "*programs:\tmaze --root \\n\\\n  \"Sorvala\"  /opt/old/sorvala-saver --root \\n\n";
    const std::string made = Programs::fromDefaults(packaged, "/s");
    EXPECT_EQ(Programs::programs(made), (std::vector<std::string>{"maze --root", "\"Sorvala\"  /s --root"}));
    EXPECT_EQ(Programs::registeredProgram(made), "/s");
}
