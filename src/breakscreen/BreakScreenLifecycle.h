// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/BreakScreen.h"
#include "app/ports/MainLoopTimer.h"
#include "breakscreen/BreakWindows.h"
#include "breakscreen/MicroBreakPrompts.h"
#include "core/EnforcementTier.h"
#include "notices/SoundDesign.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

class BreakHistory;
class Clock;
class Logger;
class PreferencesStore;
class ProcessLauncher;
class SystemSignals;

/// The break screen's rules over any set of windows: when a break may begin and must end, what
/// skip, Escape and "5 more min" do, what is recorded, the chimes, hooks and lock, the fade with
/// its deadline, and displays coming and going mid-break.
class BreakScreenLifecycle final : public BreakScreen {
public:
    /// Everything the break screen talks to; each must outlive it.
    struct Dependencies {
        const Clock& clock;
        MainLoopTimer& timers;
        Logger& log;
        BreakHistory& history;
        const PreferencesStore& store;
        BreakWindows& windows;
        /// Starts the break-start and break-end commands; none runs without it.
        ProcessLauncher* launcher = nullptr;
        /// Locks the screen when a long break starts; nothing is locked without it.
        SystemSignals* system = nullptr;
        /// Plays a chime; silent when empty.
        std::function<void(SoundDesign::Event)> playSound = {};
        /// Asks the status item to reinstall itself after a break.
        std::function<void()> statusItemInstalled = {};
        /// Picks the next micro-break tip; the catalogue's random pick when empty.
        std::function<MicroBreakPrompt(const std::optional<MicroBreakPrompt>& previous)> nextPrompt = {};
    };

    explicit BreakScreenLifecycle(Dependencies dependencies);
    BreakScreenLifecycle(const BreakScreenLifecycle&) = delete;
    BreakScreenLifecycle& operator=(const BreakScreenLifecycle&) = delete;
    ~BreakScreenLifecycle() override;

    void begin(int restSeconds, bool isMicroBreak, bool startedManually) override;
    void end(bool completed, bool enforcementApplies) override;
    bool isActive() const override { return m_onScreen || m_teardownPending; }
    void setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) override;

    /// The user pressed Escape: a quick second press ends the break when the setting allows.
    void escapePressed();
    /// The wall clock was set by `bySeconds`: the break's instants move with it, so its length,
    /// its extension and the Escape pair are measured in elapsed time.
    void wallClockMoved(double bySeconds) override;
    /// The user chose "Skip" or "Skip this break".
    void skipPressed();
    /// The user chose "5 more min": the break may not end for five more minutes.
    void extendPressed();
    /// The displays changed: release windows whose display went away, cover new ones.
    void screenParametersChanged();

    /// A break is on screen (not fading).
    bool isOnScreen() const { return m_onScreen; }
    bool isMicroBreak() const { return m_isMicroBreak; }
    /// The break on screen was started by the user.
    bool startedManually() const { return m_startedManually; }
    /// The displays covered right now, in the order they were covered.
    const std::vector<std::string>& coveredDisplays() const { return m_covered; }
    /// The display holding the content; nullopt when none does.
    const std::optional<std::string>& contentDisplay() const { return m_contentDisplay; }
    /// Timers of its own that will still fire.
    int liveTimers() const { return (isLive(m_countdownTimer) ? 1 : 0) + (isLive(m_fadeDeadline) ? 1 : 0); }

private:
    Instant now() const;
    void cover(const BreakWindows::Display& display, bool opaque);
    void showContent(const std::string& display, bool newBreak);
    void drawingWaitTick();
    void countdownTick();
    void revealSkipIfAllowed();
    void finishTeardown();
    void runHook(std::string_view key);
    void play(SoundDesign::Event event);

    Dependencies m_deps;
    std::function<void(bool)> m_onBreakEnded;
    bool m_onScreen = false;
    bool m_teardownPending = false;
    bool m_isMicroBreak = false;
    bool m_startedManually = false;
    bool m_skipVisible = false;
    bool m_hasLoggedMissingRenderer = false;
    long long m_lastHeartbeatSeconds = 0;
    EnforcementTier m_tier = EnforcementTier::casual;
    std::vector<std::string> m_covered;
    std::optional<std::string> m_contentDisplay;
    std::optional<MicroBreakPrompt> m_lastMicroPrompt;
    std::optional<Instant> m_beginDate;
    std::optional<Instant> m_endDate;
    std::optional<Instant> m_extendedUntil;
    std::optional<Instant> m_drawingCompletedAt;
    std::optional<Instant> m_lastEscapePress;
    TimerField m_countdownTimer;
    TimerField m_fadeDeadline;
    /// Shared with the fade's completion, which may arrive after this object is gone.
    std::shared_ptr<BreakScreenLifecycle*> m_self;
};

} // namespace sorvala
