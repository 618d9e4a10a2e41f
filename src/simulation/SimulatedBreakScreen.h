// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/BreakScreen.h"
#include "app/ports/MainLoopTimer.h"
#include "core/EnforcementTier.h"

#include <optional>

namespace sorvala {

class BreakHistory;
class Clock;
class Logger;
class PreferencesStore;

/// A break screen without windows that ends breaks by the real screen's rules: a micro break
/// after its rest seconds, a long one 10 s after its drawing completes or at the 900 s ceiling,
/// skip, double Escape and "5 more min" as the enforcement tier allows; it records what the real
/// one records.
class SimulatedBreakScreen final : public BreakScreen {
public:
    /// `drawingSeconds`: how long each long break's drawing takes to complete.
    SimulatedBreakScreen(const Clock& clock, MainLoopTimer& timers, Logger& log, BreakHistory& history,
                         const PreferencesStore& store, double drawingSeconds);

    void begin(int restSeconds, bool isMicroBreak, bool startedManually) override;
    void end(bool completed, bool enforcementApplies) override;
    bool isActive() const override { return m_onScreen || m_fadePending; }
    void setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) override;

    /// A break is on screen (not fading).
    bool isOnScreen() const { return m_onScreen; }
    bool isMicroBreak() const { return m_isMicroBreak; }
    /// The user's controls.
    void skipPressed();
    void escapePressed();
    void extendPressed();
    /// Called as each break begins, before anything else happens.
    void setOnBegin(std::function<void(bool isMicroBreak, bool startedManually)> observer) {
        m_onBegin = std::move(observer);
    }
    /// Timers of its own that will still fire.
    int liveTimers() const { return (isLive(m_countdownTimer) ? 1 : 0) + (isLive(m_fadeTimer) ? 1 : 0); }
    /// How many breaks began and how many of them finished their teardown.
    int begun() const { return m_begun; }
    int finished() const { return m_finished; }

private:
    void longTick();
    void microTick();
    void finishTeardown();

    const Clock& m_clock;
    MainLoopTimer& m_timers;
    Logger& m_log;
    BreakHistory& m_history;
    const PreferencesStore& m_store;
    double m_drawingSeconds;
    std::function<void(bool)> m_onBreakEnded;
    std::function<void(bool, bool)> m_onBegin;

    bool m_onScreen = false;
    bool m_fadePending = false;
    bool m_isMicroBreak = false;
    bool m_startedManually = false;
    EnforcementTier m_tier = EnforcementTier::casual;
    std::optional<Instant> m_beginDate;
    std::optional<Instant> m_endDate;
    std::optional<Instant> m_extendedUntil;
    std::optional<Instant> m_drawingCompletedAt;
    std::optional<Instant> m_lastEscapePress;
    long long m_lastHeartbeatSeconds = 0;
    TimerField m_countdownTimer;
    TimerField m_fadeTimer;
    int m_begun = 0;
    int m_finished = 0;
};

} // namespace sorvala
