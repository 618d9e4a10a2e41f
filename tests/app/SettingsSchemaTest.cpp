// SPDX-License-Identifier: MIT
#include "app/SettingsSchema.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <cctype>

namespace sorvala {
namespace {

using namespace SettingsSchema;
using Strings = std::vector<std::string>;

MemoryPreferences registeredStore() {
    MemoryPreferences store;
    registerDefaults(store);
    return store;
}

TEST(SettingsSchemaTable, KeysAreUniqueLowerCamelAndDependenciesCanBeDependedOn) {
    EXPECT_EQ(byKey().size(), settings().size()) << "a key appears twice";
    for (const Setting& setting : settings()) {
        SCOPED_TRACE(std::string(setting.key));
        ASSERT_FALSE(setting.key.empty());
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(setting.key.front())));
        for (const char c : setting.key)
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)));
        for (const std::string_view dependency : setting.dependsOn) {
            const auto found = byKey().find(dependency);
            ASSERT_NE(found, byKey().end()) << dependency;
            EXPECT_TRUE(found->second->factoryDefault.canBeDependedOn()) << dependency;
        }
        if (setting.editorRange || !setting.editorChoices.empty()) {
            const auto type = setting.factoryDefault.type();
            EXPECT_TRUE(type == FactoryDefault::Type::integer || type == FactoryDefault::Type::number);
            // The factory default is something the editor itself would offer.
            EXPECT_TRUE(setting.acceptsInEditor(PreferenceConversion::toNumber(setting.factoryDefault.stored())));
        }
    }
}

TEST(SettingsSchemaTable, AFreshStoreReadsEveryFactoryDefault) {
    const MemoryPreferences store = registeredStore();
    EXPECT_EQ(store.registrationKeys().size(), settings().size());
    for (const Setting& setting : settings())
        EXPECT_EQ(store.object(setting.key), setting.factoryDefault.stored()) << setting.key;
}

TEST(SettingsSchemaLiveness, DependencyChains) {
    struct Case { const char* name; std::map<std::string, PreferenceValue> stored; std::string_view key; bool live; };
    // Each chain is walked link by link by the settings draft's greying table; the stored form adds
    // keys it does not know and how stored values of other types read.
    const Case cases[] = {
        {"no dependencies", {}, reminderMinutesKey, true},
        {"unknown key", {}, "noSuchKey", true},
        {"micro off kills the cycle length even with the switch on",
         {{"microMinutes", std::int64_t{0}}, {"breakCycleEnabled", true}}, breakCycleLengthKey, false},
        {"snoozes remaining with the daily limit only",
         {{"snoozesPerSession", std::int64_t{0}}, {"snoozesPerDay", std::int64_t{5}}}, showSnoozesRemainingKey, true},
        {"calendar sources follow the calendar cause", {}, calendarSourcesKey, false},
        {"a number counts as on when not zero", {{"pauseDuringCalendarEvents", 0.5}}, calendarSourcesKey, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPreferences store = registeredStore();
        for (const auto& [key, value] : c.stored)
            store.set(key, value);
        EXPECT_EQ(isLive(c.key, store), c.live);
    }
}

TEST(SettingsSchemaMigration, StrictSwitchesBecomeTiersOnceAndNeverOverAStoredTier) {
    MemoryPreferences store;
    store.set(strictLongBreaksEnabledKey, true);
    store.set(strictMicroBreaksEnabledKey, std::string("0")); // as another process left it
    migrateRetiredEnforcementKeys(store);
    EXPECT_EQ(store.text(enforcementLongBreaksKey), "hardcore");
    EXPECT_EQ(store.text(enforcementMicroBreaksKey), "casual");
    EXPECT_TRUE(store.object(strictLongBreaksEnabledKey)) << "the retired key stays";

    const int writes = store.writeCount();
    migrateRetiredEnforcementKeys(store);
    EXPECT_EQ(store.writeCount(), writes);

    MemoryPreferences tiered;
    tiered.set(enforcementMicroBreaksKey, std::string("balanced"));
    tiered.set(strictMicroBreaksEnabledKey, true);
    migrateRetiredEnforcementKeys(tiered);
    EXPECT_EQ(tiered.text(enforcementMicroBreaksKey), "balanced");
    EXPECT_EQ(tiered.object(enforcementLongBreaksKey), std::nullopt) << "nothing is invented";
}

TEST(SettingsChangesDescribe, ChangesInKeyOrderAndNothingForEqualValues) {
    MemoryPreferences store = registeredStore();
    const auto before = SettingsChanges::snapshot(store);
    store.set(microMinutesKey, std::int64_t{25});
    store.set(breakCycleLengthKey, std::int64_t{4});
    store.set(soundPairKey, std::string("Glass")); // equal to the default: no change
    const auto after = SettingsChanges::snapshot(store);
    EXPECT_EQ(SettingsChanges::describe(before, after), (Strings{"breakCycleLength=3->4", "microMinutes=20->25"}));
    EXPECT_EQ(SettingsChanges::describe(after, after), Strings{});
    EXPECT_EQ(SettingsChanges::describe({}, {{"a", "1"}}), Strings{"a=unset->1"});
}

TEST(SettingsChangesDescribe, HookCommandsAreLoggedRedacted) {
    MemoryPreferences store = registeredStore();
    const auto before = SettingsChanges::snapshot(store);
    store.set(breakStartCommandKey, std::string("API_TOKEN=abc123 curl -H 'Bearer xyz'\nrm -rf"));
    store.set(breakEndCommandKey, std::string("notify-send done"));
    EXPECT_EQ(SettingsChanges::describe(before, SettingsChanges::snapshot(store)),
              (Strings{"breakEndCommand=none->notify-send …", "breakStartCommand=none->API_TOKEN=… curl …"}));
}

TEST(SettingsSchemaChoices, ChoiceSettingsTakeOnlyTheirWords) {
    const auto& rows = SettingsSchema::byKey();
    const struct { std::string_view key; const char* word; bool accepted; } cases[] = {
        {enforcementLongBreaksKey, "hardcore", true},  {enforcementLongBreaksKey, "Hardcore", false},
        {enforcementMicroBreaksKey, "balanced", true}, {enforcementMicroBreaksKey, "", false},
        {soundPairKey, "Purr & Pop", true},            {soundPairKey, "Pebble", false},
        {breakStartCommandKey, "anything at all", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.word);
        EXPECT_EQ(rows.at(c.key)->acceptsText(c.word), c.accepted);
    }
}

TEST(SettingsChangesAnyChanged, OnlyTheNamedKeysCount) {
    const SettingsChanges::Snapshot from = {{"microMinutes", "20"}, {"soundPair", "Glass"}};
    const auto& keys = SettingsChanges::schedulingKeys();
    EXPECT_FALSE(SettingsChanges::anyChanged(keys, from, {{"microMinutes", "20"}, {"soundPair", "Pebble"}}));
    EXPECT_TRUE(SettingsChanges::anyChanged(keys, from, {{"microMinutes", "25"}}));
    EXPECT_TRUE(SettingsChanges::anyChanged(keys, from, {{"microMinutes", "20"}, {"reminderMinutes", "20"}}));
    EXPECT_TRUE(SettingsChanges::anyChanged(keys, from, {}));
    EXPECT_FALSE(SettingsChanges::anyChanged(keys, {}, {{"soundPair", "Glass"}}));
}

} // namespace
} // namespace sorvala
