// SPDX-License-Identifier: MIT
#include "app/KeyboardShortcut.h"

#include <charconv>

namespace sorvala {

namespace {

std::optional<std::uint32_t> decimal(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

bool KeyboardShortcut::isValid() const {
    return (modifiers & (commandMask | optionMask | controlMask)) != 0;
}

std::string KeyboardShortcut::displayString() const {
    std::string result;
    if (modifiers & controlMask)
        result += "Ctrl+";
    if (modifiers & optionMask)
        result += "Alt+";
    if (modifiers & shiftMask)
        result += "Shift+";
    if (modifiers & commandMask)
        result += "Super+";
    return result + keyLabel;
}

std::string KeyboardShortcut::encoded() const {
    return std::to_string(modifiers) + ':' + std::to_string(keyCode) + ':' + keyLabel;
}

std::optional<KeyboardShortcut> KeyboardShortcut::fromEncoded(std::string_view text) {
    const auto first = text.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const auto second = text.find(':', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto modifiers = decimal(text.substr(0, first));
    const auto keyCode = decimal(text.substr(first + 1, second - first - 1));
    const auto label = text.substr(second + 1);
    if (!modifiers || !keyCode || label.empty())
        return std::nullopt;
    return KeyboardShortcut{*keyCode, *modifiers, std::string(label)};
}

} // namespace sorvala
