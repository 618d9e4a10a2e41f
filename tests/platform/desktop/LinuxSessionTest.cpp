// SPDX-License-Identifier: MIT
#include "platform/desktop/LinuxSession.h"

#include <gtest/gtest.h>

#include <map>

using namespace sorvala;

namespace {

LinuxSession detect(const std::map<std::string, std::string>& environment) {
    return detectSession([&](const char* name) -> std::optional<std::string> {
        const auto found = environment.find(name);
        return found == environment.end() ? std::nullopt : std::optional<std::string>(found->second);
    });
}

} // namespace

TEST(LinuxSession, TypeFromTheSessionTypeThenTheDisplays) {
    using Type = LinuxSession::Type;
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        Type type;
    };
    const Case cases[] = {
        {"x11 says so", {{"XDG_SESSION_TYPE", "x11"}, {"WAYLAND_DISPLAY", "wayland-0"}}, Type::x11},
        {"wayland says so", {{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}}, Type::wayland},
        {"tty falls back to the displays", {{"XDG_SESSION_TYPE", "tty"}, {"DISPLAY", ":0"}}, Type::x11},
        {"wayland display wins over XWayland's",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}},
         Type::wayland},
        {"empty values count as unset", {{"XDG_SESSION_TYPE", ""}, {"DISPLAY", ""}}, Type::unknown},
        {"nothing at all", {}, Type::unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(detect(c.environment).type, c.type);
    }
}

TEST(LinuxSession, DesktopsMatchIgnoringCase) {
    const auto ubuntu = detect({{"XDG_SESSION_TYPE", "x11"}, {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}});
    EXPECT_EQ(ubuntu.desktops, (std::vector<std::string>{"ubuntu", "GNOME"}));
    EXPECT_TRUE(ubuntu.isDesktop("gnome"));
    EXPECT_TRUE(ubuntu.isGnomeFamily());
    EXPECT_FALSE(ubuntu.isDesktop("KDE"));

    EXPECT_FALSE(detect({{"XDG_CURRENT_DESKTOP", "KDE"}}).isGnomeFamily());

    EXPECT_TRUE(detect({{"XDG_CURRENT_DESKTOP", "Budgie:GNOME"}}).isGnomeFamily());
    EXPECT_TRUE(detect({{"XDG_CURRENT_DESKTOP", "::XFCE:"}}).isDesktop("xfce"));
}
