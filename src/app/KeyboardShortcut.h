// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

/// A key combination that triggers a command from any application. Key codes and modifier masks
/// keep the stored form users already have ("6400:11:B"); the platform layer translates them.
struct KeyboardShortcut {
    static constexpr std::uint32_t commandMask = 256; ///< Super
    static constexpr std::uint32_t shiftMask = 512;
    static constexpr std::uint32_t optionMask = 2048; ///< Alt
    static constexpr std::uint32_t controlMask = 4096;

    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    std::string keyLabel;

    /// Whether the combination holds Super, Ctrl or Alt; Shift alone or nothing is not enough.
    bool isValid() const;
    /// "Ctrl+Alt+Shift+Super+" (each only when held), then the key label: "Ctrl+Alt+Super+B".
    std::string displayString() const;
    /// The stored text: modifiers, key code and label joined by colons ("6400:11:B").
    std::string encoded() const;
    /// The shortcut a stored text names; nullopt for anything that is not three colon-separated
    /// parts with two unsigned 32-bit decimals and a non-empty label. A colon in the label stays.
    static std::optional<KeyboardShortcut> fromEncoded(std::string_view text);

    bool operator==(const KeyboardShortcut&) const = default;
};

} // namespace sorvala
