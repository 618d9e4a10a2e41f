// SPDX-License-Identifier: MIT
#include "onboarding/OnboardingFlow.h"

#include "core/BreakTiming.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "drawing/DrawingPace.h"
#include "drawing/Settings.h"
#include "drawing/SorvalaGenerator.h"
#include "i18n/I18n.h"
#include "sensing/Sensors.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sorvala::OnboardingFlow {

namespace {

/// "1 minute", "5 minutes": a length inside a sentence.
std::string minutes(int count) {
    return i18np("%1 minute", "%1 minutes", count);
}

/// "1 second", "20 seconds": a length inside a sentence.
std::string seconds(int count) {
    return i18np("%1 second", "%1 seconds", count);
}

int stepIndex(Step step) {
    return static_cast<int>(step);
}

constexpr int stepCount = static_cast<int>(std::size(allSteps));

Page theBreakPage(const Facts& facts) {
    Page page;
    page.title = i18n("This is a break.");
    // TRANSLATORS: %2 is a length such as "5 minutes".
    page.body = i18np("Every %1 minute, Sorvala takes the screen for about %2 and draws one of these, stroke by "
                      "stroke. There is nothing to read and nothing to click — the drawing is the timer, and it "
                      "is finished when the break is. Your desktop comes back exactly where you left it.",
                      "Every %1 minutes, Sorvala takes the screen for about %2 and draws one of these, stroke by "
                      "stroke. There is nothing to read and nothing to click — the drawing is the timer, and it "
                      "is finished when the break is. Your desktop comes back exactly where you left it.",
                      facts.sorvalaEveryMinutes(), minutes(facts.longBreakLengthMinutes));
    page.figure = LiveDrawing{};
    return page;
}

Page rhythmPage(const Facts& facts) {
    const bool on = facts.microMinutes >= 1;
    const int sorvalaEvery = facts.sorvalaEveryMinutes();
    Page page;
    if (on) {
        page.title = i18np("Most breaks are %1 second.", "Most breaks are %1 seconds.", facts.microSeconds);
        // TRANSLATORS: %2 is a length such as "20 seconds".
        page.body = i18np("Between the drawings there are much shorter rests. Every %1 minute Sorvala asks you to "
                          "look away for %2 — long enough for your eyes to focus on something across the room.",
                          "Between the drawings there are much shorter rests. Every %1 minutes Sorvala asks you to "
                          "look away for %2 — long enough for your eyes to focus on something across the room.",
                          facts.microMinutes, seconds(facts.microSeconds));
        if (facts.schedule().cycleRidesMicro())
            // TRANSLATORS: %1 is an ordinal such as "third": every third break is the long one.
            page.body += " " + i18n("Every %1 one is the long break you just saw.", ordinal(facts.cycleLength));
        else
            page.body += " " + i18np("The long break keeps its own clock alongside them, every %1 minute.",
                                     "The long break keeps its own clock alongside them, every %1 minutes.",
                                     facts.longBreakMinutes);
    } else {
        page.title = i18n("Long breaks only.");
        page.body = i18np("Eye breaks are off, so the only rest Sorvala asks for is the long one. It comes every "
                          "%1 minute on its own clock.",
                          "Eye breaks are off, so the only rest Sorvala asks for is the long one. It comes every "
                          "%1 minutes on its own clock.",
                          facts.longBreakMinutes);
    }
    const int every = on ? facts.microMinutes : 0;
    page.figure = RhythmStrip{every, sorvalaEvery, rhythmSpanMinutes(every, sorvalaEvery)};
    page.control = MicroBreaksSwitch{on};
    const int withMicroOn = facts.sorvalaEveryMinutesWithMicroOn();
    if (!on && withMicroOn != sorvalaEvery)
        // TRANSLATORS: %2 is a number of minutes.
        page.footnote = i18np("The sorvala now comes every %1 minute rather than every %2 — the long break falls "
                              "back to its own clock when nothing rides in front of it.",
                              "The sorvala now comes every %1 minutes rather than every %2 — the long break falls "
                              "back to its own clock when nothing rides in front of it.",
                              sorvalaEvery, withMicroOn);
    return page;
}

Page waitingPage(const Facts& facts) {
    Page page;
    page.title = i18n("It waits until you're free.");
    page.body = i18n("A break that lands mid-sentence is a break you learn to dismiss. Sorvala holds one whenever "
                     "you are plainly busy, and takes the screen the moment you are not — including waiting out "
                     "the sentence you are still typing.");
    page.footnote = i18n("A held break never expires. It starts when you're clear, however long that takes.");
    page.figure = WaitingStrip{facts.waitLabels};
    return page;
}

// Where the icon lives on this desktop, and what to do when the desktop shows no tray at all.
constexpr const char* trayHint =
    I18N_NOOP("No mark in your panel? On GNOME, install gnome-shell-extension-appindicator and log in again.");

Page menuBarPage(const Facts& facts) {
    Page page;
    page.title = i18n("It lives in the menu bar.");
    page.body = i18n("Sorvala lives up here. Click the mark for your stats and the time to the next break; "
                     "right-click it for everything else.") +
                " ";
    switch (facts.notifications) {
    case NotificationState::unasked:
        page.body += i18n("Thirty seconds before a long break it can send a notification, so the screen never goes "
                          "without warning — and you can snooze or skip from the notification itself.");
        break;
    case NotificationState::granted:
        page.body +=
            i18n("Thirty seconds before a long break you'll get a notification you can snooze or skip from.");
        break;
    case NotificationState::denied:
        page.body += i18n("Notifications are turned off for Sorvala, so breaks will arrive without the "
                          "thirty-second warning.");
        break;
    }
    std::string footnote = i18n(trayHint);
    if (facts.notifications == NotificationState::denied)
        footnote =
            i18n("Start a notification service (your desktop's, or one such as dunst), then reopen this page.") +
            " " + footnote;
    page.footnote = footnote;
    page.figure = MenuBarStrip{};
    page.control = NotificationsControl{facts.notifications};
    return page;
}

Page startPage(const Facts& facts) {
    Page page;
    page.title = i18n("You're set.");
    page.body = i18np("Your first break is due within %1 minute.", "Your first break is due within %1 minutes.",
                      facts.sorvalaEveryMinutes());
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
    result.advanceTitle =
        step == Step::start ? i18nc("onboarding button", "Done") : i18nc("onboarding button", "Continue");
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
    // TRANSLATORS: the page's place among the pages, such as "2 of 5".
    return i18nc("onboarding page", "%1 of %2", stepIndex(step) + 1, stepCount);
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
    case NotificationState::unasked: return i18n("Allow Notifications");
    case NotificationState::granted: return std::nullopt;
    case NotificationState::denied: return i18n("Open Notification Settings");
    }
    return std::nullopt;
}

std::string notificationStatusLine(NotificationState state) {
    switch (state) {
    case NotificationState::unasked: return i18n("Not asked yet");
    case NotificationState::granted: return i18n("Heads-up notifications are on");
    case NotificationState::denied: return i18n("Breaks will arrive without warning");
    }
    return {};
}

std::string ordinal(int n) {
    switch (n) {
    case 2: return i18nc("ordinal", "second");
    case 3: return i18nc("ordinal", "third");
    case 4: return i18nc("ordinal", "fourth");
    case 5: return i18nc("ordinal", "fifth");
    // TRANSLATORS: an ordinal from a number, 6 and up.
    default: return i18nc("ordinal", "%1th", n);
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
