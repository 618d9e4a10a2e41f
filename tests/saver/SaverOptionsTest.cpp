// SPDX-License-Identifier: MIT
#include "saver/SaverOptions.h"

#include <gtest/gtest.h>

using namespace sorvala;
using Mode = SaverOptions::Mode;

TEST(SaverOptions, ArgumentsAndTheHostWindow) {
    struct Case { const char* name; std::vector<std::string> arguments; std::optional<std::string> window; Mode mode;
                  unsigned long host; bool error; };
    const Case cases[] = {
        {"nothing: full screen", {}, std::nullopt, Mode::fullScreen, 0, false},
        {"--window", {"--window"}, std::nullopt, Mode::window, 0, false},
        {"xscreensaver 6", {"--root"}, "0x3a00007", Mode::hostWindow, 0x3a00007, false},
        {"decimal id", {"--root"}, "60817415", Mode::hostWindow, 60817415, false},
        {"a host window without --root", {}, "0x10", Mode::hostWindow, 16, false},
        {"--root alone: the root window", {"--root"}, std::nullopt, Mode::rootWindow, 0, false},
        {"a damaged id with --root falls back to the root window", {"--root"}, "0xzz", Mode::rootWindow, 0, false},
        {"a damaged id alone is refused", {}, "window", Mode::help, 0, true},
        {"unknown argument", {"--fast"}, std::nullopt, Mode::help, 0, true},
        {"a host's preview names its window", {"-window-id", "0x2c00005"}, std::nullopt, Mode::hostWindow, 0x2c00005,
         false},
        {"-window-id wins over the environment", {"--window-id=77"}, "0x10", Mode::hostWindow, 77, false},
        {"-window-id without an id", {"-window-id"}, std::nullopt, Mode::help, 0, true},
        {"hack options it has no use for", {"-root", "-fps", "-mono", "-install", "-visual", "TrueColor", "-delay", "20000"},
         "0x10", Mode::hostWindow, 16, false},
        {"-delay without its value", {"-delay"}, std::nullopt, Mode::help, 0, true},
        {"help", {"--help"}, std::nullopt, Mode::help, 0, false},
        {"version", {"--root", "--version"}, "0x10", Mode::version, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto options = SaverOptions::parse(c.arguments, [&](const char* name) {
            return std::string(name) == "XSCREENSAVER_WINDOW" ? c.window : std::nullopt;
        });
        EXPECT_EQ(options.mode, c.mode);
        EXPECT_EQ(options.hostWindow, c.host);
        EXPECT_EQ(options.error.has_value(), c.error);
    }
    EXPECT_EQ(parseWindowId("0"), std::nullopt);
    EXPECT_EQ(parseWindowId(" 0x1f\n"), 31u);
}

TEST(SaverOptions, OnlyThePrimaryScreenDrawsInTheFullSaver) {
    // Qt at scale factor 2: corners stay in device pixels, sizes are halved.
    EXPECT_EQ(nativeScreenRect({1920, 0, 640, 512}, 2.0), (ScreenRect{1920, 0, 1280, 1024}));
    EXPECT_EQ(nativeScreenRect({0, 0, 1920, 1080}, 1.0), (ScreenRect{0, 0, 1920, 1080}));
    const std::vector<ScreenRect> screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    EXPECT_TRUE(drawsOnHost({0, 0, 1920, 1080}, screens, 0));
    EXPECT_FALSE(drawsOnHost({1920, 0, 1280, 1024}, screens, 0));
    EXPECT_TRUE(drawsOnHost({1920, 0, 1280, 1024}, screens, 1));
    // A preview on the secondary screen draws, and so does one window over both screens.
    EXPECT_TRUE(drawsOnHost({2000, 100, 320, 200}, screens, 0));
    EXPECT_TRUE(drawsOnHost({0, 0, 3200, 1080}, screens, 0));
}
