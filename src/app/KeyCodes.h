// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace sorvala::KeyCodes {

/// One key of the stored code table: the stored key code (US ANSI positions, the codes every
/// saved binding uses; Insert and Pause, which that layout lacks, take free codes), the X keysym
/// it stands for and the keysym's name, and the key label.
struct Entry {
    std::uint32_t keyCode;
    std::uint32_t keysym;
    std::string_view keysymName;
    std::string_view label;
    bool keypad = false;
};

/// Every key a binding can use, in key-code order.
std::span<const Entry> entries();

/// The table row of a stored key code; nullptr for a code the table does not know.
const Entry* forKeyCode(std::uint32_t keyCode);
/// The table row of an X keysym; an upper-case Latin letter finds its lower-case row.
const Entry* forKeysym(std::uint32_t keysym);

/// Codes from this one on stand for a key outside the table by its X keysym (the code is this
/// plus the keysym; keysyms stay below it), so a key of any layout can be bound: "Ö", "É", "Ж".
inline constexpr std::uint32_t keysymCodes = 0x20000000;
/// The X keysym a stored code stands for: its table row's, or the one a keysym code carries;
/// nullopt for a code of neither kind.
std::optional<std::uint32_t> keysymOf(std::uint32_t keyCode);

/// Stored code of the Escape key: cancels recording.
inline constexpr std::uint32_t escape = 53;
/// Stored code of the Backspace key (the Delete key of the stored layout): clears a binding.
inline constexpr std::uint32_t backspace = 51;
/// Stored code of the forward Delete key.
inline constexpr std::uint32_t forwardDelete = 117;

} // namespace sorvala::KeyCodes
