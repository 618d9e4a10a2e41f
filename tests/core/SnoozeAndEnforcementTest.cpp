// SPDX-License-Identifier: MIT
#include "core/Diagnostics.h"
#include "core/EnforcementTier.h"
#include "core/SnoozeRequest.h"

#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(SnoozeBudgetRemaining, LimitsAndCounts) {
    struct Case {
        const char* name;
        SnoozeBudget budget;
        int session;
        int daily;
        std::optional<int> remaining;
    };
    const Case cases[] = {
        {"both unlimited", {0, 0}, 50, 50, std::nullopt},
        {"negative limits are unlimited", {-1, -3}, 2, 2, std::nullopt},
        {"session spent", {3, 0}, 3, 100, 0},
        {"the smaller contribution wins", {5, 4}, 1, 4, 0},
        {"daily only", {0, 4}, 9, 1, 3},
        {"over the limit reads as none left", {3, 0}, 7, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.budget.remaining(c.session, c.daily), c.remaining);
        const auto verdict = SnoozeRequest::verdict(5, SnoozeRequest::Source::menu, c.budget, c.session, c.daily);
        const bool allowed = !c.remaining || *c.remaining > 0;
        EXPECT_EQ(SnoozeRequest::isAllowed(c.budget, c.session, c.daily), allowed);
        if (allowed)
            EXPECT_EQ(SnoozeRequest::grantedMinutes(verdict), 5);
        else
            EXPECT_EQ(verdict, SnoozeRequest::Verdict(SnoozeRequest::Refuse{SnoozeRequest::Reason::budgetSpent}));
    }
    EXPECT_EQ(text(SnoozeRequest::Reason::budgetSpent), "budgetSpent");
    for (const auto source : SnoozeRequest::allSources)
        EXPECT_EQ(snoozeSourceFromText(text(source)), source);
}

TEST(EnforcementTierRules, WordsNamesAndSkipping) {
    for (const auto tier : allEnforcementTiers)
        EXPECT_EQ(storedEnforcementTier(std::string(text(tier))), tier);
    EXPECT_EQ(storedEnforcementTier(std::string("strict")), EnforcementTier::casual);
    EXPECT_EQ(storedEnforcementTier(std::nullopt), EnforcementTier::casual);

    EXPECT_EQ(displayName(EnforcementTier::casual), "Casual — skip anytime");
    EXPECT_EQ(displayName(EnforcementTier::balanced), "Balanced — skip after 15 s");
    EXPECT_EQ(displayName(EnforcementTier::hardcore), "Hardcore — no skipping");

    EXPECT_EQ(migratedEnforcementTier(true), EnforcementTier::hardcore);
    EXPECT_EQ(migratedEnforcementTier(false), EnforcementTier::casual);

    EXPECT_TRUE(canSkip(EnforcementTier::casual, 0));
    EXPECT_FALSE(canSkip(EnforcementTier::balanced, 14.9));
    EXPECT_TRUE(canSkip(EnforcementTier::balanced, 15));
    EXPECT_FALSE(canSkip(EnforcementTier::hardcore, 1e9));

    MemoryPreferences store;
    store.set("enforcementMicroBreaks", std::string("hardcore"));
    EXPECT_EQ(storedEnforcementTier(store, BreakEvent::Kind::micro), EnforcementTier::hardcore);
    EXPECT_EQ(storedEnforcementTier(store, BreakEvent::Kind::long_), EnforcementTier::casual);
}

TEST(DiagnosticsRules, SuppressionOrderAndHeartbeat) {
    using R = Diagnostics::SuppressedTickReason;
    EXPECT_EQ(Diagnostics::suppressedTickReason(false, false, true), R::paused);
    EXPECT_EQ(Diagnostics::suppressedTickReason(true, false, true), R::offHours);
    EXPECT_EQ(Diagnostics::suppressedTickReason(true, true, true), R::resting);
    EXPECT_EQ(Diagnostics::suppressedTickReason(true, true, false), std::nullopt);
    for (const auto reason : Diagnostics::allSuppressedTickReasons)
        EXPECT_EQ(suppressedTickReasonFromText(text(reason)), reason);
    EXPECT_TRUE(Diagnostics::shouldLogHeartbeat(60, 30, 30));
    EXPECT_FALSE(Diagnostics::shouldLogHeartbeat(59, 30, 30));
}

} // namespace
} // namespace sorvala
