// SPDX-License-Identifier: MIT
#include "app/HotKeys.h"
#include "app/ports/HotKeyRegistrar.h"
#include "app/ports/ShortcutCommands.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

using ::testing::ElementsAre;

// Registers everything except the combinations listed as taken.
class FakeRegistrar final : public HotKeyRegistrar {
public:
    bool available() const override { return true; }
    std::vector<std::optional<std::string>> replaceBindings(const std::vector<Binding>& bindings) override {
        registered.clear();
        std::vector<std::optional<std::string>> results;
        for (const auto& binding : bindings) {
            const bool isFree = !taken.count(binding.shortcut.encoded());
            results.push_back(isFree ? std::nullopt : std::optional<std::string>("10"));
            if (isFree)
                registered.push_back(binding.shortcut.encoded());
        }
        return results;
    }
    void setPressedHandler(std::function<void(ShortcutAction)>) override {}

    std::set<std::string> taken;
    std::vector<std::string> registered;
};

class RecordingCommands final : public ShortcutCommands {
public:
    void toggleBreakFromHotKey() override { calls.emplace_back("toggleBreak"); }
    void startMicroBreakNow() override { calls.emplace_back("startMicroBreak"); }
    bool isPaused() const override { return paused; }
    void resumeReminders() override { calls.emplace_back("resume"); }
    void pauseUntilResumed() override { calls.emplace_back("pause"); }
    void snoozeFromHotKey(int minutes) override { calls.push_back("snooze " + std::to_string(minutes)); }

    bool paused = false;
    std::vector<std::string> calls;
};

TEST(HotKeyRegistration, ATakenBindingIsLoggedAndTheOthersStillRegister) {
    MemoryPreferences store;
    store.set(SettingsSchema::shortcutTogglePauseKey, std::string("2304:35:P"));
    store.set(SettingsSchema::shortcutSnoozeFiveMinutesKey, std::string("4096:23:5"));
    store.set(SettingsSchema::shortcutStartMicroBreakKey, std::string("garbage"));
    FakeRegistrar registrar;
    registrar.taken = {"2304:35:P"};
    RecordingLogger log;
    EXPECT_EQ(HotKeys::registerHotKeys(store, registrar, log), 2);
    EXPECT_THAT(registrar.registered, ElementsAre("6400:11:B", "4096:23:5"));
    EXPECT_THAT(log.lines, ElementsAre("hot key registration failed action=togglePause key=P status=10",
                                       "hot keys registered count=2"));
}

TEST(HotKeyPress, OurOwnWindowsFindTheBoundActionByKeyAndModifiers) {
    const std::vector<HotKeyRegistrar::Binding> bindings{{ShortcutAction::toggleBreak, {11, 6400, "B"}},
                                                         {ShortcutAction::snoozeOneMinute, {35, 2304, "P"}}};
    EXPECT_EQ(HotKeys::actionFor(bindings, 35, 2304), ShortcutAction::snoozeOneMinute);
    EXPECT_EQ(HotKeys::actionFor(bindings, 11, 6400 | 512), std::nullopt) << "Shift added";
    EXPECT_EQ(HotKeys::actionFor(bindings, 11, 4096), std::nullopt);
}

TEST(HotKeyPress, EachActionReachesItsCommand) {
    RecordingCommands commands;
    RecordingLogger log;
    for (const auto action : allShortcutActions)
        HotKeys::perform(action, commands, log);
    commands.paused = true;
    HotKeys::perform(ShortcutAction::togglePause, commands, log);
    EXPECT_THAT(commands.calls, ElementsAre("toggleBreak", "startMicroBreak", "pause", "snooze 1", "snooze 5",
                                            "snooze 15", "resume"));
    EXPECT_EQ(log.lines.front(), "hot key pressed action=toggleBreak");
    EXPECT_EQ(log.lines.back(), "hot key pressed action=togglePause");
}

} // namespace
} // namespace sorvala
