// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace sorvala {

class PreferencesStore;

/// The optional countdown to the next break shown on the status item.
namespace MenuBarCountdown {

/// The setting "menuBarCountdown", read now.
bool isEnabled(const PreferencesStore& store);

/// "19:05" under an hour, "1:02:09" from an hour; none when off, on a break, paused or when no
/// break is scheduled.
std::optional<std::string> title(bool enabled, bool onBreak, bool paused, std::optional<long long> secondsToNextBreak);

/// The seconds to the next break rounded to the nearest whole second, as `title` takes them; none
/// when there are none or they are not finite.
std::optional<long long> wholeSeconds(std::optional<double> secondsToNextBreak);

/// The few characters drawn into the tray icon: the minutes left, rounded up ("1" in the last
/// minute, "59"), then whole hours rounded down ("1h", "12h"), "99h" at most.
std::string iconText(double secondsToNextBreak);

} // namespace MenuBarCountdown

} // namespace sorvala
