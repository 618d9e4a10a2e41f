// SPDX-License-Identifier: MIT
#include "settings/SettingsDraft.h"
#include "settings/SettingsPages.h"

#include "app/SettingsSchema.h"
#include "drawing/AppearanceKeys.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using namespace SettingsSchema;
constexpr int drawings = 12;

// A value of the row's type that differs from its factory default and lies in the editor's range.
PreferenceValue changed(const Setting& row) {
    if (!row.editorChoices.empty())
        return row.editorChoices.back();
    if (row.key == enforcementLongBreaksKey || row.key == enforcementMicroBreaksKey)
        return std::string("hardcore");
    if (row.key == soundPairKey)
        return std::string("Tink");
    if (row.key == fixedBreakTimesKey)
        return std::string("07:05, 13:30");
    switch (row.factoryDefault.type()) {
    case FactoryDefault::Type::boolean: return !std::get<bool>(row.factoryDefault.stored());
    case FactoryDefault::Type::integer: return std::int64_t(row.editorRange ? row.editorRange->maximum : 7);
    case FactoryDefault::Type::number: return 0.75;
    case FactoryDefault::Type::text: return std::string("notify-send hi");
    case FactoryDefault::Type::textList: return std::vector<std::string>{"a.desktop", "b"};
    }
    return false;
}

TEST(SettingsDraft, EverySettingHasARowOnSomePage) {
    for (const auto& row : settings()) {
        SCOPED_TRACE(std::string(row.key));
        // The end of working hours shares the "Hours" row with its start.
        const std::string key(row.key == workingHoursEndMinutesKey ? workingHoursStartMinutesKey : row.key);
        EXPECT_NE(SettingsPages::rowFor(key), nullptr);
    }
}

TEST(SettingsDraft, EveryChangedSettingIsStoredInItsSchemaTypeAndReadsBack) {
    MemoryPreferences store;
    auto draft = SettingsDraft::load(store, drawings);
    for (const auto& row : settings())
        ASSERT_TRUE(draft.set(row.key, changed(row))) << row.key;
    // A cleared binding is stored as empty text, so the default does not come back on reading.
    draft.setShortcut(ShortcutAction::toggleBreak, std::nullopt);
    draft.setShortcut(ShortcutAction::snoozeFiveMinutes, KeyboardShortcut{35, 2304, "P"});
    draft.save(store);

    for (const auto& row : settings()) {
        SCOPED_TRACE(std::string(row.key));
        const auto stored = store.storedValues().find(std::string(row.key));
        ASSERT_NE(stored, store.storedValues().end());
        EXPECT_EQ(stored->second.index(), row.factoryDefault.stored().index());
        EXPECT_EQ(stored->second, changed(row));
    }
    const auto again = SettingsDraft::load(store, drawings);
    EXPECT_EQ(again, draft);
    EXPECT_EQ(again.shortcut(ShortcutAction::toggleBreak), std::nullopt);
    EXPECT_EQ(again.shortcut(ShortcutAction::snoozeFiveMinutes), (KeyboardShortcut{35, 2304, "P"}));
}

TEST(SettingsDraft, ValuesOfTheWrongTypeOrOutOfRangeAreReadAsTheEditorShowsThem) {
    MemoryPreferences store;
    store.set(reminderMinutesKey, std::string("25"));
    store.set(microMinutesKey, std::int64_t(9999));
    store.set(breakCycleEnabledKey, std::int64_t(0));
    store.set(enforcementLongBreaksKey, std::string("strict"));
    store.set(soundPairKey, std::string("Nope"));
    store.set(breaksSoundVolumeKey, 3.0);
    store.set(AppearanceKeys::speedKey, 12.0);
    const auto draft = SettingsDraft::load(store, drawings);
    EXPECT_EQ(draft.value(reminderMinutesKey)->index(), 1u);
    EXPECT_EQ(draft.integer(reminderMinutesKey), 25);
    EXPECT_EQ(draft.integer(microMinutesKey), 120);
    EXPECT_FALSE(draft.boolean(breakCycleEnabledKey));
    EXPECT_EQ(draft.text(enforcementLongBreaksKey), "casual");
    EXPECT_EQ(draft.text(soundPairKey), "Glass");
    EXPECT_EQ(draft.number(breaksSoundVolumeKey), 1.0);
    EXPECT_EQ(draft.number(AppearanceKeys::speedKey), 3.0);
    // Nothing is written by reading.
    EXPECT_EQ(store.storedValues().count(std::string(microMinutesKey)), 1u);
    EXPECT_EQ(std::get<std::int64_t>(store.storedValues().at(std::string(microMinutesKey))), 9999);
}

TEST(SettingsDraft, FactoryStateSavesTheFactoryDefaultsAndTheDefaultBinding) {
    MemoryPreferences store;
    auto edited = SettingsDraft::load(store, drawings);
    for (const auto& row : settings())
        edited.set(row.key, changed(row));
    edited.setShortcut(ShortcutAction::toggleBreak, std::nullopt);
    edited.setDrawingEnabled(3, false);
    edited.save(store);

    SettingsDraft::factory(drawings).save(store);
    for (const auto& row : settings()) {
        SCOPED_TRACE(std::string(row.key));
        EXPECT_EQ(store.object(row.key), row.factoryDefault.stored());
    }
    EXPECT_EQ(store.text(defaultsKey(ShortcutAction::toggleBreak)), "6400:11:B");
    EXPECT_EQ(store.text(defaultsKey(ShortcutAction::togglePause)), "");
    EXPECT_EQ(store.integer(AppearanceKeys::enabledDrawingsKey), 4095);
    EXPECT_EQ(SettingsDraft::load(store, drawings), SettingsDraft::factory(drawings));
}

TEST(SettingsDraft, GreyingFollowsEachDependencyChainOfTheUnsavedState) {
    using Edits = std::vector<std::pair<std::string_view, PreferenceValue>>;
    struct Case { const char* name; Edits edits; std::string_view key; bool live; };
    const std::int64_t zero = 0;
    const Case cases[] = {
        {"cycle length with defaults", {}, breakCycleLengthKey, true},
        {"cycle off", {{breakCycleEnabledKey, false}}, breakCycleLengthKey, false},
        {"micro breaks off greys the cycle switch", {{microMinutesKey, zero}}, breakCycleEnabledKey, false},
        {"micro breaks off greys the length too", {{microMinutesKey, zero}}, breakCycleLengthKey, false},
        {"hours while working hours off", {}, workingHoursStartMinutesKey, false},
        {"days once working hours on", {{workingHoursEnabledKey, true}}, workingWeekdaysMaskKey, true},
        {"snoozes shown with one limit", {{snoozesPerSessionKey, zero}, {snoozesPerDayKey, std::int64_t{4}}},
         showSnoozesRemainingKey, true},
        {"snoozes shown with no limit", {{snoozesPerSessionKey, zero}}, showSnoozesRemainingKey, false},
        {"position while countdown off", {}, preBreakOverlayPositionKey, false},
        {"position with countdown on", {{preBreakOverlayKey, true}}, preBreakOverlayPositionKey, true},
        {"while paused needs the nudge", {{overtimeNudgeKey, false}}, overtimeNudgeWhilePausedKey, false},
        {"nudge volume breaks at the first link", {{overtimeNudgeKey, false}}, nudgesSoundVolumeKey, false},
        {"nudge volume with defaults", {}, nudgesSoundVolumeKey, true},
        {"sound pair without the chime", {{softChimeEnabledKey, false}}, soundPairKey, false},
        {"reminder volume with all chimes off", {}, remindersSoundVolumeKey, false},
        {"reminder volume, a chime", {{activeAfterIdleSoundEnabledKey, true}}, remindersSoundVolumeKey, true},
        {"cadence with both glyphs off", {}, wellnessIntervalMinutesKey, false},
        {"cadence with blink on", {{wellnessBlinkKey, true}}, wellnessIntervalMinutesKey, true},
        {"calendars while the cause is off", {}, calendarSourcesKey, false},
        {"calendars with the cause on", {{pauseDuringCalendarEventsKey, true}}, calendarSourcesKey, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto draft = SettingsDraft::factory(drawings);
        for (const auto& [key, value] : c.edits)
            draft.set(key, value);
        EXPECT_EQ(draft.isLive(c.key), c.live);
    }
}

TEST(SettingsDraft, PlannedTimesThatCanNeverFireRefuseTheSave) {
    auto draft = SettingsDraft::factory(drawings);
    draft.setPlannedTimes({{18, 0}, {7, 5}, {12, 0}, {18, 0}});
    EXPECT_EQ(draft.text(fixedBreakTimesKey), "07:05, 12:00, 18:00, 18:00");
    EXPECT_EQ(draft.plannedBreakRejection(), std::nullopt) << "working hours are off";

    draft.set(workingHoursEnabledKey, true);
    EXPECT_EQ(draft.neverFiringTimes(), (std::vector<std::string>{"07:05", "18:00"}));
    EXPECT_EQ(
        draft.plannedBreakRejection(),
        "These planned breaks would never fire because they fall outside the working hours window: 07:05, "
        "18:00. Change the times or widen the working hours.");

    draft.set(workingWeekdaysMaskKey, std::int64_t(0));
    EXPECT_EQ(draft.neverFiringTimes().size(), 3u);
    EXPECT_TRUE(draft.plannedBreakRejection()->starts_with("No working weekday is ticked"));

    draft.set(workingWeekdaysMaskKey, std::int64_t(62));
    draft.set(workingHoursStartMinutesKey, std::int64_t(22 * 60));
    draft.set(workingHoursEndMinutesKey, std::int64_t(19 * 60));
    EXPECT_EQ(draft.plannedBreakRejection(), std::nullopt) << "an overnight window holds them all";
}

TEST(SettingsDraft, ASaveKeepsWhatChangedElsewhereWhileTheWindowWasOpen) {
    MemoryPreferences store;
    const auto opened = SettingsDraft::load(store, drawings);
    auto edits = opened;
    edits.set(microMinutesKey, std::int64_t(25));
    edits.setDrawingEnabled(0, false);

    // The command line changes two settings meanwhile, one of them also edited in the window.
    store.set(reminderMinutesKey, std::int64_t(45));
    store.set(microMinutesKey, std::int64_t(30));
    store.set(defaultsKey(ShortcutAction::togglePause), std::string("4096:35:P"));

    edits.mergedOver(opened, SettingsDraft::load(store, drawings)).save(store);
    EXPECT_EQ(store.integer(reminderMinutesKey), 45);
    EXPECT_EQ(store.integer(microMinutesKey), 25);
    EXPECT_EQ(store.text(defaultsKey(ShortcutAction::togglePause)), "4096:35:P");
    EXPECT_EQ(SettingsDraft::load(store, drawings).enabledDrawings().count(0), 0u);
}

TEST(SettingsDraft, KeysTheWindowDoesNotEditAreRefused) {
    auto draft = SettingsDraft::factory(drawings);
    EXPECT_FALSE(draft.set("sessionState", std::string("x")));
    EXPECT_EQ(draft.value("sessionState"), nullptr);
    EXPECT_TRUE(draft.set(AppearanceKeys::inkKey, std::int64_t(40)));
    EXPECT_EQ(draft.integer(AppearanceKeys::inkKey), Settings::inkCount - 1);
}

} // namespace
} // namespace sorvala
