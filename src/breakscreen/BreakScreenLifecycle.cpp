// SPDX-License-Identifier: MIT
#include "breakscreen/BreakScreenLifecycle.h"

#include "app/AutomationHooks.h"
#include "app/ports/BreakHistory.h"
#include "breakscreen/BreakEscape.h"
#include "core/BreakHold.h"
#include "core/BreakTiming.h"
#include "core/Clock.h"
#include "core/Diagnostics.h"
#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "drawing/AppearanceKeys.h"
#include "drawing/Settings.h"
#include "history/BreakLog.h"
#include "sensing/BreakLock.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sorvala {

namespace {

constexpr long long heartbeatEverySeconds = 30;
constexpr double extendSeconds = 300;

std::string whole(double seconds) {
    return std::to_string(static_cast<long long>(seconds));
}

/// A number the way people write a decimal: "3.0", "1.5", "0.25".
std::string decimal(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, error == std::errc() ? end : buffer);
    if (text.find_first_of(".en") == std::string::npos)
        text += ".0";
    return text;
}

} // namespace

BreakScreenLifecycle::BreakScreenLifecycle(Dependencies dependencies)
    : m_deps(std::move(dependencies)), m_self(std::make_shared<BreakScreenLifecycle*>(this)) {}

BreakScreenLifecycle::~BreakScreenLifecycle() {
    *m_self = nullptr;
}

Instant BreakScreenLifecycle::now() const {
    return m_deps.clock.now();
}

void BreakScreenLifecycle::setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) {
    m_onBreakEnded = std::move(callback);
}

void BreakScreenLifecycle::play(SoundDesign::Event event) {
    if (m_deps.playSound)
        m_deps.playSound(event);
}

void BreakScreenLifecycle::runHook(std::string_view key) {
    if (m_deps.launcher)
        AutomationHooks::run(m_deps.store.text(key), *m_deps.launcher, m_deps.log);
}

void BreakScreenLifecycle::begin(int restSeconds, bool isMicroBreak, bool startedManually) {
    if (isActive()) {
        m_deps.log.log("break screen begin ignored: a break is already on screen");
        return;
    }
    const auto displays = m_deps.windows.displays();
    if (displays.empty()) {
        m_deps.log.log("break screen begin refused: no displays");
        return;
    }
    const auto manual = std::string("startedManually=") + (startedManually ? "true" : "false");
    if (isMicroBreak) {
        m_deps.log.log("micro break screen shown rest=" + std::to_string(restSeconds) + "s " + manual);
    } else {
        // The speed the renderer will use: a stored value out of range is corrected when read.
        const auto stored = m_deps.store.object(AppearanceKeys::speedKey);
        const double speed = stored ? Settings::correctedSpeed(PreferenceConversion::toNumber(*stored))
                                    : Settings::defaultSpeed;
        m_deps.log.log("long break screen shown speed=" + decimal(speed) + " " + manual);
    }
    play(SoundDesign::Event::breakStart);

    m_onScreen = true;
    m_isMicroBreak = isMicroBreak;
    m_startedManually = startedManually;
    m_beginDate = now();
    m_tier = storedEnforcementTier(m_deps.store, isMicroBreak ? BreakEvent::Kind::micro : BreakEvent::Kind::long_);
    Appearance::rerollRandomTheme();
    if (isMicroBreak && restSeconds > 0)
        m_endDate = now() + restSeconds;

    const auto content = std::find_if(displays.begin(), displays.end(), [](const auto& d) { return d.isMain; });
    m_contentDisplay = (content != displays.end() ? *content : displays.front()).id;
    for (const auto& display : displays)
        cover(display, false);
    showContent(*m_contentDisplay, true);
    // The locker is asked first: a lock screen cannot take a keyboard that the break holds.
    if (BreakLock::shouldLock(m_deps.store.boolean(SettingsSchema::lockScreenOnBreakStartKey), isMicroBreak) &&
        m_deps.system) {
        m_deps.windows.screenLockRequested();
        BreakLock::lockNow(*m_deps.system);
    }
    m_deps.windows.fadeIn();

    if (!isMicroBreak) {
        m_countdownTimer = m_deps.timers.scheduled(1, true, 0, [this] { drawingWaitTick(); });
    } else if (m_endDate) {
        m_countdownTimer = m_deps.timers.scheduled(1, true, 0, [this] { countdownTick(); });
        countdownTick();
    }
    runHook(SettingsSchema::breakStartCommandKey);
}

void BreakScreenLifecycle::cover(const BreakWindows::Display& display, bool opaque) {
    m_deps.windows.cover(display.id, opaque);
    m_covered.push_back(display.id);
}

void BreakScreenLifecycle::showContent(const std::string& display, bool newBreak) {
    if (newBreak)
        m_skipVisible = canSkip(m_tier, 0);
    if (m_isMicroBreak) {
        // Content rebuilt mid-break keeps its tip.
        if (newBreak || !m_lastMicroPrompt)
            m_lastMicroPrompt = m_deps.nextPrompt ? m_deps.nextPrompt(m_lastMicroPrompt)
                                                  : MicroBreakPrompts::next(m_lastMicroPrompt);
        const double remaining = m_endDate ? std::max(0.0, *m_endDate - now()) : 0;
        BreakWindows::MicroContent content;
        content.prompt = *m_lastMicroPrompt;
        content.restSeconds = static_cast<int>(std::lround(remaining));
        content.skipVisible = m_skipVisible;
        content.escapeHintVisible = m_deps.store.boolean(SettingsSchema::doubleEscapeSkipsKey);
        m_deps.windows.showMicroContent(display, content);
    } else {
        m_deps.windows.showLongContent(display, {.skipVisible = m_skipVisible});
    }
    m_contentDisplay = display;
}

void BreakScreenLifecycle::revealSkipIfAllowed() {
    if (m_skipVisible || !m_beginDate)
        return;
    if (canSkip(m_tier, now() - *m_beginDate)) {
        m_skipVisible = true;
        m_deps.windows.revealSkip();
    }
}

void BreakScreenLifecycle::drawingWaitTick() {
    revealSkipIfAllowed();
    const auto complete = m_deps.windows.drawingComplete();
    if (!complete && !m_hasLoggedMissingRenderer) {
        m_hasLoggedMissingRenderer = true;
        m_deps.log.log("long break has no renderer; the break cannot complete on its own");
    }
    const auto at = now();
    const auto progress = BreakHold::drawingProgress(complete);
    const auto elapsed = static_cast<long long>(at - *m_beginDate);
    if (Diagnostics::shouldLogHeartbeat(elapsed, m_lastHeartbeatSeconds, heartbeatEverySeconds)) {
        m_lastHeartbeatSeconds = elapsed;
        m_deps.log.log("long break running elapsed=" + std::to_string(elapsed) + "s drawingComplete=" +
                       std::string(text(progress)) + " extendedFor=" +
                       (m_extendedUntil ? whole(*m_extendedUntil - at) + "s" : std::string("none")) + " ceiling=" +
                       whole(BreakTiming::longBreakMaximumSeconds) + "s");
    }
    // The first completion holds for the rest of the break, whatever the renderer shows after it.
    if (!m_drawingCompletedAt)
        m_drawingCompletedAt = BreakHold::latchCompletedAt(std::nullopt, progress, at);
    if (BreakHold::longBreakCanEnd(m_drawingCompletedAt, at, m_extendedUntil, m_beginDate,
                                   BreakTiming::longBreakMaximumSeconds, BreakTiming::longBreakLingerSeconds)) {
        if (!BreakHold::isComplete(progress))
            m_deps.log.log("long break ended at the maximum duration; the drawing never completed");
        end(true, true);
    }
}

void BreakScreenLifecycle::countdownTick() {
    if (!m_endDate)
        return;
    const double remaining = *m_endDate - now();
    if (remaining > 0) {
        m_deps.windows.setCountdown(MicroBreakDisplay::countdownText(remaining));
        revealSkipIfAllowed();
    } else {
        end(true, true);
    }
}

void BreakScreenLifecycle::escapePressed() {
    if (!m_onScreen)
        return;
    const auto at = now();
    const bool doublePress = BreakEscape::isDoublePress(m_lastEscapePress, at);
    m_lastEscapePress = at;
    if (doublePress && m_deps.store.boolean(SettingsSchema::doubleEscapeSkipsKey))
        end(false, true);
}

void BreakScreenLifecycle::wallClockMoved(double bySeconds) {
    // A break lasts its own length whatever the wall clock says.
    for (auto* instant : {&m_beginDate, &m_endDate, &m_extendedUntil, &m_drawingCompletedAt, &m_lastEscapePress})
        if (*instant)
            *instant = **instant + bySeconds;
}

void BreakScreenLifecycle::skipPressed() {
    end(false, true);
}

void BreakScreenLifecycle::extendPressed() {
    if (!m_onScreen)
        return;
    const auto at = now();
    m_extendedUntil = std::max(m_extendedUntil.value_or(at), at) + extendSeconds;
    m_deps.log.log("break extended by 5m; ends no earlier than " + iso8601(*m_extendedUntil));
}

void BreakScreenLifecycle::end(bool completed, bool enforcementApplies) {
    if (!m_onScreen) {
        // The application tears down a fading break at once (the machine is going to sleep): a
        // fade left running would end after the wake and bring half-faded windows back.
        if (m_teardownPending && !enforcementApplies)
            finishTeardown();
        return;
    }
    const auto at = now();
    const std::optional<double> remaining = m_endDate ? std::optional<double>(*m_endDate - at) : std::nullopt;
    const bool exit = completed || BreakEscape::exitCompletes(remaining, m_deps.store.boolean(SettingsSchema::endNearlyDoneKey),
                                                              m_drawingCompletedAt.has_value());
    const double elapsed = m_beginDate ? at - *m_beginDate : 0;
    if (!exit && enforcementApplies && !canSkip(m_tier, elapsed)) {
        m_deps.log.log("break skip refused tier=" + std::string(text(m_tier)) + " elapsed=" + whole(elapsed) + "s");
        return;
    }
    const auto kind = m_isMicroBreak ? BreakEvent::Kind::micro : BreakEvent::Kind::long_;
    if (BreakLog::shouldRecord(exit, m_startedManually, !enforcementApplies))
        m_deps.history.record(kind, exit ? BreakEvent::Outcome::taken : BreakEvent::Outcome::skipped,
                              m_beginDate ? std::optional<double>(elapsed) : std::nullopt);
    else
        m_deps.log.log(std::string("break not recorded (") +
                       (enforcementApplies ? "manual break skipped" : "torn down by the app") + ") elapsed=" +
                       whole(elapsed) + "s");
    m_beginDate.reset();
    m_startedManually = false;
    m_extendedUntil.reset();
    m_drawingCompletedAt.reset();
    m_lastEscapePress.reset();
    m_hasLoggedMissingRenderer = false;
    m_lastHeartbeatSeconds = 0;

    if (exit && !m_isMicroBreak && m_deps.windows.drawingComplete() == true)
        m_deps.windows.saveFinishedDrawing();
    play(SoundDesign::Event::breakEnd);

    m_countdownTimer.reset();
    m_endDate.reset();
    m_covered.clear();
    m_contentDisplay.reset();
    m_skipVisible = false;
    m_onScreen = false;
    runHook(SettingsSchema::breakEndCommandKey);

    m_teardownPending = true;
    if (m_deps.statusItemInstalled)
        m_deps.statusItemInstalled();
    if (!enforcementApplies) {
        // Torn down by the application, which goes on (to sleep) as soon as this returns: no fade.
        m_deps.windows.fadeOut(0, [] {});
        finishTeardown();
        return;
    }
    m_fadeDeadline = m_deps.timers.scheduled(BreakTiming::breakFadeDeadline, false, 0, [this] {
        if (!m_teardownPending)
            return;
        m_deps.log.log("break fade did not complete within " + whole(BreakTiming::breakFadeDeadline) +
                       "s; tearing down on the deadline");
        finishTeardown();
    });
    m_deps.windows.fadeOut(BreakTiming::breakFadeSeconds, [self = std::weak_ptr(m_self)] {
        if (const auto owner = self.lock(); owner && *owner)
            (*owner)->finishTeardown();
    });
}

void BreakScreenLifecycle::finishTeardown() {
    if (!m_teardownPending)
        return;
    m_teardownPending = false;
    m_fadeDeadline.reset();
    m_deps.windows.releaseAll();
    if (m_onBreakEnded)
        m_onBreakEnded(m_isMicroBreak);
}

void BreakScreenLifecycle::screenParametersChanged() {
    if (!m_onScreen)
        return;
    const auto displays = m_deps.windows.displays();
    const auto listed = [&](const std::string& id) {
        return std::any_of(displays.begin(), displays.end(), [&](const auto& d) { return d.id == id; });
    };
    std::vector<std::string> gone;
    for (const auto& id : m_covered)
        if (!listed(id))
            gone.push_back(id);
    int appeared = 0;
    for (const auto& display : displays)
        if (std::find(m_covered.begin(), m_covered.end(), display.id) == m_covered.end()) {
            cover(display, true);
            ++appeared;
        }
    // The content leaves a display that went away before its window goes.
    const bool contentLost = !m_contentDisplay || !listed(*m_contentDisplay);
    if (contentLost && !displays.empty()) {
        const auto main = std::find_if(displays.begin(), displays.end(), [](const auto& d) { return d.isMain; });
        const auto& target = (main != displays.end() ? *main : displays.front()).id;
        if (m_contentDisplay)
            m_deps.windows.moveContent(target);
        else
            showContent(target, false);
        m_contentDisplay = target;
    }
    for (const auto& id : gone) {
        m_deps.windows.release(id);
        m_covered.erase(std::find(m_covered.begin(), m_covered.end(), id));
    }
    if (displays.empty())
        m_contentDisplay.reset(); // the content went with the last window; rebuilt when a display returns
    m_deps.windows.refit();
    if (!gone.empty())
        m_deps.log.log("break screen released " + std::to_string(gone.size()) +
                       " window(s) whose display went away");
    for (int i = 0; i < appeared; ++i)
        m_deps.log.log("break screen covered a display that appeared mid-break");
}

} // namespace sorvala
