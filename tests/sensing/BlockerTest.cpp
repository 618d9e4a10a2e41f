// SPDX-License-Identifier: MIT
#include "core/BreakTiming.h"
#include "core/SettingsKeys.h"
#include "core/BlockerNudge.h"
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

TEST(BlockerPermission, WordsRoundTrip) {
    for (const auto permission : allBlockerPermissions)
        EXPECT_EQ(blockerPermissionFromText(text(permission)), permission);
    EXPECT_EQ(blockerPermissionFromText("microphone"), std::nullopt);
}

TEST(BlockerPermission, RowNoteOnlyWhileEnabledAndMissing) {
    EXPECT_EQ(rowNote(BlockerPermission::calendar, true, false),
              "Needs Calendar permission — breaks will not wait for this until you allow it in Sorvala's "
              "settings (Delays › Wait).");
    EXPECT_EQ(rowNote(BlockerPermission::calendar, false, false), std::nullopt);
    EXPECT_EQ(rowNote(BlockerPermission::calendar, true, true), std::nullopt);
}

TEST(BlockerPermission, CalendarIsGrantedByAReadableSource) {
    FakeSystemSignals system;
    MemoryPreferences store;
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    store.set(Keys::pauseDuringScreenCaptureKey, true);
    EXPECT_THAT(ungrantedButEnabled(store, system), ElementsAre(BlockerPermission::calendar))
        << "no sources chosen; screen capture needs nothing on Linux";
    EXPECT_EQ(system.callCount("calendarAccessGranted"), 0);

    store.set(Keys::calendarSourcesKey, std::vector<std::string>{"/home/u/work.ics"});
    EXPECT_THAT(ungrantedButEnabled(store, system), IsEmpty());
    system.calendarReadable = false;
    system.screenRecordingAllowed = false;
    EXPECT_THAT(ungrantedButEnabled(store, system),
                ElementsAre(BlockerPermission::screenRecording, BlockerPermission::calendar));
    EXPECT_EQ(missingPermissionsLine(ungrantedButEnabled(store, system)),
              "blockers switched on without their permission: Screen Recording, Calendar");
    store.set(Keys::pauseDuringCalendarEventsKey, false);
    store.set(Keys::pauseDuringScreenCaptureKey, false);
    EXPECT_EQ(missingPermissionsLine(ungrantedButEnabled(store, system)), std::nullopt);
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
    FakeSystemSignals system;
    BreakLock::lockNow(system);
    EXPECT_EQ(system.callCount("lockScreen"), 1);
}

} // namespace
} // namespace sorvala
