// SPDX-License-Identifier: MIT
#include "app/KeyCodes.h"
#include "app/KeyboardShortcut.h"
#include "app/ShortcutAction.h"
#include "app/ShortcutRecorder.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <set>

namespace sorvala {
namespace {

constexpr auto ctrl = KeyboardShortcut::controlMask;
constexpr auto alt = KeyboardShortcut::optionMask;
constexpr auto shift = KeyboardShortcut::shiftMask;
constexpr auto super = KeyboardShortcut::commandMask;

TEST(KeyboardShortcutText, DecodesOnlyThreePartsWithTwoUnsignedNumbers) {
    struct Case { const char* name; const char* text; std::optional<KeyboardShortcut> decoded; };
    const Case cases[] = {
        {"the default", "6400:11:B", KeyboardShortcut{11, ctrl | alt | super, "B"}},
        {"alt super P", "2304:35:P", KeyboardShortcut{35, alt | super, "P"}},
        {"label that is a colon", "4096:41::", KeyboardShortcut{41, ctrl, ":"}},
        {"colon inside a label", "4096:41:a:b", KeyboardShortcut{41, ctrl, "a:b"}},
        {"invalid combination still decodes", "512:11:B", KeyboardShortcut{11, shift, "B"}},
        {"two parts", "256:35", std::nullopt},
        {"empty label", "256:35:", std::nullopt},
        {"negative key code", "256:-1:P", std::nullopt},
        {"signed modifiers", "+256:35:P", std::nullopt},
        {"beyond 32 bits", "4294967296:35:P", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(KeyboardShortcut::fromEncoded(c.text), c.decoded);
        if (c.decoded) {
            EXPECT_EQ(c.decoded->encoded(), c.text);
        }
    }
}

TEST(KeyboardShortcutText, ValidityAndDisplayUseLinuxModifierWords) {
    EXPECT_EQ((KeyboardShortcut{11, ctrl | alt | super, "B"}.displayString()), "Ctrl+Alt+Super+B");
    EXPECT_EQ((KeyboardShortcut{11, super | shift | alt | ctrl, "B"}.displayString()), "Ctrl+Alt+Shift+Super+B");
    EXPECT_EQ((KeyboardShortcut{11, alt | shift, "B"}.displayString()), "Alt+Shift+B");
    for (const auto modifiers : {ctrl, alt, super, alt | shift})
        EXPECT_TRUE((KeyboardShortcut{11, modifiers, "B"}.isValid())) << modifiers;
    for (const std::uint32_t modifiers : {0u, shift, 1u << 20})
        EXPECT_FALSE((KeyboardShortcut{11, modifiers, "B"}.isValid())) << modifiers;
    EXPECT_NE((KeyboardShortcut{11, ctrl, "B"}), (KeyboardShortcut{11, ctrl, "b"}));
}

TEST(ShortcutActionTable, WordsRoundTripAndOnlyToggleBreakHasADefault) {
    std::set<std::string_view> keys;
    for (const auto action : allShortcutActions) {
        EXPECT_EQ(shortcutActionFromText(text(action)), action);
        EXPECT_EQ(shortcutActionFromRawValue(rawValue(action)), action);
        EXPECT_EQ(shortcutActionFromCommandLineName(commandLineName(action)), action);
        keys.insert(defaultsKey(action));
        EXPECT_EQ(defaultShortcut(action).has_value(), action == ShortcutAction::toggleBreak);
    }
    EXPECT_EQ(keys.size(), 6u);
    EXPECT_EQ(shortcutActionFromRawValue(6), std::nullopt);
    EXPECT_EQ(shortcutActionFromCommandLineName("snooze-10"), std::nullopt);
}

TEST(ShortcutActionStorage, MissingMeansDefaultAndAnythingUndecodableMeansNone) {
    MemoryPreferences store;
    EXPECT_EQ(storedShortcut(ShortcutAction::toggleBreak, store), defaultShortcut(ShortcutAction::toggleBreak));
    EXPECT_EQ(storedShortcut(ShortcutAction::togglePause, store), std::nullopt);
    EXPECT_TRUE(store.storedValues().empty()) << "reading must not store the default";

    store.set(SettingsSchema::shortcutToggleBreakKey, std::string());
    EXPECT_EQ(storedShortcut(ShortcutAction::toggleBreak, store), std::nullopt) << "a cleared default stays cleared";
    store.set(SettingsSchema::shortcutToggleBreakKey, std::vector<std::string>{"6400:11:B"});
    EXPECT_EQ(storedShortcut(ShortcutAction::toggleBreak, store), std::nullopt);
    store.set(SettingsSchema::shortcutTogglePauseKey, std::string("2304:35:P"));
    EXPECT_EQ(storedShortcut(ShortcutAction::togglePause, store), (KeyboardShortcut{35, alt | super, "P"}));

    EXPECT_EQ(shortcut(ShortcutAction::toggleBreak, std::nullopt), defaultShortcut(ShortcutAction::toggleBreak));
    EXPECT_EQ(shortcut(ShortcutAction::toggleBreak, std::string("256:35")), std::nullopt);
}

TEST(ShortcutRecorderRule, EscapeCancelsDeleteClearsInvalidBeepsAndKeeps) {
    const KeyboardShortcut old{11, ctrl | alt | super, "B"};
    using ShortcutRecorder::Outcome;
    struct Case { const char* name; ShortcutRecorder::KeyPress press; Outcome outcome; };
    const Case cases[] = {
        {"escape cancels", {KeyCodes::escape, ctrl, ""}, {old, false}},
        {"backspace clears", {KeyCodes::backspace, 0, ""}, {std::nullopt, false}},
        {"bare delete clears", {KeyCodes::forwardDelete, shift, ""}, {std::nullopt, false}},
        {"ctrl delete is a binding", {KeyCodes::forwardDelete, ctrl, "Del"}, {KeyboardShortcut{117, ctrl, "Del"}, false}},
        {"shift B alone beeps", {11, shift, "b"}, {old, true}},
        {"unknown key beeps", {std::nullopt, ctrl, "x"}, {old, true}},
        {"alt shift B is accepted", {11, alt | shift, "b"}, {KeyboardShortcut{11, alt | shift, "B"}, false}},
        {"no characters give a question mark", {35, super, ""}, {KeyboardShortcut{35, super, "?"}, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ShortcutRecorder::record(old, c.press), c.outcome);
    }
    EXPECT_EQ(ShortcutRecorder::title(std::nullopt), "Record Shortcut");
    EXPECT_EQ(ShortcutRecorder::title(KeyboardShortcut{11, alt | shift, "B"}), "Alt+Shift+B");
}

} // namespace
} // namespace sorvala
