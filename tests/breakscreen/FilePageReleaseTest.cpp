// SPDX-License-Identifier: MIT
#include "breakscreen/FilePageRelease.h"

#include <gtest/gtest.h>

using namespace sorvala;
using FilePageRelease::Range;

TEST(FilePageRelease, OnlyReadOnlyMappingsOfPlainFilesAreConsidered) {
    struct Case { const char* line; bool considered; };
    for (const auto& c : {
             Case{"7f10a000-7f10c000 r-xp 00002000 08:01 131 /usr/lib/x86_64-linux-gnu/libQt6Gui.so.6.4.2", true},
             Case{"7f10a000-7f10c000 r--p 00000000 08:01 131 /usr/lib/x86_64-linux-gnu/libQt6Gui.so.6.4.2", true},
             Case{"7f10a000-7f10c000 r--s 00000000 08:01 77 /var/cache/fontconfig/a.cache-8", true},
             Case{"7f10a000-7f10c000 r--p 00000000 08:01 90 /usr/share/fonts/truetype/Dejavu Sans.ttf", true},
             Case{"7f10a000-7f10c000 rw-p 00012000 08:01 131 /usr/lib/x86_64-linux-gnu/libQt6Gui.so.6.4.2", false},
             Case{"7f10a000-7f10c000 rw-s 00000000 00:01 5 /SYSV00000000 (deleted)", false},
             Case{"7f10a000-7f10c000 r--s 00000000 00:01 1042 /memfd:wayland-shm (deleted)", false},
             Case{"7f10a000-7f10c000 r--s 00000000 00:05 12 /dev/dri/card0", false},
             Case{"7f10a000-7f10c000 r-xp 00000000 08:01 140 /opt/sorvala/bin/sorvala (deleted)", false},
             Case{"7f10a000-7f10c000 r--p 00000000 00:00 0 ", false},
             Case{"7f10a000-7f10c000 rw-p 00000000 00:00 0 [heap]", false},
             Case{"ffffffffff600000-ffffffffff601000 --xp 00000000 00:00 0 [vsyscall]", false},
             Case{"7f10a000-7f10c000 r-xp 00000000 00:00 0 [vdso]", false},
             Case{"---xp 00000000 08:01 131 /usr/lib/libc.so.6", false},
             Case{"7f10c000-7f10a000 r--p 00000000 08:01 131 /usr/lib/libc.so.6", false},
             Case{"", false},
         }) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(FilePageRelease::mappingsToConsider(c.line).size(), c.considered ? 1u : 0u);
    }
    EXPECT_EQ(FilePageRelease::mappingsToConsider("7f10a000-7f10c000 r-xp 00002000 08:01 131 /usr/lib/libz.so.1\n"
                                                  "7f10c000-7f10d000 rw-p 00004000 08:01 131 /usr/lib/libz.so.1\n"
                                                  "7f20a000-7f20b000 r--s 00000000 fd:02 9 /fonts/Noto Sans.ttf\n"),
              (std::vector<Range>{{0x7f10a000, 0x7f10c000}, {0x7f20a000, 0x7f20b000}}));
}

TEST(FilePageRelease, GivesBackThePagesResidentAfterThatWereNotBeforeWithinTheMappings) {
    const std::vector<Range> lib{{0x10000, 0x18000}};
    struct Case {
        const char* what;
        std::vector<Range> before;
        std::vector<Range> after;
        std::vector<Range> mappings;
        std::vector<Range> runs;
    };
    const std::vector<Case> cases{
        {"nothing new", {{0x10000, 0x12000}, {0x14000, 0x15000}}, {{0x10000, 0x12000}, {0x14000, 0x15000}}, lib, {}},
        {"new pages come as runs around the old ones",
         {{0x10000, 0x11000}, {0x13000, 0x14000}, {0x17000, 0x18000}},
         {{0x10000, 0x15000}, {0x16000, 0x18000}},
         lib,
         {{0x11000, 0x13000}, {0x14000, 0x15000}, {0x16000, 0x17000}}},
        {"pages gone since are left alone", {{0x10000, 0x18000}}, {}, lib, {}},
        {"a mapping that came during the break gives back all it has", {}, {{0x11000, 0x13000}}, lib,
         {{0x11000, 0x13000}}},
        {"pages outside the mappings stay: writable data, memory of no file",
         {},
         {{0xf000, 0x19000}, {0x20000, 0x30000}},
         {{0x10000, 0x12000}, {0x13000, 0x18000}},
         {{0x10000, 0x12000}, {0x13000, 0x18000}}},
        {"adjacent mappings and runs join", {{0x12000, 0x13000}}, {{0x11000, 0x12000}, {0x13000, 0x14000}, {0x12000, 0x13000}, {0x14000, 0x15000}},
         {{0x10000, 0x13000}, {0x13000, 0x18000}}, {{0x11000, 0x12000}, {0x13000, 0x15000}}},
        {"lists in any order, overlapping themselves",
         {{0x16000, 0x17000}, {0x10000, 0x12000}, {0x11000, 0x13000}},
         {{0x15000, 0x18000}, {0x10000, 0x16000}},
         {{0x14000, 0x18000}, {0x10000, 0x15000}},
         {{0x13000, 0x16000}, {0x17000, 0x18000}}},
        {"an old page in the middle of a new run splits it", {{0x13000, 0x14000}}, {{0x10000, 0x18000}}, lib,
         {{0x10000, 0x13000}, {0x14000, 0x18000}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FilePageRelease::runsToGiveBack(c.before, c.after, c.mappings), c.runs);
    }
}
