// SPDX-License-Identifier: MIT
#include "core/SnoozeBudget.h"

#include <algorithm>

namespace sorvala {

std::optional<int> SnoozeBudget::remaining(int sessionCount, int dailyCount) const {
    std::optional<long long> left;
    const auto consider = [&](int limit, int count) {
        if (limit < 1)
            return;
        const long long contribution = static_cast<long long>(limit) - count;
        left = left ? std::min(*left, contribution) : contribution;
    };
    consider(sessionLimit, sessionCount);
    consider(dailyLimit, dailyCount);
    if (!left)
        return std::nullopt;
    return static_cast<int>(std::max(0LL, *left));
}

bool SnoozeBudget::allowsSnooze(int sessionCount, int dailyCount) const {
    const auto left = remaining(sessionCount, dailyCount);
    return !left || *left > 0;
}

} // namespace sorvala
