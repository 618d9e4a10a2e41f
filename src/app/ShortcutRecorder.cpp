// SPDX-License-Identifier: MIT
#include "app/ShortcutRecorder.h"

#include "app/KeyCodes.h"

namespace sorvala::ShortcutRecorder {

namespace {

// A key's character is shown upper-case ("B"); a key name ("PgUp", "F5") is kept as written.
std::string label(std::string_view characters) {
    if (characters.empty())
        return "?";
    std::string result(characters);
    if (result.size() == 1 && result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

} // namespace

Outcome record(const std::optional<KeyboardShortcut>& current, const KeyPress& press) {
    if (press.keyCode == KeyCodes::escape)
        return {current, false};
    if (press.keyCode == KeyCodes::backspace)
        return {std::nullopt, false};
    const KeyboardShortcut candidate{press.keyCode.value_or(0), press.modifiers,
                                     label(press.characters)};
    // The instructions say "Delete"; on these keyboards that is the key right of Backspace. Bare,
    // it could never be a valid binding, so it clears like Backspace instead of beeping.
    if (press.keyCode == KeyCodes::forwardDelete && !candidate.isValid())
        return {std::nullopt, false};
    if (!press.keyCode || !candidate.isValid())
        return {current, true};
    return {candidate, false};
}

std::string title(const std::optional<KeyboardShortcut>& shortcut) {
    return shortcut ? shortcut->displayString() : i18n("Record Shortcut");
}

} // namespace sorvala::ShortcutRecorder
