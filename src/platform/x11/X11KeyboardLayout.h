// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace sorvala::X11KeyboardLayout {

/// The keysyms one key gives in the layout it was pressed in, with Num Lock as it was: alone, and with
/// Shift. Every other modifier is left out, so Ctrl+Alt+Pause still reads Pause (not Break) and
/// Shift+1 reads 1 (not !).
struct KeyLevels {
    std::uint32_t plain = 0;
    std::uint32_t shifted = 0;
};

/// The levels of X keycode `keycode` pressed in modifier and group `state` (the key event's), in
/// the X server's keymap now; nullopt without an X server (another platform) or for a keycode the
/// keymap does not have.
std::optional<KeyLevels> levels(std::uint32_t keycode, std::uint32_t state);

} // namespace sorvala::X11KeyboardLayout
