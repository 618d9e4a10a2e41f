// SPDX-License-Identifier: MIT
#pragma once

#include "app/ShortcutRecorder.h"

#include <QKeyCombination>

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace sorvala::QtKeyCodes {

/// The Qt key of a stored key code (keypad keys carry Qt::KeypadModifier); nullopt for a code
/// outside the table.
std::optional<QKeyCombination> qtKey(std::uint32_t keyCode);
/// The stored key code of a Qt key, telling keypad keys apart; nullopt for a key outside the table.
std::optional<std::uint32_t> keyCode(Qt::Key key, bool keypad);

/// The stored modifier mask of Qt's modifiers: Ctrl, Alt, Shift, and Meta as Super.
std::uint32_t modifiers(Qt::KeyboardModifiers qtModifiers);
/// Qt's modifiers for a stored mask.
Qt::KeyboardModifiers qtModifiers(std::uint32_t modifiers);

/// A key press as the recorder decides on it. On X11 the key is what the layout in force types on
/// that key without Shift (Ctrl+Shift+1 is 1, not !), elsewhere the keysym Qt gives, else the Qt
/// key; the label is the table's, or the key's character upper-cased for a key beyond the table.
ShortcutRecorder::KeyPress keyPress(const QKeyEvent& event);

} // namespace sorvala::QtKeyCodes
