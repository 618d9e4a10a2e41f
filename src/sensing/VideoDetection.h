// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

/// Whether a video plays, read as "some other program keeps the session from idling".
namespace sorvala::VideoDetection {

/// The inhibition every idle-inhibitor service reports: the session may not go idle (blank,
/// dim or lock the screen), which players and presentation tools ask for.
inline constexpr std::string_view idleInhibitorName = "idle";

/// True when any source reports a count above 0. The map holds one entry per inhibitor
/// service asked ("gnome-session", "plasma", "xfce-power-manager", "logind") with the number
/// of idle inhibitors it reports; a service that answered "inhibited" counts as 1.
bool videoPlaying(const std::map<std::string, int>& inhibitorCounts);

/// One row of logind's ListInhibitors: what, who, why, mode, uid, pid.
struct LogindInhibitor {
    std::string what; ///< colon-separated: "idle", "sleep:idle", "handle-lid-switch", ...
    std::string who;
    std::string why;
    std::string mode; ///< "block" or "delay"
    std::uint32_t uid = 0;
    std::uint32_t pid = 0;
    bool operator==(const LogindInhibitor&) const = default;
};

/// The idle inhibitors of logind's list that count: `what` names "idle", the mode is "block",
/// they belong to `userId` and to another process than `ownProcessId`.
int idleInhibitorCount(const std::vector<LogindInhibitor>& inhibitors, std::uint32_t userId,
                       std::uint32_t ownProcessId);

} // namespace sorvala::VideoDetection
