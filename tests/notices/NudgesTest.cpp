// SPDX-License-Identifier: MIT
#include "notices/Notice.h"
#include "notices/OvertimeNudge.h"
#include "notices/PreBreakOverlay.h"
#include "notices/SignalAction.h"
#include "notices/WellnessNudge.h"

#include "core/SettingsKeys.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace sorvala;

TEST(OvertimeNudgeText, CountsWholeMinutesPastTheLimit) {
    struct Case { const char* name; double worked; int limit; std::optional<std::string> text; };
    const Case cases[] = {
        {"just under the hour", 3599, 45, "59m without a break"},
        {"the hour", 3600, 45, "1h without a break"},
        {"hour and minutes", 3900, 45, "1h 5m without a break"},
        {"below the limit", 2699, 45, std::nullopt},
        {"at the limit", 2700, 45, "45m without a break"},
        {"limit 0", 9000, 0, std::nullopt},
        {"nonsense clock", std::numeric_limits<double>::infinity(), 45, std::nullopt},
        {"negative", -100, 45, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OvertimeNudge::text(true, false, false, false, true, false, c.worked, c.limit), c.text);
    }
}

TEST(OvertimeNudgeText, ConditionsThatHideIt) {
    const auto at = [](bool on, bool onBreak, bool paused, bool whilePaused, bool hours, bool dismissed) {
        return OvertimeNudge::text(on, onBreak, paused, whilePaused, hours, dismissed, 3600, 45).has_value();
    };
    EXPECT_TRUE(at(true, false, false, false, true, false));
    EXPECT_FALSE(at(false, false, false, false, true, false));
    EXPECT_FALSE(at(true, true, false, false, true, false));
    EXPECT_FALSE(at(true, false, true, false, true, false));
    EXPECT_TRUE(at(true, false, true, true, true, false));
    EXPECT_FALSE(at(true, false, false, false, false, false));
    EXPECT_FALSE(at(true, false, false, false, true, true));
}

TEST(WellnessNudgeCadence, AlternatesAndWaits) {
    using WellnessNudge::Kind;
    EXPECT_EQ(WellnessNudge::nextKind(std::nullopt, true, true), Kind::posture);
    EXPECT_EQ(WellnessNudge::nextKind(Kind::posture, true, true), Kind::blink);
    EXPECT_EQ(WellnessNudge::nextKind(Kind::blink, true, true), Kind::posture);
    EXPECT_EQ(WellnessNudge::nextKind(Kind::blink, false, true), Kind::blink);
    EXPECT_EQ(WellnessNudge::nextKind(Kind::posture, true, false), Kind::posture);
    EXPECT_EQ(WellnessNudge::nextKind(Kind::posture, false, false), std::nullopt);

    EXPECT_TRUE(WellnessNudge::storedShouldShow(false, false, true, false));
    EXPECT_FALSE(WellnessNudge::storedShouldShow(false, false, true, true));
    EXPECT_TRUE(WellnessNudge::shouldShow(false, false, true, true, false));

    MemoryPreferences store;
    EXPECT_EQ(WellnessNudge::storedIntervalSeconds(store), std::nullopt);
    store.set(SettingsSchema::wellnessPostureKey, true);
    store.set(SettingsSchema::wellnessIntervalMinutesKey, 0);
    EXPECT_EQ(WellnessNudge::storedIntervalSeconds(store), 60.0);
    store.set(SettingsSchema::wellnessIntervalMinutesKey, 10);
    EXPECT_EQ(WellnessNudge::storedIntervalSeconds(store), 600.0);
}

TEST(PreBreakOverlayGeometry, TextDimAndPosition) {
    EXPECT_EQ(PreBreakOverlay::text(-3), "Break in 0\u2026");
    EXPECT_EQ(PreBreakOverlay::text(12.9), "Break in 12\u2026");
    EXPECT_EQ(PreBreakOverlay::text(std::nan("")), "Break in 0\u2026");

    // Outside its span the dim holds its ends: nothing before, full at the break.
    EXPECT_DOUBLE_EQ(PreBreakOverlay::dimAlpha(45, 30), 0);
    EXPECT_DOUBLE_EQ(PreBreakOverlay::dimAlpha(10, 0), 0.8);
    EXPECT_DOUBLE_EQ(PreBreakOverlay::dimAlpha(-5, 30), 0.8);

    using PreBreakOverlay::Position;
    EXPECT_EQ(PreBreakOverlay::position(7), Position::topCenter);
    EXPECT_EQ(PreBreakOverlay::position(-1), Position::topCenter);
    EXPECT_EQ(PreBreakOverlay::position(2), Position::topRight);
}

TEST(SignalActionResponse, MapsActionsAndClicks) {
    using A = SignalAction;
    struct Case { const char* action; const char* category; bool isDefault; A::Outcome outcome; };
    const Case cases[] = {
        {"snooze-15", "pre-break", false, A::Snooze{15}},
        {"snooze-", "pre-break", false, A::Ignore{}},
        {"snooze-0", "pre-break", false, A::Ignore{}},
        {"snooze--5", "pre-break", false, A::Ignore{}},
        {"snooze-99999999999", "pre-break", false, A::Ignore{}},
        {"default", "pre-break-final", true, A::StartBreak{}},
        {"default", "pre-break", true, A::StartBreak{}},
        {"default", "smart-pause", true, A::Ignore{}},
        {"default", "update-available", true, A::OpenUpdate{}},
        {"download-update", "", false, A::OpenUpdate{}},
        {"dismiss", "pre-break", false, A::Ignore{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " in " + c.category);
        EXPECT_EQ(A::forResponse(c.action, c.category, c.isDefault), c.outcome);
    }
}

TEST(NoticeCatalogue, ButtonRolesOutOfRangeDismiss) {
    const auto capsule = Notice::preBreakCapsule(true);
    EXPECT_EQ(capsule.role(0), Notice::Button::Role::snooze);
    EXPECT_EQ(capsule.role(1), Notice::Button::Role::skip);
    EXPECT_EQ(capsule.role(5), Notice::Button::Role::dismiss);
    EXPECT_EQ(capsule.role(-1), Notice::Button::Role::dismiss);
}
