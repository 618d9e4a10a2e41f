// SPDX-License-Identifier: MIT
#include "onboarding/OnboardingFlow.h"

#include "core/BreakTiming.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "drawing/DrawingPace.h"
#include "drawing/Settings.h"
#include "drawing/SorvalaGenerator.h"
#include "sensing/Sensors.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sorvala::OnboardingFlow {

namespace {

std::string number(int value) {
    return std::to_string(value);
}

int stepIndex(Step step) {
    return static_cast<int>(step);
}

constexpr int stepCount = static_cast<int>(std::size(allSteps));

Page theBreakPage(const Facts& facts) {
    Page page;
    page.title = "This is a break.";
    page.body = "Every " + number(facts.sorvalaEveryMinutes()) + " minutes, Sorvala takes the screen for " +
                "about " + number(facts.longBreakLengthMinutes) + " minutes and draws one of these, " +
                "stroke by stroke. There is nothing to read and nothing to click — the " +
                "drawing is the timer, and it is finished when the break is. Your desktop " +
                "comes back exactly where you left it.";
    page.figure = LiveDrawing{};
    return page;
}

Page rhythmPage(const Facts& facts) {
    const bool on = facts.microMinutes >= 1;
    const int sorvalaEvery = facts.sorvalaEveryMinutes();
    Page page;
    if (on) {
        page.title = "Most breaks are " + number(facts.microSeconds) + " seconds.";
        page.body = "Between the drawings there are much shorter rests. Every " + number(facts.microMinutes) +
                    " minutes Sorvala asks you to look away for " + number(facts.microSeconds) +
                    " seconds — long enough for your eyes to focus on " + "something across the room.";
        if (facts.schedule().cycleRidesMicro())
            page.body += " Every " + ordinal(facts.cycleLength) + " one is the long break " + "you just saw.";
        else
            page.body += " The long break keeps its own clock alongside them, every " +
                         number(facts.longBreakMinutes) + " minutes.";
    } else {
        page.title = "Long breaks only.";
        page.body = "Eye breaks are off, so the only rest Sorvala asks for is the long one. It "
                    "comes every " +
                    number(facts.longBreakMinutes) + " minutes on its own clock.";
    }
    const int every = on ? facts.microMinutes : 0;
    page.figure = RhythmStrip{every, sorvalaEvery, rhythmSpanMinutes(every, sorvalaEvery)};
    page.control = MicroBreaksSwitch{on};
    const int withMicroOn = facts.sorvalaEveryMinutesWithMicroOn();
    if (!on && withMicroOn != sorvalaEvery)
        page.footnote = "The sorvala now comes every " + number(sorvalaEvery) + " minutes rather than " +
                        "every " + number(withMicroOn) +
                        " — the long break falls back to its own clock when " +
                        "nothing rides in front of it.";
    return page;
}

Page waitingPage(const Facts& facts) {
    Page page;
    page.title = "It waits until you're free.";
    page.body =
        "A break that lands mid-sentence is a break you learn to dismiss. Sorvala holds one whenever you "
        "are plainly busy, and takes the screen the moment you are not — including waiting out the "
        "sentence you are still typing.";
    page.footnote = "A held break never expires. It starts when you're clear, however long that takes.";
    page.figure = WaitingStrip{facts.waitLabels};
    return page;
}

// Where the icon lives on this desktop, and what to do when the desktop shows no tray at all.
constexpr std::string_view trayHint =
    "No mark in your panel? On GNOME, install gnome-shell-extension-appindicator and log in again.";

Page menuBarPage(const Facts& facts) {
    Page page;
    page.title = "It lives in the menu bar.";
    page.body =
        "Sorvala lives up here. Click the mark for your stats and the time to the next break; right-click "
        "it for everything else. ";
    switch (facts.notifications) {
    case NotificationState::unasked:
        page.body +=
            "Thirty seconds before a long break it can send a notification, so the screen never goes "
            "without warning — and you can snooze or skip from the notification itself.";
        break;
    case NotificationState::granted:
        page.body +=
            "Thirty seconds before a long break you'll get a notification you can snooze or skip from.";
        break;
    case NotificationState::denied:
        page.body += "Notifications are turned off for Sorvala, so breaks will arrive without the "
                     "thirty-second warning.";
        break;
    }
    std::string footnote(trayHint);
    if (facts.notifications == NotificationState::denied)
        footnote =
            "Start a notification service (your desktop's, or one such as dunst), then reopen this page. " +
            footnote;
    page.footnote = footnote;
    page.figure = MenuBarStrip{};
    page.control = NotificationsControl{facts.notifications};
    return page;
}

Page startPage(const Facts& facts) {
    Page page;
    page.title = "You're set.";
    page.body = "Your first break is due within " + number(facts.sorvalaEveryMinutes()) + " minutes.";
    return page;
}

} // namespace

BreakSchedule Facts::schedule() const {
    return BreakSchedule{longBreakMinutes, microMinutes, cycleEnabled, cycleLength};
}

int Facts::sorvalaEveryMinutes() const {
    return schedule().overtimeLimitMinutes();
}

int Facts::sorvalaEveryMinutesWithMicroOn() const {
    BreakSchedule withMicro = schedule();
    withMicro.microMinutes = restorableMicroMinutes >= 1 ? restorableMicroMinutes : factoryMicroMinutes;
    return withMicro.overtimeLimitMinutes();
}

Page page(Step step, const Facts& facts) {
    Page result;
    switch (step) {
    case Step::theBreak: result = theBreakPage(facts); break;
    case Step::rhythm: result = rhythmPage(facts); break;
    case Step::waiting: result = waitingPage(facts); break;
    case Step::menuBar: result = menuBarPage(facts); break;
    case Step::start: result = startPage(facts); break;
    }
    result.position = position(step);
    result.advanceTitle = step == Step::start ? "Done" : "Continue";
    return result;
}

std::optional<Step> next(Step after) {
    const int index = stepIndex(after) + 1;
    if (index >= stepCount)
        return std::nullopt;
    return allSteps[index];
}

std::optional<Step> previous(Step before) {
    const int index = stepIndex(before) - 1;
    if (index < 0)
        return std::nullopt;
    return allSteps[index];
}

std::string position(Step step) {
    return number(stepIndex(step) + 1) + " of " + number(stepCount);
}

bool marksSeen(Step step) {
    return step == Step::start;
}

int rhythmSpanMinutes(int every, int sorvalaEvery) {
    if (sorvalaEvery < 1)
        return std::max(every, 1);
    const std::int64_t span = (std::int64_t{std::max(every, 0)} / sorvalaEvery + 1) * sorvalaEvery;
    return static_cast<int>(std::min<std::int64_t>(span, std::numeric_limits<int>::max()));
}

int microMinutes(bool switchedOn, std::optional<int> previous, int factory) {
    if (!switchedOn)
        return 0;
    if (previous && *previous > 0)
        return *previous;
    return factory;
}

std::optional<std::string> notificationButtonTitle(NotificationState state) {
    switch (state) {
    case NotificationState::unasked: return "Allow Notifications";
    case NotificationState::granted: return std::nullopt;
    case NotificationState::denied: return "Open Notification Settings";
    }
    return std::nullopt;
}

std::string notificationStatusLine(NotificationState state) {
    switch (state) {
    case NotificationState::unasked: return "Not asked yet";
    case NotificationState::granted: return "Heads-up notifications are on";
    case NotificationState::denied: return "Breaks will arrive without warning";
    }
    return {};
}

std::string ordinal(int n) {
    switch (n) {
    case 2: return "second";
    case 3: return "third";
    case 4: return "fourth";
    case 5: return "fifth";
    default: return number(n) + "th";
    }
}

std::vector<int> tickMinutes(int every, int span) {
    std::vector<int> ticks;
    if (every < 1)
        return ticks;
    for (std::int64_t minute = every; minute < span; minute += every)
        ticks.push_back(static_cast<int>(minute));
    return ticks;
}

std::vector<int> labelledMinutes(int every, int span, double width, double captionWidth) {
    std::vector<int> labelled;
    if (span < 1)
        return labelled;
    double last = captionWidth;
    for (int minute : tickMinutes(every, span)) {
        const double x = width * minute / span;
        if (x - last >= minimumLabelGap) {
            labelled.push_back(minute);
            last = x;
        }
    }
    return labelled;
}

Facts storedFacts(PreferencesStore& store, int factoryMicroMinutes, NotificationState notifications) {
    namespace Keys = SettingsSchema;
    Facts facts;
    facts.longBreakMinutes = store.boundedInteger(Keys::reminderMinutesKey);
    facts.longBreakLengthMinutes =
        DrawingPace::estimatedMinutesPerDrawing(Settings::load(store, SorvalaGenerator::drawingCount).speed);
    facts.microMinutes = store.boundedInteger(Keys::microMinutesKey);
    facts.factoryMicroMinutes = factoryMicroMinutes;
    facts.restorableMicroMinutes = store.boundedInteger(microMinutesBeforeOnboardingKey);
    facts.microSeconds = BreakTiming::microBreakSeconds;
    facts.cycleEnabled = store.boolean(Keys::breakCycleEnabledKey);
    facts.cycleLength = store.boundedInteger(Keys::breakCycleLengthKey);
    facts.waitLabels = Sensors::alwaysOnCauseMenuLabels();
    facts.notifications = notifications;
    return facts;
}

int storeMicroBreaks(PreferencesStore& store, bool on, int factoryMicroMinutes) {
    if (!on)
        store.set(microMinutesBeforeOnboardingKey, store.integer(SettingsSchema::microMinutesKey));
    const int stored =
        microMinutes(on, store.boundedInteger(microMinutesBeforeOnboardingKey), factoryMicroMinutes);
    store.set(SettingsSchema::microMinutesKey, std::int64_t{stored});
    return stored;
}

} // namespace sorvala::OnboardingFlow
