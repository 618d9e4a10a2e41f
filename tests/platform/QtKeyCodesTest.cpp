// SPDX-License-Identifier: MIT
#include "app/KeyCodes.h"
#include "app/KeyboardShortcut.h"
#include "platform/x11/QtKeyCodes.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

#include <X11/Xlib.h> // last: its macros (None, KeyPress, ...) clash with other headers
#undef KeyPress

#include <string>

namespace sorvala {
namespace {

TEST(QtKeyCodeTable, EveryEntryIsFoundBothWaysAndItsKeysymNumberMatchesXlibsName) {
    for (const auto& entry : KeyCodes::entries()) {
        SCOPED_TRACE(entry.keysymName);
        EXPECT_EQ(XStringToKeysym(std::string(entry.keysymName).c_str()), entry.keysym);
        const auto combination = QtKeyCodes::qtKey(entry.keyCode);
        ASSERT_TRUE(combination.has_value());
        EXPECT_EQ(combination->keyboardModifiers().testFlag(Qt::KeypadModifier), entry.keypad);
        EXPECT_EQ(QtKeyCodes::keyCode(combination->key(), entry.keypad), entry.keyCode);
    }
    EXPECT_EQ(QtKeyCodes::keyCode(Qt::Key_VolumeUp, false), std::nullopt);
    EXPECT_EQ(QtKeyCodes::qtKey(200), std::nullopt);
}

// Presses as X reports them, shifted ones too, are recorded on real layouts in the settings
// window's tests; here what they cannot reach.
TEST(QtKeyCodeTable, RecorderKeyPressPrefersTheKeysym) {
    EXPECT_EQ(QtKeyCodes::qtModifiers(6400), Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);

    // Without X the keysym is taken as typed: a shifted letter beyond the table is its own key.
    const QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Odiaeresis, Qt::ControlModifier | Qt::ShiftModifier, 0, 0xd6, 0);
    EXPECT_EQ(QtKeyCodes::keyPress(umlaut).keyCode, KeyCodes::keysymCodes + 0xf6);
    EXPECT_EQ(QtKeyCodes::keyPress(umlaut).characters, "Ö");

    const QKeyEvent mediaKey(QEvent::KeyPress, Qt::Key_VolumeUp, Qt::ControlModifier);
    EXPECT_EQ(QtKeyCodes::keyPress(mediaKey).keyCode, std::nullopt);
}

} // namespace
} // namespace sorvala
