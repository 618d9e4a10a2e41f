// SPDX-License-Identifier: MIT
#include "platform/wayland/WaylandReadings.h"

#include <gtest/gtest.h>

#include <functional>

using namespace sorvala;
using namespace sorvala::WaylandReadings;

TEST(WaylandIdle, NotificationsBecomeSecondsSinceInput) {
    struct Case {
        const char* name;
        std::function<void(IdleState&)> events;
        double now;
        double seconds;
    };
    const Case cases[] = {
        {"no event yet: active", [](IdleState&) {}, 100, 0},
        {"idled counts from the last input", [](IdleState& s) { s.idled(100, 1); }, 130, 31},
        {"idle again after input", [](IdleState& s) { s.idled(100, 1); s.resumed(); s.idled(200, 1); }, 205, 6},
        {"a clock read before the event never goes negative", [](IdleState& s) { s.idled(100, 1); }, 98, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IdleState state;
        c.events(state);
        EXPECT_DOUBLE_EQ(state.secondsSinceInput(c.now), c.seconds);
    }
}

TEST(WaylandFrontmost, AppIdsBecomeDesktopFileIds) {
    FrontmostApplication::DesktopEntries entries;
    entries.ids = {"org.gnome.Nautilus", "firefox-esr", "code"};
    entries.idByStartupWmClass = {{"Code", "code"}};
    struct Case {
        const char* name;
        std::optional<Toplevel> focused;
        std::optional<std::string> id;
        bool fullscreen;
    };
    const Case cases[] = {
        {"no focused window", std::nullopt, std::nullopt, false},
        {"StartupWMClass", Toplevel{"Code", true, true}, "code", true},
        {"unknown app keeps its app id", Toplevel{"org.example.Player", true, true}, "org.example.Player", true},
        {"no app id", Toplevel{"", true, true}, std::nullopt, true},
        {"our own window", Toplevel{"sorvala", true, true}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(applicationId(c.focused, entries, "sorvala"), c.id);
        EXPECT_EQ(isFullscreen(c.focused, "sorvala"), c.fullscreen);
    }
}
