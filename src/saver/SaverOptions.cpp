// SPDX-License-Identifier: MIT
#include "saver/SaverOptions.h"

#include "i18n/I18n.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

namespace sorvala {

std::optional<unsigned long> parseWindowId(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
        text.remove_suffix(1);
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    unsigned long id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || id == 0)
        return std::nullopt;
    return id;
}

bool drawsOnHost(const ScreenRect& host, const std::vector<ScreenRect>& screens, std::size_t primary) {
    for (std::size_t i = 0; i < screens.size(); ++i)
        if (screens[i] == host)
            return i == primary;
    return true;
}

namespace {

/// Options every xscreensaver hack is handed and this one has no use for; the second list takes a value.
constexpr std::string_view ignoredFlags[] = {"fps", "no-fps", "mono", "install", "no-install"};
constexpr std::string_view ignoredWithValue[] = {"visual", "delay"};

/// The option's name without its one or two dashes; empty for anything that is not an option.
std::string_view optionName(std::string_view argument) {
    if (argument.starts_with("--"))
        return argument.substr(2);
    if (argument.starts_with("-"))
        return argument.substr(1);
    return {};
}

bool listed(std::string_view name, const auto& list) {
    return std::find(std::begin(list), std::end(list), name) != std::end(list);
}

} // namespace

SaverOptions SaverOptions::parse(const std::vector<std::string>& arguments,
                                 const std::function<std::optional<std::string>(const char*)>& environment) {
    SaverOptions options;
    bool root = false;
    bool window = false;
    std::optional<unsigned long> windowId;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // xscreensaver 6 writes "--root", older daemons and hand-made lines "-root".
        std::string_view name = optionName(argument);
        std::optional<std::string_view> value;
        if (const auto equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const auto takeValue = [&]() -> std::optional<std::string_view> {
            if (value)
                return value;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };
        if (name == "root")
            root = true;
        else if (name == "window")
            window = true;
        else if (name == "window-id") {
            const auto text = takeValue();
            windowId = text ? parseWindowId(*text) : std::nullopt;
            if (!windowId)
                return {Mode::help, 0, i18n("-window-id needs a window id: %1", text.value_or(""))};
        } else if (listed(name, ignoredFlags))
            continue;
        else if (listed(name, ignoredWithValue)) {
            if (!takeValue())
                return {Mode::help, 0, i18n("-%1 needs a value", name)};
        } else if (name == "help" || name == "h")
            return {Mode::help, 0, std::nullopt};
        else if (name == "version")
            return {Mode::version, 0, std::nullopt};
        else
            return {Mode::help, 0, i18n("unknown argument: %1", argument)};
    }
    if (windowId) {
        options.mode = Mode::hostWindow;
        options.hostWindow = *windowId;
        return options;
    }
    if (const auto named = environment("XSCREENSAVER_WINDOW")) {
        if (const auto id = parseWindowId(*named)) {
            options.mode = Mode::hostWindow;
            options.hostWindow = *id;
            return options;
        }
        if (!window && !root)
            return {Mode::help, 0, i18n("XSCREENSAVER_WINDOW is not a window id: %1", *named)};
    }
    options.mode = window ? Mode::window : root ? Mode::rootWindow : Mode::fullScreen;
    return options;
}

ScreenRect nativeScreenRect(const ScreenRect& geometry, double devicePixelRatio) {
    const auto scaled = [devicePixelRatio](int length) {
        return static_cast<int>(std::lround(length * devicePixelRatio));
    };
    return {geometry.x, geometry.y, scaled(geometry.width), scaled(geometry.height)};
}

std::string SaverOptions::usage() {
    // TRANSLATORS: the options, ID, V, N and $XSCREENSAVER_WINDOW stay as they are.
    return i18n("usage: sorvala-saver [--root] [--window] [--window-id ID]\n"
           "Draws Sorvala's line drawings as a screen saver, with the appearance chosen in Sorvala's "
           "settings.\n"
           "\n"
           "  --root      draw into the window in $XSCREENSAVER_WINDOW, or over the whole screen\n"
           "  --window    draw in a normal window instead of full screen\n"
           "  --window-id ID  draw into the window ID (a host's preview, \"0x3a00007\" or decimal)\n"
           "  --help      show this text\n"
           "  --version   show the version\n"
           "\n"
           "Without $XSCREENSAVER_WINDOW and --root it opens a full-screen window of its own; any key\n"
           "or click there ends it. The other options screen-saver hosts pass (-fps, -mono, -install,\n"
           "-visual V, -delay N) are accepted and ignored.\n");
}

} // namespace sorvala
