// SPDX-License-Identifier: MIT
#pragma once

#include "app/SettingsSchema.h"
#include "app/StatusLine.h"
#include "app/ports/BannerCenter.h"
#include "app/ports/MainLoopTimer.h"
#include "app/ports/ShortcutCommands.h"
#include "core/BreakEngine.h"
#include "core/SnoozeRequest.h"
#include "core/Subscription.h"
#include "notices/WellnessNudge.h"

#include <optional>
#include <string>

namespace sorvala {

class BannerCenter;
class BreakHistory;
class BreakScreen;
class Calendar;
class Clock;
class HotKeyRegistrar;
class Logger;
class MenuBar;
class Notices;
class Onboarding;
class PreferencesStore;
class SystemSignals;
class Updater;

/// The application object: owns the break engine and every scheduling timer, samples the user
/// and the machine, carries out the engine's effects, and runs the commands, the launch, quit,
/// sleep and wake.
class ApplicationDelegate final : public ShortcutCommands {
public:
    /// Everything the application object talks to; each must outlive it.
    struct Dependencies {
        PreferencesStore& store;
        const Calendar& calendar;
        const Clock& clock;
        Logger& log;
        MainLoopTimer& timers;
        SystemSignals& signals;
        BreakHistory& history;
        BreakScreen& breakScreen;
        Notices& notices;
        MenuBar& menuBar;
        BannerCenter& banners;
        Updater& updater;
        Onboarding& onboarding;
        /// The global shortcuts; none where the desktop offers no way to register them.
        HotKeyRegistrar* hotKeys = nullptr;
        std::string shortVersion; ///< the version people see, "0.1.0"
        std::string bundleVersion; ///< the build number; a session survives a relaunch only of the same build
        long long processId = 0;
    };

    /// The settings key of the clean-shutdown flag.
    static constexpr std::string_view cleanShutdownKey = "cleanShutdown";

    explicit ApplicationDelegate(Dependencies dependencies);
    ApplicationDelegate(const ApplicationDelegate&) = delete;
    ApplicationDelegate& operator=(const ApplicationDelegate&) = delete;
    ~ApplicationDelegate() override;

    // Lifecycle.
    /// Sets everything up in launch order and starts scheduling.
    void launch();
    /// Saves the session and marks the shutdown as clean.
    void quit();
    /// Ends a running break unrecorded and stops the scheduling timers.
    void systemWillSleep();
    /// Credits a long dark spell and starts fresh work stretches.
    void systemDidWake();
    /// The wall clock was set by `bySeconds` (negative: back): the work stretches keep their
    /// length, the timers aimed at clock times (the pause's end, the planned break) are aimed
    /// again, and nothing is recorded.
    void systemClockChanged(double bySeconds);
    /// The store changed: logs what changed.
    void settingsChanged();
    void settingsWindowOpened();
    /// Restarts the schedule when a scheduling setting changed while the window was open.
    void settingsWindowClosed();

    // Commands of the menu, shortcuts, banners and notices.
    /// Snoozes the next break by `minutes` within the budget; whether it was granted.
    bool snooze(int minutes, SnoozeRequest::Source from);
    void pause(Instant until);
    void pauseUntilTomorrow();
    void pauseUntilResumed() override;
    void resumeReminders() override;
    void startBreakNow();
    void startMicroBreakNow() override;
    void toggleBreakFromHotKey() override;
    bool isPaused() const override { return m_engine.isPaused(); }
    void snoozeFromHotKey(int minutes) override { snooze(minutes, SnoozeRequest::Source::hotKey); }
    void skipFromHeadsUp();
    void undoAwayReset();
    /// The away-undo notice went away without undo: the reset stands and the absence is credited.
    void acceptAwayReset();
    /// A snooze chosen on the heads-up banner.
    void snoozeFromBanner(int minutes);
    /// The heads-up banner itself was chosen.
    void startBreakFromBanner();
    /// The user answered one of our banners.
    void bannerResponded(const BannerCenter::Response& response);
    /// Starts over with fresh work stretches (after onboarding).
    void scheduleReminder();
    /// The drawing window was shown or hidden; while it is visible the user counts as resting.
    void setDrawingWindowVisible(bool visible) { m_windowVisible = visible; }

    // Read-only views.
    const BreakEngine& engine() const { return m_engine; }
    bool breakSchedulingAllowed() const { return !m_engine.isPaused(); }
    StatusLine::Facts statusLineFacts() const;
    /// The status line for the current facts.
    std::string statusText() const;
    /// How many timer fields hold a live timer.
    int liveTimerFields() const;
    /// The planned break's timer is armed for this instant.
    std::optional<Instant> fixedBreakAt() const;

private:
    Instant now() const;
    void replaceTimer(TimerField& field, double after, bool repeats, double tolerance, void (ApplicationDelegate::*fire)());
    void startWorkClockPoll();
    void pollWorkClock();
    BreakEngine::Facts breakFacts(double idleSeconds, bool presenceProven);
    BreakEngine::World sampleWorld();
    void perform(const BreakEngine::Effects& effects);
    void perform(const BreakEngine::Effect& effect);
    void announceLongBreak();
    void sendHeadsUp();
    void takeLongBreak();
    void claimScreen(BreakEvent::Kind kind, std::optional<Instant> excusedSince);
    void cancelPendingLongBreak();
    void abandonDueBreak();
    void resolveBreakEnded(BreakEvent::Kind kind);
    void scheduleFixedBreak();
    void fixedBreakFired();
    void typingRetry();
    void creditLongRest(double durationSeconds);
    void restartSchedule();
    /// The history's events of the current day, read from the end of the log.
    std::vector<BreakEvent> todaysEvents();
    int postponedToday();
    void noteShutdownOfPreviousRun();
    void restoreSavedSession();
    void recordUnobservedGapIfAny();
    void startScreenOnWatch();
    void checkScreenOn();
    void armResumeTimer(Instant until);
    void registerHotKeys();
    double idleSeconds();
    // What the notices ask for.
    std::optional<double> secondsUntilHeadsUpBreak() const;
    bool snoozeAllowedNow();
    std::optional<std::string> overtimeText() const;
    std::optional<WellnessNudge::Kind> wellnessKindDue();
    std::string describeForPause(Instant instant) const;

    Dependencies m_deps;
    BreakEngine m_engine;
    TimerField m_workClockPoll;
    TimerField m_pendingBreakTimer;
    TimerField m_snoozedHeadsUpTimer;
    TimerField m_typingPauseTimer;
    TimerField m_fixedBreakTimer;
    TimerField m_resumeTimer;
    TimerField m_screenOnTimer;
    std::optional<double> m_pendingAwayRestSeconds;
    std::optional<Instant> m_presenceLastProvenAt;
    std::optional<Instant> m_screenReturnedAt;
    std::optional<Instant> m_screenLastTickAt;
    SettingsChanges::Snapshot m_lastSettingsSnapshot;
    SettingsChanges::Snapshot m_settingsSnapshotAtSheetOpen;
    Subscription m_settingsObservation;
    bool m_windowVisible = false;
    std::optional<WellnessNudge::Kind> m_lastWellnessKind;
};

} // namespace sorvala
