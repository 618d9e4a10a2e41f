// SPDX-License-Identifier: MIT
#include "app/KeyCodes.h"
#include "app/KeyboardShortcut.h"
#include "platform/x11/QtKeyCodes.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(QtKeyCodeTable, EveryEntryIsFoundBothWays) {
    for (const auto& entry : KeyCodes::entries()) {
        SCOPED_TRACE(entry.keysymName);
        const auto combination = QtKeyCodes::qtKey(entry.keyCode);
        ASSERT_TRUE(combination.has_value());
        EXPECT_EQ(combination->keyboardModifiers().testFlag(Qt::KeypadModifier), entry.keypad);
        EXPECT_EQ(QtKeyCodes::keyCode(combination->key(), entry.keypad), entry.keyCode);
    }
    EXPECT_EQ(QtKeyCodes::qtKey(11)->key(), Qt::Key_B);
    EXPECT_EQ(QtKeyCodes::qtKey(KeyCodes::backspace)->key(), Qt::Key_Backspace);
    EXPECT_EQ(QtKeyCodes::keyCode(Qt::Key_Minus, false), 27u);
    EXPECT_EQ(QtKeyCodes::keyCode(Qt::Key_Minus, true), 78u);
    EXPECT_EQ(QtKeyCodes::keyCode(Qt::Key_VolumeUp, false), std::nullopt);
    EXPECT_EQ(QtKeyCodes::qtKey(200), std::nullopt);
}

TEST(QtKeyCodeTable, RecorderKeyPressPrefersTheKeysym) {
    // Ctrl+Shift+B as X reports it: the keysym is the shifted letter, the text a control character.
    const QKeyEvent shifted(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier, 56, 'B', 0x5,
                            QStringLiteral("\x02"));
    const auto press = QtKeyCodes::keyPress(shifted);
    EXPECT_EQ(press.keyCode, 11u);
    EXPECT_EQ(press.characters, "B");
    EXPECT_EQ(press.modifiers, KeyboardShortcut::controlMask | KeyboardShortcut::shiftMask);
    EXPECT_EQ(QtKeyCodes::modifiers(Qt::MetaModifier | Qt::AltModifier | Qt::KeypadModifier), 256u + 2048u);
    EXPECT_EQ(QtKeyCodes::qtModifiers(6400), Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);

    const QKeyEvent noNativeKey(QEvent::KeyPress, Qt::Key_PageUp, Qt::MetaModifier);
    EXPECT_EQ(QtKeyCodes::keyPress(noNativeKey).keyCode, 116u);
    EXPECT_EQ(QtKeyCodes::keyPress(noNativeKey).characters, "PgUp");

    // Without X the keysym is taken as typed: a shifted letter beyond the table is its own key.
    const QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Odiaeresis, Qt::ControlModifier | Qt::ShiftModifier, 0, 0xd6, 0);
    EXPECT_EQ(QtKeyCodes::keyPress(umlaut).keyCode, KeyCodes::keysymCodes + 0xf6);
    EXPECT_EQ(QtKeyCodes::keyPress(umlaut).characters, "Ö");

    const QKeyEvent mediaKey(QEvent::KeyPress, Qt::Key_VolumeUp, Qt::ControlModifier);
    EXPECT_EQ(QtKeyCodes::keyPress(mediaKey).keyCode, std::nullopt);
}

} // namespace
} // namespace sorvala
