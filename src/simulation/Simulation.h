// SPDX-License-Identifier: MIT
#pragma once

#include "app/ApplicationDelegate.h"
#include "breakscreen/BreakScreenLifecycle.h"
#include "simulation/MemoryPreferences.h"
#include "simulation/RecordingBreakWindows.h"
#include "simulation/RecordingPorts.h"
#include "simulation/SimulatedUser.h"
#include "simulation/Timeline.h"
#include "simulation/VirtualTimers.h"
#include "simulation/ZoneCalendar.h"

#include <map>
#include <memory>
#include <string>

namespace sorvala {

/// The real application object and break screen on virtual time, with a simulated user,
/// recording windows, an in-memory settings store and history, and one timeline of everything logged.
class Simulation {
public:
    struct Options {
        Instant start;
        std::string timeZone = "UTC";
        /// How long each long break's drawing takes.
        double drawingSeconds = 180;
        /// Settings stored before the first launch.
        std::map<std::string, PreferenceValue> settings;
    };

    explicit Simulation(Options options);
    ~Simulation();

    /// Starts the application, restoring a saved session.
    void launch();
    /// Quits the application the orderly way.
    void quit();
    /// Ends the application without quitting (a crash or forced quit).
    void kill();
    bool isRunning() const { return m_app != nullptr; }
    /// Runs virtual time up to `until`.
    void runUntil(Instant until);
    /// Runs virtual time for `seconds`.
    void advance(double seconds) { runUntil(m_clock.now() + seconds); }
    /// The machine sleeps for `seconds` and wakes.
    void sleep(double seconds);
    /// Someone sets the wall clock `by` seconds forward (negative: back).
    void setClock(double by);
    /// Stores `settings` the way the settings window does, then closes the window.
    void changeSettings(const std::map<std::string, PreferenceValue>& settings);

    // The user's actions.
    void snooze(int minutes);
    void skip();
    void escape();
    void extend();
    void skipHeadsUp();
    /// Displays are plugged in or unplugged so that `count` remain.
    void setDisplayCount(int count);
    void undoAway();

    Instant now() const { return m_clock.now(); }
    /// The running application; nullptr between a quit and the next launch.
    ApplicationDelegate* app() { return m_app.get(); }
    SimulatedUser& user() { return m_user; }
    BreakScreenLifecycle* breakScreen() { return m_breakScreen.get(); }
    RecordingBreakWindows* breakWindows() { return m_breakWindows.get(); }
    RecordingNotices* notices() { return m_notices.get(); }
    Timeline& timeline() { return m_timeline; }
    const Timeline& timeline() const { return m_timeline; }
    const std::vector<BreakEvent>& history() const { return m_history.recorded(); }
    MemoryPreferences& store() { return m_store; }
    const ZoneCalendar& calendar() const { return m_calendar; }
    VirtualTimers& timers() { return m_timers; }
    /// Timers the break screen and the notices hold.
    int auxiliaryTimers() const;
    /// Told of every break as it begins (kept across relaunches).
    std::function<void(bool isMicroBreak, bool startedManually)> onBreakBegin;

private:
    VirtualClock m_clock;
    VirtualTimers m_timers;
    ZoneCalendar m_calendar;
    MemoryPreferences m_store;
    Timeline m_timeline;
    MemoryBreakHistory m_history;
    SimulatedUser m_user;
    double m_drawingSeconds;
    int m_displayCount = 1;
    RecordingMenuBar m_menuBar;
    RecordingUpdater m_updater;
    RecordingOnboarding m_onboarding;
    std::unique_ptr<RecordingBannerCenter> m_banners;
    std::unique_ptr<RecordingBreakWindows> m_breakWindows;
    std::unique_ptr<BreakScreenLifecycle> m_breakScreen;
    std::unique_ptr<RecordingNotices> m_notices;
    std::unique_ptr<ApplicationDelegate> m_app;
};

/// The machine sleeps for `seconds` in `simulation` and wakes: the application hears both, and
/// monotonic timers do not count the time asleep.
inline void sleepFor(Simulation& simulation, double seconds) {
    simulation.sleep(seconds);
}

} // namespace sorvala
