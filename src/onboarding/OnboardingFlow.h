// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakSchedule.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sorvala {

class PreferencesStore;

/// The five pages of the first-run walkthrough, each a pure function of a step and a snapshot
/// of the user's own numbers.
namespace OnboardingFlow {

/// The settings key set once the walkthrough reached its last page.
inline constexpr std::string_view onboardingShownKey = "onboardingShown";
/// The micro-break interval kept while the walkthrough has micro breaks switched off.
inline constexpr std::string_view microMinutesBeforeOnboardingKey = "microMinutesBeforeOnboardingSwitch";

enum class Step { theBreak = 0, rhythm = 1, waiting = 2, menuBar = 3, start = 4 };
/// Every step in page order.
inline constexpr Step allSteps[] = {Step::theBreak, Step::rhythm, Step::waiting, Step::menuBar, Step::start};

/// Whether the desktop may show our heads-up notifications.
enum class NotificationState { unasked, granted, denied };

/// A snapshot of everything the pages say, taken afresh at every render.
struct Facts {
    int longBreakMinutes = 0;
    int longBreakLengthMinutes = 0;
    int microMinutes = 0;
    int factoryMicroMinutes = 0;
    int restorableMicroMinutes = 0;
    int microSeconds = 0;
    bool cycleEnabled = false;
    int cycleLength = 0;
    std::vector<std::string> waitLabels;
    NotificationState notifications = NotificationState::unasked;

    BreakSchedule schedule() const;
    bool microBreaksOn() const { return microMinutes > 0; }
    /// Minutes from one long break to the next.
    int sorvalaEveryMinutes() const;
    /// The same with micro breaks switched back on.
    int sorvalaEveryMinutesWithMicroOn() const;
};

/// The picture at the top of a page.
struct RhythmStrip {
    int everyMinutes = 0;
    int sorvalaEveryMinutes = 0;
    int spanMinutes = 0;
    bool operator==(const RhythmStrip&) const = default;
};
struct WaitingStrip {
    std::vector<std::string> labels;
    bool operator==(const WaitingStrip&) const = default;
};
struct LiveDrawing {
    bool operator==(const LiveDrawing&) const = default;
};
struct MenuBarStrip {
    bool operator==(const MenuBarStrip&) const = default;
};
using Figure = std::variant<RhythmStrip, WaitingStrip, LiveDrawing, MenuBarStrip>;

/// The one interactive element a page may have.
struct MicroBreaksSwitch {
    bool on = false;
    bool operator==(const MicroBreaksSwitch&) const = default;
};
struct NotificationsControl {
    NotificationState state = NotificationState::unasked;
    bool operator==(const NotificationsControl&) const = default;
};
using Control = std::variant<MicroBreaksSwitch, NotificationsControl>;

/// Everything one page shows.
struct Page {
    std::string title;
    std::string body;
    std::optional<Figure> figure;
    std::optional<Control> control;
    std::optional<std::string> footnote;
    std::string advanceTitle;
    std::string position;
};

/// The page of `step` for these facts.
Page page(Step step, const Facts& facts);
/// The following step; none after the last.
std::optional<Step> next(Step after);
/// The preceding step; none before the first.
std::optional<Step> previous(Step before);
/// "2 of 5".
std::string position(Step step);
/// Whether arriving at `step` completes the walkthrough.
bool marksSeen(Step step);
/// The rhythm figure's span: the first multiple of the long-break interval beyond one micro interval.
int rhythmSpanMinutes(int every, int sorvalaEvery);
/// The micro interval to store when the switch is flipped.
int microMinutes(bool switchedOn, std::optional<int> previous, int factory);
/// The notification button's title; none once notifications are allowed.
std::optional<std::string> notificationButtonTitle(NotificationState state);
/// The line beside the notification button.
std::string notificationStatusLine(NotificationState state);
/// "second", "third", "fourth", "fifth", else "7th".
std::string ordinal(int n);

/// The rhythm figure's tick minutes: every, 2 x every, ... below span.
std::vector<int> tickMinutes(int every, int span);
/// The smallest gap, in points, between two minute labels of the rhythm figure.
inline constexpr double minimumLabelGap = 26;
/// The tick minutes whose labels fit beside the caption and each other.
std::vector<int> labelledMinutes(int every, int span, double width, double captionWidth);

/// Reads the facts from `store` at the moment of use.
Facts storedFacts(PreferencesStore& store, int factoryMicroMinutes, NotificationState notifications);
/// Flips micro breaks on or off in `store`, keeping the old interval while off; answers the
/// interval stored.
int storeMicroBreaks(PreferencesStore& store, bool on, int factoryMicroMinutes);

} // namespace OnboardingFlow

} // namespace sorvala
