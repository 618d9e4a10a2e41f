// SPDX-License-Identifier: MIT
#include "simulation/SimulatedBreakScreen.h"

#include "app/ports/BreakHistory.h"
#include "core/BreakHold.h"
#include "core/BreakTiming.h"
#include "core/Clock.h"
#include "core/Diagnostics.h"
#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "history/BreakLog.h"

#include <cstdio>

namespace sorvala {

namespace {

constexpr double doublePressWindowSeconds = 1.0;
constexpr double nearlyDoneThresholdSeconds = 10.0;
constexpr double heartbeatSeconds = 30;
constexpr double extendSeconds = 300;

std::string whole(double seconds) {
    return std::to_string(static_cast<long long>(seconds));
}

bool exitCompletes(std::optional<double> remainingSeconds, bool nearlyDoneEnabled, bool drawingComplete) {
    if (drawingComplete)
        return true;
    return nearlyDoneEnabled && remainingSeconds && *remainingSeconds <= nearlyDoneThresholdSeconds;
}

} // namespace

SimulatedBreakScreen::SimulatedBreakScreen(const Clock& clock, MainLoopTimer& timers, Logger& log,
                                           BreakHistory& history, const PreferencesStore& store,
                                           double drawingSeconds)
    : m_clock(clock), m_timers(timers), m_log(log), m_history(history), m_store(store),
      m_drawingSeconds(drawingSeconds) {}

void SimulatedBreakScreen::setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) {
    m_onBreakEnded = std::move(callback);
}

void SimulatedBreakScreen::begin(int restSeconds, bool isMicroBreak, bool startedManually) {
    if (isActive()) {
        m_log.log("break screen begin ignored: a break is already on screen");
        return;
    }
    const auto manual = std::string(" startedManually=") + (startedManually ? "true" : "false");
    if (isMicroBreak) {
        m_log.log("micro break screen shown rest=" + std::to_string(restSeconds) + "s" + manual);
    } else {
        const auto stored = m_store.object("speed");
        char speed[32];
        std::snprintf(speed, sizeof speed, "%.1f", stored ? PreferenceConversion::toNumber(*stored) : 1.0);
        m_log.log(std::string("long break screen shown speed=") + speed + manual);
    }
    ++m_begun;
    if (m_onBegin)
        m_onBegin(isMicroBreak, startedManually);
    m_onScreen = true;
    m_isMicroBreak = isMicroBreak;
    m_startedManually = startedManually;
    m_beginDate = m_clock.now();
    m_tier = storedEnforcementTier(m_store, isMicroBreak ? BreakEvent::Kind::micro : BreakEvent::Kind::long_);
    if (!isMicroBreak) {
        m_countdownTimer = m_timers.scheduled(1, true, 0, [this] { longTick(); });
    } else if (restSeconds > 0) {
        m_endDate = m_clock.now() + restSeconds;
        m_countdownTimer = m_timers.scheduled(1, true, 0, [this] { microTick(); });
        microTick();
    }
}

void SimulatedBreakScreen::longTick() {
    const auto now = m_clock.now();
    const auto elapsed = static_cast<long long>(now - *m_beginDate);
    const auto progress =
        now - *m_beginDate >= m_drawingSeconds ? BreakHold::DrawingProgress::complete : BreakHold::DrawingProgress::inProgress;
    if (Diagnostics::shouldLogHeartbeat(elapsed, m_lastHeartbeatSeconds, static_cast<long long>(heartbeatSeconds))) {
        m_lastHeartbeatSeconds = elapsed;
        m_log.log("long break running elapsed=" + std::to_string(elapsed) + "s drawingComplete=" +
                  std::string(text(progress)) + " extendedFor=" +
                  (m_extendedUntil ? whole(*m_extendedUntil - now) + "s" : std::string("none")) + " ceiling=" +
                  whole(BreakTiming::longBreakMaximumSeconds) + "s");
    }
    m_drawingCompletedAt = BreakHold::latchCompletedAt(m_drawingCompletedAt, progress, now);
    if (BreakHold::longBreakCanEnd(m_drawingCompletedAt, now, m_extendedUntil, m_beginDate,
                                   BreakTiming::longBreakMaximumSeconds, BreakTiming::longBreakLingerSeconds)) {
        if (!BreakHold::isComplete(progress))
            m_log.log("long break ended at the maximum duration; the drawing never completed");
        end(true, true);
    }
}

void SimulatedBreakScreen::microTick() {
    if (m_endDate && *m_endDate - m_clock.now() <= 0)
        end(true, true);
}

void SimulatedBreakScreen::end(bool completed, bool enforcementApplies) {
    if (!m_onScreen)
        return;
    const auto now = m_clock.now();
    const std::optional<double> remaining = m_endDate ? std::optional<double>(*m_endDate - now) : std::nullopt;
    const bool exit = completed || exitCompletes(remaining, m_store.boolean(SettingsSchema::endNearlyDoneKey),
                                                 m_drawingCompletedAt.has_value());
    const double elapsed = m_beginDate ? now - *m_beginDate : 0;
    if (!exit && enforcementApplies && !canSkip(m_tier, elapsed)) {
        m_log.log("break skip refused tier=" + std::string(text(m_tier)) + " elapsed=" + whole(elapsed) + "s");
        return;
    }
    const auto kind = m_isMicroBreak ? BreakEvent::Kind::micro : BreakEvent::Kind::long_;
    if (BreakLog::shouldRecord(exit, m_startedManually, !enforcementApplies))
        m_history.record(kind, exit ? BreakEvent::Outcome::taken : BreakEvent::Outcome::skipped,
                         m_beginDate ? std::optional<double>(elapsed) : std::nullopt);
    else
        m_log.log(std::string("break not recorded (") +
                  (enforcementApplies ? "manual break skipped" : "torn down by the app") + ") elapsed=" +
                  whole(elapsed) + "s");
    m_beginDate.reset();
    m_startedManually = false;
    m_extendedUntil.reset();
    m_drawingCompletedAt.reset();
    m_lastEscapePress.reset();
    m_lastHeartbeatSeconds = 0;
    m_endDate.reset();
    m_countdownTimer.reset();
    m_onScreen = false;
    m_fadePending = true;
    m_fadeTimer = m_timers.scheduled(BreakTiming::breakFadeSeconds, false, 0, [this] { finishTeardown(); });
}

void SimulatedBreakScreen::finishTeardown() {
    m_fadeTimer.reset();
    if (!m_fadePending)
        return;
    m_fadePending = false;
    ++m_finished;
    if (m_onBreakEnded)
        m_onBreakEnded(m_isMicroBreak);
}

void SimulatedBreakScreen::skipPressed() {
    end(false, true);
}

void SimulatedBreakScreen::escapePressed() {
    if (!m_onScreen)
        return;
    const auto now = m_clock.now();
    const bool doublePress = m_lastEscapePress && now - *m_lastEscapePress <= doublePressWindowSeconds;
    m_lastEscapePress = now;
    if (m_store.boolean(SettingsSchema::doubleEscapeSkipsKey) && doublePress)
        end(false, true);
}

void SimulatedBreakScreen::extendPressed() {
    if (!m_onScreen)
        return;
    const auto now = m_clock.now();
    m_extendedUntil = std::max(m_extendedUntil.value_or(now), now) + extendSeconds;
    m_log.log("break extended by 5m; ends no earlier than " + iso8601(*m_extendedUntil));
}

} // namespace sorvala
