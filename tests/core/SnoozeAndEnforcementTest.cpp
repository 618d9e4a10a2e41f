// SPDX-License-Identifier: MIT
#include "core/EnforcementTier.h"
#include "core/SnoozeRequest.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(SnoozeBudgetRemaining, LimitsAndCounts) {
    // session limit, daily limit, session count, daily count, remaining
    const std::tuple<int, int, int, int, std::optional<int>> cases[] = {
        {0, 0, 50, 50, std::nullopt}, {-1, -3, 2, 2, std::nullopt}, {3, 0, 3, 100, 0},
        {5, 4, 1, 4, 0},              {0, 4, 9, 1, 3},              {3, 0, 7, 0, 0},
    };
    for (const auto& [session, daily, sessionCount, dailyCount, remaining] : cases) {
        const SnoozeBudget budget{session, daily};
        SCOPED_TRACE(testing::Message() << session << "/" << daily << " after " << sessionCount << "/" << dailyCount);
        EXPECT_EQ(budget.remaining(sessionCount, dailyCount), remaining);
        const auto verdict = SnoozeRequest::verdict(5, SnoozeRequest::Source::menu, budget, sessionCount, dailyCount);
        EXPECT_EQ(SnoozeRequest::grantedMinutes(verdict), remaining == 0 ? std::nullopt : std::optional<int>(5));
    }
}

TEST(EnforcementTierRules, StoredWordsAndSkipping) {
    EXPECT_EQ(storedEnforcementTier(std::string("hardcore")), EnforcementTier::hardcore);
    EXPECT_EQ(storedEnforcementTier(std::string("strict")), EnforcementTier::casual);
    EXPECT_FALSE(canSkip(EnforcementTier::balanced, 14.9));
    EXPECT_TRUE(canSkip(EnforcementTier::balanced, 15));
}

} // namespace
} // namespace sorvala
