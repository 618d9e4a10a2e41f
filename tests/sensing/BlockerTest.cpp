// SPDX-License-Identifier: MIT
#include "core/BreakTiming.h"
#include "core/SettingsKeys.h"
#include "sensing/BlockerNudge.h"
#include "sensing/BlockerPermission.h"
#include "sensing/BreakLock.h"
#include "support/FakeSystemSignals.h"
#include "support/MemoryPreferences.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

namespace Keys = SettingsSchema;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(BlockerPermission, CasesAndTheirWords) {
    for (const auto permission : allBlockerPermissions)
        EXPECT_EQ(blockerPermissionFromText(text(permission)), permission);
    EXPECT_EQ(blockerPermissionFromText("microphone"), std::nullopt);
    EXPECT_EQ(title(BlockerPermission::screenRecording), "Screen Recording");
    EXPECT_EQ(settingKey(BlockerPermission::calendar), Keys::pauseDuringCalendarEventsKey);
    EXPECT_EQ(settingKey(BlockerPermission::screenRecording), Keys::pauseDuringScreenCaptureKey);
    EXPECT_TRUE(needsRelaunchAfterGranting(BlockerPermission::screenRecording));
    EXPECT_FALSE(needsRelaunchAfterGranting(BlockerPermission::calendar));
    for (const auto permission : allBlockerPermissions)
        EXPECT_THAT(std::string(explanation(permission)), ::testing::HasSubstr("nothing leaves this computer."));
}

TEST(BlockerPermission, RowNoteOnlyWhileEnabledAndMissing) {
    EXPECT_EQ(rowNote(BlockerPermission::calendar, true, false),
              "Needs Calendar permission — breaks will not wait for this until you allow it in Sorvala's "
              "settings (Delays › Wait).");
    EXPECT_EQ(rowNote(BlockerPermission::calendar, false, false), std::nullopt);
    EXPECT_EQ(rowNote(BlockerPermission::calendar, true, true), std::nullopt);
}

TEST(BlockerPermission, CalendarIsGrantedByAReadableSource) {
    FakeSystemSignals signals;
    MemoryPreferences store;
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    store.set(Keys::pauseDuringScreenCaptureKey, true);
    EXPECT_THAT(ungrantedButEnabled(store, signals), ElementsAre(BlockerPermission::calendar))
        << "no sources chosen; screen capture needs nothing on Linux";
    EXPECT_EQ(signals.callCount("calendarAccessGranted"), 0);

    store.set(Keys::calendarSourcesKey, std::vector<std::string>{"/home/u/work.ics"});
    EXPECT_THAT(ungrantedButEnabled(store, signals), IsEmpty());
    signals.calendarReadable = false;
    signals.screenRecordingAllowed = false;
    EXPECT_THAT(ungrantedButEnabled(store, signals),
                ElementsAre(BlockerPermission::screenRecording, BlockerPermission::calendar));
    EXPECT_EQ(missingPermissionsLine(ungrantedButEnabled(store, signals)),
              "blockers switched on without their permission: Screen Recording, Calendar");
    store.set(Keys::pauseDuringCalendarEventsKey, false);
    store.set(Keys::pauseDuringScreenCaptureKey, false);
    EXPECT_EQ(missingPermissionsLine(ungrantedButEnabled(store, signals)), std::nullopt);
}

TEST(BlockerNudge, FiresOnceForUnattendedHoldsAfterTheWait) {
    const double after = BreakTiming::blockerStillWaitingSeconds;
    EXPECT_TRUE(BlockerNudge::fires(1800, false, false, after));
    EXPECT_FALSE(BlockerNudge::fires(1799, false, false, after));
    EXPECT_FALSE(BlockerNudge::fires(3600, true, false, after)) << "a call or a meeting";
    EXPECT_FALSE(BlockerNudge::fires(3600, false, true, after)) << "already sent";
}

TEST(BreakLock, LocksOnlyLongBreaksWhenAsked) {
    EXPECT_TRUE(BreakLock::shouldLock(true, false));
    EXPECT_FALSE(BreakLock::shouldLock(true, true));
    EXPECT_FALSE(BreakLock::shouldLock(false, false));
    FakeSystemSignals signals;
    BreakLock::lockNow(signals);
    EXPECT_EQ(signals.locks, 1);
}

} // namespace
} // namespace sorvala
