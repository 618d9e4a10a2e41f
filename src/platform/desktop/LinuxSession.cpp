// SPDX-License-Identifier: MIT
#include "platform/desktop/LinuxSession.h"

#include <algorithm>
#include <cstdlib>

namespace sorvala {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

} // namespace

bool LinuxSession::isDesktop(std::string_view name) const {
    return std::any_of(desktops.begin(), desktops.end(),
                       [&](const std::string& desktop) { return equalIgnoringCase(desktop, name); });
}

bool LinuxSession::isGnomeFamily() const {
    for (const char* name : {"GNOME", "ubuntu", "Budgie", "Pantheon", "Unity"})
        if (isDesktop(name))
            return true;
    return false;
}

std::string LinuxSession::describe() const {
    std::string out(text(type));
    out += ':';
    for (std::size_t i = 0; i < desktops.size(); ++i)
        out += (i ? ":" : "") + desktops[i];
    return out;
}

std::string_view text(LinuxSession::Type type) {
    switch (type) {
    case LinuxSession::Type::x11: return "x11";
    case LinuxSession::Type::wayland: return "wayland";
    case LinuxSession::Type::unknown: return "unknown";
    }
    return "unknown";
}

LinuxSession detectSession(const std::function<std::optional<std::string>(const char*)>& environment) {
    LinuxSession session;
    const auto nonEmpty = [&](const char* name) {
        auto value = environment(name);
        return value && !value->empty() ? value : std::nullopt;
    };
    const auto type = nonEmpty("XDG_SESSION_TYPE");
    if (type && equalIgnoringCase(*type, "x11"))
        session.type = LinuxSession::Type::x11;
    else if (type && equalIgnoringCase(*type, "wayland"))
        session.type = LinuxSession::Type::wayland;
    else if (nonEmpty("WAYLAND_DISPLAY"))
        session.type = LinuxSession::Type::wayland;
    else if (nonEmpty("DISPLAY"))
        session.type = LinuxSession::Type::x11;

    if (const auto desktop = nonEmpty("XDG_CURRENT_DESKTOP")) {
        std::string_view rest = *desktop;
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            const auto part = rest.substr(0, colon);
            if (!part.empty())
                session.desktops.emplace_back(part);
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    return session;
}

LinuxSession currentSession() {
    return detectSession([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    });
}

} // namespace sorvala
