// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// How sorvala-saver was asked to run, after xscreensaver's conventions: into the window named
/// by -window-id or $XSCREENSAVER_WINDOW, onto the root window with --root, or in a window of its
/// own. Options of the hack conventions it has no use for are accepted and ignored.
struct SaverOptions {
    enum class Mode {
        hostWindow, ///< draw into the window xscreensaver or mate-screensaver made for us
        rootWindow, ///< --root without a host window: draw over the whole screen
        fullScreen, ///< a window of our own, full screen
        window,     ///< a window of our own, normal size (--window), handy for previews
        help,
        version,
    };
    Mode mode = Mode::fullScreen;
    unsigned long hostWindow = 0;
    /// Why the arguments were refused; the program prints it and exits with status 2.
    std::optional<std::string> error;

    /// Reads the arguments (without the program name) and $XSCREENSAVER_WINDOW ("0x3a00007" or
    /// decimal, as each saver daemon writes it). `environment` answers nullopt for an unset variable.
    static SaverOptions parse(const std::vector<std::string>& arguments,
                              const std::function<std::optional<std::string>(const char*)>& environment);
    /// The text of --help.
    static std::string usage();
};

/// A rectangle in the X server's device pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

/// A screen's rectangle in device pixels from Qt's geometry of it: Qt keeps a screen's top-left
/// corner in device pixels and scales only its size, so a second screen at 1920 stays at 1920
/// under any scale factor.
ScreenRect nativeScreenRect(const ScreenRect& geometry, double devicePixelRatio);

/// Whether a saver given the window `host` draws: the full saver (a window that covers exactly one
/// screen) draws on the primary screen only and leaves the others black; anything else (a preview,
/// a window over all screens) always draws.
bool drawsOnHost(const ScreenRect& host, const std::vector<ScreenRect>& screens, std::size_t primary);

/// A window id as the saver daemons write it: hexadecimal with "0x", else decimal; nullopt for
/// anything else, zero included.
std::optional<unsigned long> parseWindowId(std::string_view text);

} // namespace sorvala
