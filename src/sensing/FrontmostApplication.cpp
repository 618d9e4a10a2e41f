// SPDX-License-Identifier: MIT
#include "sensing/FrontmostApplication.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace sorvala::FrontmostApplication {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

/// "\x2d" and its kin back to the bytes systemd escaped.
std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned value = 0;
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            const auto [end, error] = std::from_chars(text.data() + i + 2, text.data() + i + 4, value, 16);
            if (error == std::errc() && end == text.data() + i + 4) {
                out += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

std::optional<std::string> nonEmpty(const std::optional<std::string>& text) {
    if (text && !text->empty())
        return text;
    return std::nullopt;
}

std::optional<std::string> fromWmClass(const ActiveWindow& window, const DesktopEntries& entries) {
    for (const auto& name : {window.wmClassClass, window.wmClassName}) {
        if (!name || name->empty())
            continue;
        if (const auto found = entries.idByStartupWmClass.find(*name); found != entries.idByStartupWmClass.end())
            return found->second;
    }
    for (const auto& name : {window.wmClassClass, window.wmClassName})
        if (name && entries.ids.count(*name))
            return *name;
    for (const auto& name : {window.wmClassClass, window.wmClassName}) {
        if (!name || name->empty())
            continue;
        const auto found = std::find_if(entries.ids.begin(), entries.ids.end(),
                                        [&](const std::string& id) { return equalIgnoringCase(id, *name); });
        if (found != entries.ids.end())
            return *found;
    }
    return std::nullopt;
}

} // namespace

bool isDesktopElement(const ActiveWindow& window) {
    return std::any_of(window.types.begin(), window.types.end(), [](const std::string& type) {
        return type == "_NET_WM_WINDOW_TYPE_DESKTOP" || type == "_NET_WM_WINDOW_TYPE_DOCK";
    });
}

bool isFullscreen(const std::optional<ActiveWindow>& window, const std::vector<Rect>& displays,
                  std::uint32_t ownProcessId) {
    if (!window || window->processId == ownProcessId || isDesktopElement(*window))
        return false;
    if (std::find(window->states.begin(), window->states.end(), fullscreenStateName) != window->states.end())
        return true;
    return std::find(displays.begin(), displays.end(), window->frame) != displays.end();
}

std::optional<std::string> applicationId(const std::optional<ActiveWindow>& window, const DesktopEntries& entries,
                                         std::string_view cgroupText, std::uint32_t ownProcessId) {
    if (!window || window->processId == ownProcessId || isDesktopElement(*window))
        return std::nullopt;
    if (auto id = nonEmpty(window->gtkApplicationId))
        return id;
    if (auto file = nonEmpty(window->kdeDesktopFile)) {
        // KDE stores the id with or without the extension, or even a path.
        std::string id = file->substr(file->find_last_of('/') + 1);
        if (endsWith(id, ".desktop"))
            id.resize(id.size() - 8);
        if (!id.empty())
            return id;
    }
    if (auto id = fromWmClass(*window, entries))
        return id;
    return desktopIdFromCgroup(cgroupText);
}

std::optional<std::string> desktopIdFromUnit(std::string_view unit) {
    if (unit.substr(0, 5) == "snap.") {
        if (!endsWith(unit, ".scope") && !endsWith(unit, ".service"))
            return std::nullopt;
        const auto parts = split(unit, '.');
        if (parts.size() < 4 || parts[1].empty() || parts[2].empty())
            return std::nullopt;
        // snap.<name>.<app>-<uuid>.scope: the app ends at the first dash.
        const std::string_view app = parts[2].substr(0, parts[2].find('-'));
        return std::string(parts[1]) + "_" + std::string(app);
    }
    if (unit.substr(0, 4) != "app-")
        return std::nullopt;
    std::string_view rest = unit.substr(4);
    bool hasRandomPart = false;
    if (endsWith(rest, ".scope")) {
        rest.remove_suffix(6);
        hasRandomPart = true;
    } else if (endsWith(rest, ".service")) {
        rest.remove_suffix(8);
        if (const auto at = rest.find('@'); at != std::string_view::npos)
            rest = rest.substr(0, at);
    } else {
        return std::nullopt;
    }
    auto parts = split(rest, '-');
    if (hasRandomPart && parts.size() > 1)
        parts.pop_back();
    if (parts.size() > 1)
        parts.erase(parts.begin()); // the launcher: "gnome", "flatpak", "kde", ...
    std::string id;
    for (std::size_t i = 0; i < parts.size(); ++i)
        id += (i ? "-" : "") + unescaped(parts[i]);
    if (id.empty())
        return std::nullopt;
    return id;
}

std::optional<std::string> desktopIdFromCgroup(std::string_view cgroupText) {
    std::optional<std::string> found;
    for (const auto line : split(cgroupText, '\n')) {
        // hierarchy-id:controllers:path; the path is the third field.
        const auto colon = line.find(':');
        const auto second = colon == std::string_view::npos ? colon : line.find(':', colon + 1);
        if (second == std::string_view::npos)
            continue;
        for (const auto unit : split(line.substr(second + 1), '/'))
            if (auto id = desktopIdFromUnit(unit))
                found = std::move(id);
        if (found)
            return found;
    }
    return found;
}

} // namespace sorvala::FrontmostApplication
