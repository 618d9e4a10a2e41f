// SPDX-License-Identifier: MIT
#include "saver/SaverOptions.h"

#include <charconv>

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

SaverOptions SaverOptions::parse(const std::vector<std::string>& arguments,
                                 const std::function<std::optional<std::string>(const char*)>& environment) {
    SaverOptions options;
    bool root = false;
    bool window = false;
    for (const std::string& argument : arguments) {
        // xscreensaver 6 writes "--root", older daemons and hand-made lines "-root".
        if (argument == "--root" || argument == "-root")
            root = true;
        else if (argument == "--window" || argument == "-window")
            window = true;
        else if (argument == "--help" || argument == "-h" || argument == "-help")
            return {Mode::help, 0, std::nullopt};
        else if (argument == "--version" || argument == "-version")
            return {Mode::version, 0, std::nullopt};
        else
            return {Mode::help, 0, "unknown argument: " + argument};
    }
    if (const auto named = environment("XSCREENSAVER_WINDOW")) {
        if (const auto id = parseWindowId(*named)) {
            options.mode = Mode::hostWindow;
            options.hostWindow = *id;
            return options;
        }
        if (!window && !root)
            return {Mode::help, 0, "XSCREENSAVER_WINDOW is not a window id: " + *named};
    }
    options.mode = window ? Mode::window : root ? Mode::rootWindow : Mode::fullScreen;
    return options;
}

std::string SaverOptions::usage() {
    return "usage: sorvala-saver [--root] [--window]\n"
           "Draws Sorvala's line drawings as a screen saver, with the appearance chosen in Sorvala's "
           "settings.\n"
           "\n"
           "  --root      draw into the window in $XSCREENSAVER_WINDOW, or over the whole screen\n"
           "  --window    draw in a normal window instead of full screen\n"
           "  --help      show this text\n"
           "  --version   show the version\n"
           "\n"
           "Without $XSCREENSAVER_WINDOW and --root it opens a full-screen window of its own; any key\n"
           "or click there ends it.\n";
}

} // namespace sorvala
