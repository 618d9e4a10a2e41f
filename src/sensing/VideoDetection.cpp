// SPDX-License-Identifier: MIT
#include "sensing/VideoDetection.h"

#include <algorithm>

namespace sorvala::VideoDetection {

namespace {

bool namesIdle(std::string_view what) {
    while (!what.empty()) {
        const auto colon = what.find(':');
        if (what.substr(0, colon) == idleInhibitorName)
            return true;
        if (colon == std::string_view::npos)
            break;
        what.remove_prefix(colon + 1);
    }
    return false;
}

} // namespace

bool videoPlaying(const std::map<std::string, int>& inhibitorCounts) {
    return std::any_of(inhibitorCounts.begin(), inhibitorCounts.end(),
                       [](const auto& entry) { return entry.second > 0; });
}

int idleInhibitorCount(const std::vector<LogindInhibitor>& inhibitors, std::uint32_t userId,
                       std::uint32_t ownProcessId) {
    return static_cast<int>(std::count_if(inhibitors.begin(), inhibitors.end(), [&](const LogindInhibitor& i) {
        return namesIdle(i.what) && i.mode == "block" && i.uid == userId && i.pid != ownProcessId;
    }));
}

} // namespace sorvala::VideoDetection
