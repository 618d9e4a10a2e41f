// SPDX-License-Identifier: MIT
#include "notices/SignalRouter.h"

#include "core/SettingsKeys.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sorvala;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = UserSignal::Kind;
using Medium = UserSignal::Medium;
using Position = PreBreakOverlay::Position;
using Resource = UserSignal::Resource;

namespace {

class RecordingPanels final : public NoticePanels {
public:
    void showPanel(const UserSignal& s) override { events.push_back("show " + std::string(text(s.kind))); }
    void hidePanel(Kind kind) override { events.push_back("hide " + std::string(text(kind))); }
    std::vector<std::string> events;
};

class Routing : public ::testing::Test {
protected:
    Routing() {
        store.set(SettingsSchema::overtimeNudgeKey, true);
        store.set(SettingsSchema::smartPauseAlertsKey, true);
        store.set(SettingsSchema::preBreakOverlayPositionKey, 1);
        router.setOnAwayResetStood([this] { ++stood; });
    }

    MemoryPreferences store;
    RecordingLogger log;
    RecordingPanels panels;
    bool bannersAvailable = false;
    bool bannerButtons = true;
    std::vector<std::string> posted;
    std::vector<SoundDesign::Event> played;
    int stood = 0;
    SignalRouter router{
        {store, log, panels,
         [this](bool needsButtons) { return bannersAvailable && (bannerButtons || !needsButtons); },
         [this](const UserSignal& s) { posted.push_back(s.identifier); },
         [this](SoundDesign::Event e) { played.push_back(e); }}};
};

UserSignal headsUp(bool snoozeAllowed = true) {
    return UserSignal::preBreak(snoozeAllowed, 0, 3, std::nullopt, true);
}

} // namespace

TEST(NoticeSlotsClaim, EveryPriorityPair) {
    // Each kind claims the top-centre slot held by another. Row: the holder; column: the claimant,
    // in the order of `kinds`. 'W' the claimant displaces the holder, '.' it is refused.
    const Kind kinds[] = {Kind::preBreak, Kind::smartPause, Kind::updateAvailable,
                          Kind::overtime, Kind::wellness,   Kind::awayUndo};
    const char* const outcomes[] = {
        "-.....", // preBreak held: nothing displaces the countdown
        "W-...W", // smartPause held
        "W.-..W", // updateAvailable held
        "WWW-WW", // overtime held: everything displaces the badge
        "W...-W", // wellness held
        "W....-", // awayUndo held: only the countdown displaces it
    };
    const auto place = std::vector{Resource::slot(Position::topCenter)};
    for (size_t h = 0; h < std::size(kinds); ++h) {
        for (size_t c = 0; c < std::size(kinds); ++c) {
            if (h == c)
                continue;
            const auto holder = kinds[h], claimant = kinds[c];
            SCOPED_TRACE(std::string(text(holder)) + " held, " + std::string(text(claimant)) + " claims");
            NoticeSlots slots;
            ASSERT_TRUE(slots.claim(holder, place));
            const auto result = slots.claim(claimant, place);
            const bool wins = outcomes[h][c] == 'W';
            EXPECT_EQ(result.has_value(), wins);
            EXPECT_EQ(slots.holder(place[0]), wins ? claimant : holder);
            if (wins) {
                EXPECT_THAT(*result, ElementsAre(holder));
            }
        }
    }
}

TEST(NoticeSlotsClaim, DisplacedKindsLoseEverythingAndComeBackSorted) {
    NoticeSlots slots;
    ASSERT_TRUE(
        slots.claim(Kind::overtime, {Resource::slot(Position::topRight), Resource::slot(Position::topLeft)}));
    ASSERT_TRUE(slots.claim(Kind::wellness, {Resource::slot(Position::topCenter)}));
    // The claimant's old places go too: wellness moves nowhere else, it simply re-claims.
    ASSERT_TRUE(slots.claim(Kind::wellness, {Resource::slot(Position::topCenter)}));

    const auto displaced =
        slots.claim(Kind::preBreak, {Resource::slot(Position::topRight), Resource::slot(Position::topCenter),
                                     Resource::screenDim()});
    ASSERT_TRUE(displaced);
    EXPECT_THAT(*displaced, ElementsAre(Kind::overtime, Kind::wellness));
    EXPECT_FALSE(slots.isShowing(Kind::overtime));
    EXPECT_FALSE(slots.isShowing(Kind::wellness));
    EXPECT_FALSE(slots.holder(Resource::slot(Position::topLeft))) << "uncontested places go with the rest";

    // An empty claim always succeeds and frees what the kind held.
    EXPECT_THAT(*slots.claim(Kind::preBreak, {}), IsEmpty());
    EXPECT_FALSE(slots.isShowing(Kind::preBreak));
    EXPECT_FALSE(slots.holder(Resource::screenDim()));
}

TEST_F(Routing, AwayUndoAgainstTheCountdownDependsOnItsPosition) {
    router.show(headsUp());
    router.show(UserSignal::awayUndo());
    EXPECT_THAT(log.lines, ElementsAre("signal refused kind=awayUndo reason=slotTaken"));
    EXPECT_EQ(stood, 1) << "a refused undo offer resolves at once";

    router.clear(Kind::preBreak);
    store.set(SettingsSchema::preBreakOverlayPositionKey, 0);
    router.show(headsUp());
    router.show(UserSignal::awayUndo());
    EXPECT_TRUE(router.occupancy().isShowing(Kind::awayUndo));
    EXPECT_EQ(stood, 1);
}

TEST_F(Routing, DisplacingTheUndoResolvesItButARefusedWellnessResolvesNothing) {
    router.show(UserSignal::awayUndo());
    router.show(UserSignal::wellness("Blink"));
    EXPECT_EQ(log.lines.back(), "signal refused kind=wellness reason=slotTaken");
    EXPECT_EQ(stood, 0);

    router.show(headsUp());
    EXPECT_EQ(log.lines.back(), "signal displaced kind=awayUndo by=preBreak");
    EXPECT_EQ(stood, 1);
    EXPECT_THAT(panels.events, ElementsAre("show awayUndo", "hide awayUndo", "show preBreak"));
}

TEST_F(Routing, MediumOfTheHeadsUp) {
    struct Case { const char* name; bool overlay, available, buttons, snoozeAllowed; Medium expected; };
    const Case cases[] = {
        {"banner", false, true, true, true, Medium::banner},
        {"overlay chosen", true, true, true, true, Medium::panel},
        {"no service", false, false, true, true, Medium::panel},
        {"service without buttons", false, true, false, true, Medium::panel},
        {"no buttons needed", false, true, false, false, Medium::banner},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store.set(SettingsSchema::preBreakOverlayKey, c.overlay);
        bannersAvailable = c.available;
        bannerButtons = c.buttons;
        EXPECT_EQ(router.medium(headsUp(c.snoozeAllowed)), c.expected);
    }
    bannersAvailable = false;
    EXPECT_EQ(router.medium(UserSignal::updateAvailable("1.2")), Medium::silent);
}

TEST_F(Routing, ARepeatedShowOfAKindOnScreenStaysSilent) {
    store.set(SettingsSchema::overtimeNudgeKey, true);
    router.show(UserSignal::overtime("45m without a break"));
    router.show(UserSignal::overtime("46m without a break"));
    EXPECT_THAT(played, ElementsAre(SoundDesign::Event::overtimeNudge));
    EXPECT_THAT(panels.events, ElementsAre("show overtime", "show overtime"));

    store.set(SettingsSchema::overtimeNudgeKey, false);
    router.clear(Kind::overtime);
    router.show(UserSignal::overtime("47m without a break"));
    EXPECT_EQ(played.size(), 1u);
}

TEST(PreBreakBody, SuffixesAndScore) {
    struct Case { const char* name; bool allowed; int taken; std::optional<int> remaining;
                  std::optional<UserSignal::DailyScore> score; bool showRemaining; const char* body; };
    const Case cases[] = {
        {"example", true, 1, 2, UserSignal::DailyScore{3, 4}, true,
         "Break in 30 seconds — 2 snoozes left\nToday: 3 of 4 taken (75%)"},
        {"one left", true, 2, 1, std::nullopt, true, "Break in 30 seconds — 1 snooze left"},
        {"setting off", true, 1, 2, std::nullopt, false, "Break in 30 seconds"},
        {"not allowed", false, 3, 0, UserSignal::DailyScore{0, 0}, true,
         "Break in 30 seconds — no snoozes left"},
        {"a third", true, 0, 3, UserSignal::DailyScore{1, 3}, true,
         "Break in 30 seconds\nToday: 1 of 3 taken (33%)"},
        {"no overflow", true, 0, 3, UserSignal::DailyScore{2000000000, 2000000000}, true,
         "Break in 30 seconds\nToday: 2000000000 of 2000000000 taken (100%)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto signal = UserSignal::preBreak(c.allowed, c.taken, c.remaining, c.score, c.showRemaining);
        EXPECT_EQ(signal.body, c.body);
        EXPECT_EQ(signal.category, c.allowed ? "pre-break" : "pre-break-final");
    }
}
