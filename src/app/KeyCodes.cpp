// SPDX-License-Identifier: MIT
#include "app/KeyCodes.h"

#include <algorithm>

namespace sorvala::KeyCodes {

namespace {

// Stored key code, X keysym (X11/keysymdef.h), keysym name, label. The keysym numbers are the X
// protocol's; the platform tests check each against Xlib's own name lookup.
constexpr Entry table[] = {
    {0, 0x0061, "a", "A"},
    {1, 0x0073, "s", "S"},
    {2, 0x0064, "d", "D"},
    {3, 0x0066, "f", "F"},
    {4, 0x0068, "h", "H"},
    {5, 0x0067, "g", "G"},
    {6, 0x007a, "z", "Z"},
    {7, 0x0078, "x", "X"},
    {8, 0x0063, "c", "C"},
    {9, 0x0076, "v", "V"},
    {10, 0x00a7, "section", "§"},
    {11, 0x0062, "b", "B"},
    {12, 0x0071, "q", "Q"},
    {13, 0x0077, "w", "W"},
    {14, 0x0065, "e", "E"},
    {15, 0x0072, "r", "R"},
    {16, 0x0079, "y", "Y"},
    {17, 0x0074, "t", "T"},
    {18, 0x0031, "1", "1"},
    {19, 0x0032, "2", "2"},
    {20, 0x0033, "3", "3"},
    {21, 0x0034, "4", "4"},
    {22, 0x0036, "6", "6"},
    {23, 0x0035, "5", "5"},
    {24, 0x003d, "equal", "="},
    {25, 0x0039, "9", "9"},
    {26, 0x0037, "7", "7"},
    {27, 0x002d, "minus", "-"},
    {28, 0x0038, "8", "8"},
    {29, 0x0030, "0", "0"},
    {30, 0x005d, "bracketright", "]"},
    {31, 0x006f, "o", "O"},
    {32, 0x0075, "u", "U"},
    {33, 0x005b, "bracketleft", "["},
    {34, 0x0069, "i", "I"},
    {35, 0x0070, "p", "P"},
    {36, 0xff0d, "Return", "Return"},
    {37, 0x006c, "l", "L"},
    {38, 0x006a, "j", "J"},
    {39, 0x0027, "apostrophe", "'"},
    {40, 0x006b, "k", "K"},
    {41, 0x003b, "semicolon", ";"},
    {42, 0x005c, "backslash", "\\"},
    {43, 0x002c, "comma", ","},
    {44, 0x002f, "slash", "/"},
    {45, 0x006e, "n", "N"},
    {46, 0x006d, "m", "M"},
    {47, 0x002e, "period", "."},
    {48, 0xff09, "Tab", "Tab"},
    {49, 0x0020, "space", "Space"},
    {50, 0x0060, "grave", "`"},
    {51, 0xff08, "BackSpace", "Backspace"},
    {53, 0xff1b, "Escape", "Esc"},
    {64, 0xffce, "F17", "F17"},
    {65, 0xffae, "KP_Decimal", "Num.", true},
    {67, 0xffaa, "KP_Multiply", "Num*", true},
    {69, 0xffab, "KP_Add", "Num+", true},
    {75, 0xffaf, "KP_Divide", "Num/", true},
    {76, 0xff8d, "KP_Enter", "Enter", true},
    {78, 0xffad, "KP_Subtract", "Num-", true},
    {79, 0xffcf, "F18", "F18"},
    {80, 0xffd0, "F19", "F19"},
    {81, 0xffbd, "KP_Equal", "Num=", true},
    {82, 0xffb0, "KP_0", "Num0", true},
    {83, 0xffb1, "KP_1", "Num1", true},
    {84, 0xffb2, "KP_2", "Num2", true},
    {85, 0xffb3, "KP_3", "Num3", true},
    {86, 0xffb4, "KP_4", "Num4", true},
    {87, 0xffb5, "KP_5", "Num5", true},
    {88, 0xffb6, "KP_6", "Num6", true},
    {89, 0xffb7, "KP_7", "Num7", true},
    {90, 0xffd1, "F20", "F20"},
    {91, 0xffb8, "KP_8", "Num8", true},
    {92, 0xffb9, "KP_9", "Num9", true},
    {96, 0xffc2, "F5", "F5"},
    {97, 0xffc3, "F6", "F6"},
    {98, 0xffc4, "F7", "F7"},
    {99, 0xffc0, "F3", "F3"},
    {100, 0xffc5, "F8", "F8"},
    {101, 0xffc6, "F9", "F9"},
    {103, 0xffc8, "F11", "F11"},
    {105, 0xffca, "F13", "F13"},
    {106, 0xffcd, "F16", "F16"},
    {107, 0xffcb, "F14", "F14"},
    {109, 0xffc7, "F10", "F10"},
    {111, 0xffc9, "F12", "F12"},
    {113, 0xffcc, "F15", "F15"},
    {114, 0xff63, "Insert", "Ins"},
    {115, 0xff50, "Home", "Home"},
    {116, 0xff55, "Prior", "PgUp"},
    {117, 0xffff, "Delete", "Del"},
    {118, 0xffc1, "F4", "F4"},
    {119, 0xff57, "End", "End"},
    {120, 0xffbf, "F2", "F2"},
    {121, 0xff56, "Next", "PgDown"},
    {122, 0xffbe, "F1", "F1"},
    {123, 0xff51, "Left", "Left"},
    {124, 0xff53, "Right", "Right"},
    {125, 0xff54, "Down", "Down"},
    {126, 0xff52, "Up", "Up"},
    {127, 0xff13, "Pause", "Pause"},
};

} // namespace

std::span<const Entry> entries() {
    return table;
}

const Entry* forKeyCode(std::uint32_t keyCode) {
    const auto* found = std::find_if(std::begin(table), std::end(table),
                                     [keyCode](const Entry& entry) { return entry.keyCode == keyCode; });
    return found == std::end(table) ? nullptr : found;
}

const Entry* forKeysym(std::uint32_t keysym) {
    // Shift turns the keysym of a letter upper-case; the key is the same.
    if (keysym >= 'A' && keysym <= 'Z')
        keysym += 'a' - 'A';
    const auto* found = std::find_if(std::begin(table), std::end(table),
                                     [keysym](const Entry& entry) { return entry.keysym == keysym; });
    return found == std::end(table) ? nullptr : found;
}

std::optional<std::uint32_t> keysymOf(std::uint32_t keyCode) {
    if (keyCode >= keysymCodes)
        return keyCode - keysymCodes;
    if (const Entry* entry = forKeyCode(keyCode))
        return entry->keysym;
    return std::nullopt;
}

} // namespace sorvala::KeyCodes
