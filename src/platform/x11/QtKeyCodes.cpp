// SPDX-License-Identifier: MIT
#include "platform/x11/QtKeyCodes.h"

#include "app/KeyCodes.h"
#include "app/KeyboardShortcut.h"
#include "platform/x11/X11KeyboardLayout.h"

#include <QKeyEvent>

#include <xkbcommon/xkbcommon.h>

namespace sorvala::QtKeyCodes {

namespace {

struct Special {
    std::uint32_t keysym;
    Qt::Key key;
};

// Keys outside Latin-1, whose Qt key is not the keysym's own code.
constexpr Special specials[] = {
    {0xff0d, Qt::Key_Return}, {0xff09, Qt::Key_Tab},     {0xff08, Qt::Key_Backspace}, {0xff1b, Qt::Key_Escape},
    {0xffff, Qt::Key_Delete}, {0xff50, Qt::Key_Home},    {0xff57, Qt::Key_End},       {0xff55, Qt::Key_PageUp},
    {0xff56, Qt::Key_PageDown}, {0xff51, Qt::Key_Left},  {0xff53, Qt::Key_Right},     {0xff54, Qt::Key_Down},
    {0xff52, Qt::Key_Up},     {0xffae, Qt::Key_Period},  {0xffaa, Qt::Key_Asterisk},  {0xffab, Qt::Key_Plus},
    {0xffaf, Qt::Key_Slash},  {0xff8d, Qt::Key_Enter},   {0xffad, Qt::Key_Minus},     {0xffbd, Qt::Key_Equal},
    {0xff63, Qt::Key_Insert}, {0xff13, Qt::Key_Pause},
};

constexpr std::uint32_t keysymF1 = 0xffbe, keysymF20 = 0xffd1, keysymKeypad0 = 0xffb0, keysymKeypad9 = 0xffb9;

std::optional<Qt::Key> qtKeyOfKeysym(std::uint32_t keysym) {
    if (keysym >= 'a' && keysym <= 'z')
        return static_cast<Qt::Key>(keysym - 'a' + 'A');
    if (keysym >= 0x20 && keysym <= 0xff)
        return static_cast<Qt::Key>(keysym); // Latin-1 Qt keys are the character's code
    if (keysym >= keysymF1 && keysym <= keysymF20)
        return static_cast<Qt::Key>(Qt::Key_F1 + static_cast<int>(keysym - keysymF1));
    if (keysym >= keysymKeypad0 && keysym <= keysymKeypad9)
        return static_cast<Qt::Key>(Qt::Key_0 + static_cast<int>(keysym - keysymKeypad0));
    for (const auto& special : specials) {
        if (special.keysym == keysym)
            return special.key;
    }
    return std::nullopt;
}

// A key in stored terms: its table row, or, for a key that types a character the table lacks
// ("ö", "é"), a keysym code with that character upper-cased as its label.
std::optional<ShortcutRecorder::KeyPress> storedKey(std::uint32_t keysym) {
    if (const KeyCodes::Entry* entry = KeyCodes::forKeysym(keysym))
        return ShortcutRecorder::KeyPress{entry->keyCode, 0, std::string(entry->label)};
    const xkb_keysym_t lower = xkb_keysym_to_lower(keysym);
    const std::uint32_t character = xkb_keysym_to_utf32(lower);
    if (character <= 0x20 || (character >= 0x7f && character <= 0xa0) || lower >= KeyCodes::keysymCodes)
        return std::nullopt;
    char label[8] = {};
    if (xkb_keysym_to_utf8(xkb_keysym_to_upper(lower), label, sizeof label) <= 1)
        xkb_keysym_to_utf8(lower, label, sizeof label);
    return ShortcutRecorder::KeyPress{KeyCodes::keysymCodes + lower, 0, label};
}

bool isDigit(std::uint32_t keysym) {
    return keysym >= '0' && keysym <= '9';
}

// The key as the layout names it without Shift; French and Belgian layouts type digits only with
// Shift, so there a number-row key whose plain keysym is not in the table is its digit.
std::optional<ShortcutRecorder::KeyPress> storedKey(const X11KeyboardLayout::KeyLevels& levels) {
    if (!KeyCodes::forKeysym(levels.plain) && isDigit(levels.shifted))
        return storedKey(levels.shifted);
    return storedKey(levels.plain);
}

} // namespace

std::optional<QKeyCombination> qtKey(std::uint32_t keyCode) {
    const KeyCodes::Entry* entry = KeyCodes::forKeyCode(keyCode);
    if (!entry)
        return std::nullopt;
    const auto key = qtKeyOfKeysym(entry->keysym);
    if (!key)
        return std::nullopt;
    return QKeyCombination(entry->keypad ? Qt::KeypadModifier : Qt::NoModifier, *key);
}

std::optional<std::uint32_t> keyCode(Qt::Key key, bool keypad) {
    for (const auto& entry : KeyCodes::entries()) {
        if (entry.keypad == keypad && qtKeyOfKeysym(entry.keysym) == key)
            return entry.keyCode;
    }
    return std::nullopt;
}

std::uint32_t modifiers(Qt::KeyboardModifiers qtModifiers) {
    std::uint32_t result = 0;
    if (qtModifiers & Qt::ControlModifier)
        result |= KeyboardShortcut::controlMask;
    if (qtModifiers & Qt::AltModifier)
        result |= KeyboardShortcut::optionMask;
    if (qtModifiers & Qt::ShiftModifier)
        result |= KeyboardShortcut::shiftMask;
    if (qtModifiers & Qt::MetaModifier)
        result |= KeyboardShortcut::commandMask;
    return result;
}

Qt::KeyboardModifiers qtModifiers(std::uint32_t modifiers) {
    Qt::KeyboardModifiers result;
    if (modifiers & KeyboardShortcut::controlMask)
        result |= Qt::ControlModifier;
    if (modifiers & KeyboardShortcut::optionMask)
        result |= Qt::AltModifier;
    if (modifiers & KeyboardShortcut::shiftMask)
        result |= Qt::ShiftModifier;
    if (modifiers & KeyboardShortcut::commandMask)
        result |= Qt::MetaModifier;
    return result;
}

ShortcutRecorder::KeyPress keyPress(const QKeyEvent& event) {
    std::optional<ShortcutRecorder::KeyPress> key;
    if (const auto levels = X11KeyboardLayout::levels(event.nativeScanCode(), event.nativeModifiers())) {
        key = storedKey(*levels);
    } else {
        // Elsewhere the keysym Qt gives is the one typed, Shift and all; the table folds letters.
        key = storedKey(event.nativeVirtualKey());
        if (!key) {
            const auto code =
                keyCode(static_cast<Qt::Key>(event.key()), event.modifiers().testFlag(Qt::KeypadModifier));
            if (const KeyCodes::Entry* entry = code ? KeyCodes::forKeyCode(*code) : nullptr)
                key = ShortcutRecorder::KeyPress{entry->keyCode, 0, std::string(entry->label)};
        }
    }
    ShortcutRecorder::KeyPress press = key.value_or(ShortcutRecorder::KeyPress{});
    press.modifiers = modifiers(event.modifiers());
    return press;
}

} // namespace sorvala::QtKeyCodes
