// SPDX-License-Identifier: MIT
#include "platform/QtKeyCodes.h"

#include "app/KeyCodes.h"
#include "app/KeyboardShortcut.h"

#include <QKeyEvent>

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
    const KeyCodes::Entry* entry = KeyCodes::forKeysym(event.nativeVirtualKey());
    if (!entry) {
        const auto code = keyCode(static_cast<Qt::Key>(event.key()), event.modifiers().testFlag(Qt::KeypadModifier));
        entry = code ? KeyCodes::forKeyCode(*code) : nullptr;
    }
    ShortcutRecorder::KeyPress press;
    press.modifiers = modifiers(event.modifiers());
    if (entry) {
        press.keyCode = entry->keyCode;
        press.characters = std::string(entry->label);
    }
    return press;
}

} // namespace sorvala::QtKeyCodes
