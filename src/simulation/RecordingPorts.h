// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/BannerCenter.h"
#include "app/ports/BreakHistory.h"
#include "app/ports/MainLoopTimer.h"
#include "app/ports/MenuBar.h"
#include "app/ports/Notices.h"
#include "app/ports/Onboarding.h"
#include "app/ports/Updater.h"

namespace sorvala {

class Clock;
class Logger;
class Timeline;

/// The notices on virtual time: they note what they show and clear, and the away-undo panel
/// goes away by itself after its 12 seconds, as the real one does.
class RecordingNotices final : public Notices {
public:
    RecordingNotices(Timeline& timeline, MainLoopTimer& timers);

    void wire(Callbacks callbacks) override { m_callbacks = std::move(callbacks); }
    void show(const UserSignal& signal) override;
    void clear(UserSignal::Kind kind) override;
    void refreshOvertimeTicker() override {}
    void refreshWellnessTicker() override {}
    void stopOvertimeTicker() override {}

    bool preBreakShowing() const { return m_preBreakShowing; }
    bool awayUndoShowing() const { return m_awayUndoShowing; }
    /// Timers of its own that will still fire.
    int liveTimers() const { return isLive(m_awayUndoTimer) ? 1 : 0; }
    /// The user's choices on the panels; nothing happens when the panel is not showing.
    void chooseSkip();
    void chooseSnooze();
    void chooseUndo();

private:
    Timeline& m_timeline;
    MainLoopTimer& m_timers;
    Callbacks m_callbacks;
    bool m_preBreakShowing = false;
    bool m_awayUndoShowing = false;
    TimerField m_awayUndoTimer;
};

/// A menu bar that only counts its refreshes.
class RecordingMenuBar final : public MenuBar {
public:
    void install() override {}
    void startWatching() override {}
    void refresh() override { ++refreshes; }
    void refreshCountdownTicker() override {}
    void rebuildIfNeeded(int) override {}
    std::string managerDescription() const override { return "simulated"; }
    std::string screenDescription() const override { return "screens=1"; }
    std::string state() const override { return "statusItem=installed"; }
    int refreshes = 0;
};

/// Banners that are always available and only noted.
class RecordingBannerCenter final : public BannerCenter {
public:
    explicit RecordingBannerCenter(Timeline& timeline) : m_timeline(timeline) {}
    void registerCategories(const std::vector<int>&) override {}
    void refreshAuthorization(bool) override {}
    bool isAvailable() const override { return true; }
    void clearDelivered() override;

private:
    Timeline& m_timeline;
};

class RecordingUpdater final : public Updater {
public:
    void startAutomaticChecks() override { ++starts; }
    int starts = 0;
};

/// Onboarding that was always shown before.
class RecordingOnboarding final : public Onboarding {
public:
    void showIfNeeded() override {}
    bool isShowing() const override { return false; }
};

/// The break history in memory; each record reports its line to the log first, as the file does.
class MemoryBreakHistory final : public BreakHistory {
public:
    MemoryBreakHistory(const Clock& clock, Logger& log) : m_clock(clock), m_log(log) {}
    void record(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> durationSeconds) override;
    std::vector<BreakEvent> events() override { return m_events; }
    const std::vector<BreakEvent>& recorded() const { return m_events; }

private:
    const Clock& m_clock;
    Logger& m_log;
    std::vector<BreakEvent> m_events;
};

} // namespace sorvala
