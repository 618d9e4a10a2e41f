// SPDX-License-Identifier: MIT
#pragma once

#include <array>

/// The fixed timing constants of the break cycle, in seconds unless said otherwise.
namespace sorvala::BreakTiming {

/// Idle time after which the user counts as away and the work clock resets; also the presence test.
inline constexpr double idleResetThreshold = 120;
/// Period of the work-clock poll; its timer's tolerance is half of it.
inline constexpr double workClockPollInterval = 10;
/// Fade of the break screen when it ends.
inline constexpr double breakFadeSeconds = 0.6;
/// Latest time by which that fade must have finished.
inline constexpr double breakFadeDeadline = 2.0;
/// Lifetime of the away-undo notice.
inline constexpr double undoToastSeconds = 12;
/// Screen-on accounting grace.
inline constexpr double screenReturnGraceSeconds = 180;
/// Length of a micro break.
inline constexpr int microBreakSeconds = 20;
/// A key press more recent than this keeps a break from taking the screen.
inline constexpr double typingPauseSeconds = 5;
/// Warning time between a long break's heads-up and the break.
inline constexpr double headsUpSeconds = 30;
/// Snooze lengths offered in the menu, in minutes.
inline constexpr std::array<int, 3> snoozeMinuteChoices = {1, 5, 15};
/// Longest a long break stays on screen.
inline constexpr double longBreakMaximumSeconds = 900;
/// How long a finished drawing stays before a long break may end.
inline constexpr double longBreakLingerSeconds = 10;
/// Hold length after which the user is told a cause still holds the break.
inline constexpr double blockerStillWaitingSeconds = 1800;

} // namespace sorvala::BreakTiming
