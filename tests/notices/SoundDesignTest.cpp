// SPDX-License-Identifier: MIT
#include "notices/SoundDesign.h"

#include "core/SettingsKeys.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sorvala;
using SoundDesign::Event;

TEST(SoundDesignText, EveryEventRoundTrips) {
    for (Event event : SoundDesign::events)
        EXPECT_EQ(SoundDesign::eventFromText(SoundDesign::text(event)), event);
    EXPECT_EQ(SoundDesign::eventFromText("chime"), std::nullopt);
}

TEST(SoundDesignResolve, ChimesPerEventAndPair) {
    struct Case {
        const char* name;
        Event event;
        const char* pair;
        const char* sound;
    };
    const Case cases[] = {
        {"glass start", Event::breakStart, "Glass", "Glass"},
        {"submarine start", Event::breakStart, "Submarine & Hero", "Submarine"},
        {"hero end", Event::breakEnd, "Submarine & Hero", "Hero"},
        {"purr start", Event::breakStart, "Purr & Pop", "Purr"},
        {"pop end", Event::breakEnd, "Purr & Pop", "Pop"},
        {"unknown pair falls back to glass", Event::breakEnd, "Bells", "Glass"},
        {"empty pair falls back to glass", Event::breakStart, "", "Glass"},
        {"pair names match exactly", Event::breakStart, "tink", "Glass"},
        {"reminder ignores the pair", Event::reminder, "Purr & Pop", "Tink"},
        {"smart pause", Event::smartPause, "Glass", "Tink"},
        {"back from away", Event::activeAfterIdle, "Tink", "Pop"},
        {"overtime", Event::overtimeNudge, "Submarine & Hero", "Pop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SoundDesign::soundName(c.event, c.pair), c.sound);
        EXPECT_TRUE(SoundDesign::isSoundName(SoundDesign::soundName(c.event, c.pair)));
    }
}

TEST(SoundDesignResolve, SwitchAndVolume) {
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", false, 0.5), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, 0), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, -0.2), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, std::nan("")), std::nullopt);
    EXPECT_EQ(SoundDesign::resolve(Event::reminder, "", true, 1.7), (SoundDesign::Resolved{"Tink", 1.0f}));
    EXPECT_EQ(SoundDesign::resolve(Event::breakEnd, "Tink", true, 0.25),
              (SoundDesign::Resolved{"Tink", 0.25f}));
}

TEST(SoundDesignStored, ReadsTheEventsOwnSettings) {
    using namespace SettingsSchema;
    MemoryPreferences store;
    store.set(soundPairKey, std::string("Submarine & Hero"));
    store.set(softChimeEnabledKey, true);
    store.set(breaksSoundVolumeKey, 0.4);
    store.set(reminderSoundEnabledKey, true);
    store.set(remindersSoundVolumeKey, std::string("0.0"));
    store.set(overtimeNudgeSoundEnabledKey, std::int64_t{1});
    store.set(nudgesSoundVolumeKey, 2.0);

    EXPECT_EQ(SoundDesign::storedResolve(store, Event::breakEnd), (SoundDesign::Resolved{"Hero", 0.4f}));
    EXPECT_EQ(SoundDesign::storedResolve(store, Event::reminder), std::nullopt);   // volume 0
    EXPECT_EQ(SoundDesign::storedResolve(store, Event::smartPause), std::nullopt); // switched off
    EXPECT_EQ(SoundDesign::storedResolve(store, Event::overtimeNudge), (SoundDesign::Resolved{"Pop", 1.0f}));
}
