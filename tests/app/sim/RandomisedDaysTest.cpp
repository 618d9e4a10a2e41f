// SPDX-License-Identifier: MIT
// Many simulated days of random work, absences, causes, commands, sleeps, clock changes, settings
// changes, relaunches and crashes, checked against the rules that must hold whatever the user does.
#include "SimulationSupport.h"

#include "core/SettingsKeys.h"
#include "history/BreakLog.h"
#include "sensing/Sensors.h"

#include <cstdlib>
#include <random>

namespace sorvala {
namespace {

constexpr std::string_view causes[] = {Sensors::callLabel, Sensors::fullscreenLabel,
                                       Sensors::doNotDisturbLabel};

/// The seed of the long runs: SORVALA_SIM_SEED when set, else `fallback`.
unsigned seedOr(unsigned fallback) {
    const char* chosen = std::getenv("SORVALA_SIM_SEED");
    return chosen && *chosen ? static_cast<unsigned>(std::strtoul(chosen, nullptr, 10)) : fallback;
}

class RandomDays {
public:
    explicit RandomDays(unsigned seed) : m_random(seed), m_sim(options()) {
        m_sim.onBreakBegin = [this](bool isMicroBreak, bool startedManually) {
            checkBegin(isMicroBreak, startedManually);
        };
    }

    /// Runs `days` days of random use.
    void run(int days) {
        m_sim.launch();
        const auto start = m_sim.now();
        for (int day = 1; day <= days; ++day) {
            while (m_sim.now() < start + day * 86400.0) {
                m_sim.advance(uniform(5, 40 * 60));
                act();
                checkTimers();
            }
        }
        settle();
    }

    std::vector<std::string> faults;
    int breaksBegun = 0;
    int scheduledBreaks = 0; ///< begun by the schedule, not by hand
    /// The number of records at each moment the clock was set back, which can replay a moment.
    std::vector<std::size_t> clockSetBackBefore;

private:
    Simulation::Options options() {
        using namespace SettingsSchema;
        Simulation::Options o;
        o.start = ZoneCalendar("Europe/Berlin").at("2026-12-07T07:00:00");
        o.timeZone = "Europe/Berlin";
        o.drawingSeconds = uniform(20, 400);
        const auto set = [&](std::string_view key, PreferenceValue value) { o.settings[std::string(key)] = value; };
        set(workingHoursEnabledKey, chance(0.5));
        set(fixedBreakTimesKey, std::string(chance(0.5) ? "12:30, 18:45" : ""));
        set(snoozesPerSessionKey, std::int64_t(uniform(0, 3)));
        set(snoozesPerDayKey, std::int64_t(uniform(0, 5)));
        set(enforcementLongBreaksKey, std::string(pick<std::string_view>({"casual", "balanced", "hardcore"})));
        set(pauseDuringCalendarEventsKey, true);
        return o;
    }

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    template <class T> T pick(std::initializer_list<T> choices) {
        return *(choices.begin() +
                 std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(m_random));
    }

    void act() {
        auto* app = m_sim.app();
        // Calls end, fullscreen videos finish: a cause lasts a few steps, not for days.
        for (const auto cause : causes)
            if (m_sim.user().causeActive(cause) && chance(0.3))
                m_sim.user().setCause(cause, false);
        switch (std::uniform_int_distribution<int>(0, 20)(m_random)) {
        case 0:
        case 1:
        case 2: m_sim.user().setActivity(SimulatedUser::Activity::work); break;
        case 3:
        case 4:
        case 5: m_sim.user().setActivity(SimulatedUser::Activity::read); break;
        case 6:
        case 7: m_sim.user().setActivity(SimulatedUser::Activity::idle); break;
        case 8: {
            const auto cause = causes[std::uniform_int_distribution<std::size_t>(0, 2)(m_random)];
            m_sim.user().setCause(cause, !m_sim.user().causeActive(cause));
            break;
        }
        case 9: m_sim.user().setDisplayAsleep(chance(0.3)); break;
        case 10: m_sim.snooze(pick({1, 5, 15})); break;
        case 11:
            if (app) {
                if (chance(0.2))
                    app->pauseUntilTomorrow();
                else if (chance(0.2))
                    app->pauseUntilResumed();
                else
                    app->pause(m_sim.now() + uniform(60, 3 * 3600));
            }
            break;
        case 12:
            if (app)
                app->resumeReminders();
            break;
        case 13:
            if (app) {
                if (chance(0.5))
                    app->startBreakNow();
                else
                    app->startMicroBreakNow();
            }
            break;
        case 14:
            pick({0, 1, 2}) == 0 ? m_sim.skip()
            : pick({0, 1}) == 0  ? m_sim.extend()
                                 : (m_sim.escape(), m_sim.escape());
            break;
        case 15: chance(0.5) ? m_sim.skipHeadsUp() : m_sim.undoAway(); break;
        case 16: m_sim.sleep(uniform(30, 10 * 3600)); break;
        case 17:
            if (chance(0.8))
                m_sim.quit();
            else
                m_sim.kill();
            m_sim.advance(uniform(1, 600));
            m_sim.launch();
            break;
        case 18: changeSomeSetting(); break;
        case 19: {
            // A correction of a few minutes, a zone's hour, or a clock set wrong by half a day.
            const double by = pick({uniform(1, 600), 3600.0, uniform(3600, 12 * 3600)});
            if (chance(0.5)) {
                m_sim.setClock(by);
            } else {
                clockSetBackBefore.push_back(m_sim.history().size());
                m_sim.setClock(-by);
            }
            break;
        }
        default: break;
        }
    }

    void changeSomeSetting() {
        using namespace SettingsSchema;
        const auto key = [](std::string_view k) { return std::string(k); };
        switch (std::uniform_int_distribution<int>(0, 5)(m_random)) {
        case 0: m_sim.changeSettings({{key(reminderMinutesKey), std::int64_t(uniform(10, 60))}}); break;
        case 1: m_sim.changeSettings({{key(microMinutesKey), std::int64_t(pick({0, 10, 20, 30}))}}); break;
        case 2: m_sim.changeSettings({{key(breakCycleEnabledKey), chance(0.5)}}); break;
        case 3:
            m_sim.changeSettings({{key(breakCycleLengthKey), std::int64_t(pick({0, 1, 2, 3, 5}))}});
            break;
        case 4: m_sim.changeSettings({{key(workingHoursEnabledKey), chance(0.5)}}); break;
        default:
            m_sim.changeSettings({{key(enforcementMicroBreaksKey),
                                   std::string(pick<std::string_view>({"casual", "balanced", "hardcore"}))}});
            break;
        }
    }

    void checkBegin(bool isMicroBreak, bool startedManually) {
        ++breaksBegun;
        if (startedManually)
            return;
        ++scheduledBreaks;
        const auto* app = m_sim.app();
        const auto where = " at " + iso8601(m_sim.now()) + (isMicroBreak ? " (micro)" : " (long)");
        if (app && app->engine().isPaused())
            faults.push_back("break began while paused" + where);
        if (m_sim.user().displayIsAsleep())
            faults.push_back("break began with the display asleep" + where);
        if (!Sensors::withinWorkingHours(m_sim.store(), m_sim.calendar(), m_sim.now()))
            faults.push_back("break began outside working hours" + where);
    }

    void checkTimers() {
        const int expected = (m_sim.app() ? m_sim.app()->liveTimerFields() : 0) + m_sim.auxiliaryTimers();
        if (m_sim.timers().liveCount() != expected)
            faults.push_back("live timers " + std::to_string(m_sim.timers().liveCount()) +
                             " but fields hold " + std::to_string(expected) + " at " + iso8601(m_sim.now()));
    }

    // Lets every break on screen run out with nothing getting in its way.
    void settle() {
        m_sim.user().setActivity(SimulatedUser::Activity::idle);
        m_sim.advance(2000);
        if (m_sim.breakScreen() && m_sim.breakScreen()->isActive())
            faults.push_back("a break that began never ended");
        if (m_sim.breakWindows() && m_sim.breakWindows()->begun() != m_sim.breakWindows()->finished())
            faults.push_back("the last run's breaks did not all end");
    }

    std::mt19937 m_random;
    Simulation m_sim;

public:
    const Simulation& simulation() const { return m_sim; }
};

/// The faults the run noted, and what must hold of its history: it decodes, and a break on screen
/// leaves at most one record, taken or skipped, never both, never twice.
void expectSoundRun(const RandomDays& days) {
    for (const auto& fault : days.faults)
        ADD_FAILURE() << fault;

    const auto& history = days.simulation().history();
    std::string file;
    for (const auto& event : history) {
        const auto line = BreakLog::encode(event);
        ASSERT_TRUE(line) << "an event the history cannot hold";
        file += *line + "\n";
    }
    const auto decoded = BreakLog::decode(file);
    EXPECT_EQ(decoded.undecodableLines, 0);
    EXPECT_EQ(decoded.events.size(), history.size());

    for (std::size_t i = 1; i < history.size(); ++i) {
        EXPECT_FALSE(history[i] == history[i - 1] &&
                     !std::binary_search(days.clockSetBackBefore.begin(), days.clockSetBackBefore.end(), i))
            << "recorded twice at " << iso8601(history[i].date);
    }
    const auto onScreen = std::count_if(history.begin(), history.end(), [](const BreakEvent& e) {
        return e.outcome == BreakEvent::Outcome::taken ||
               (e.outcome == BreakEvent::Outcome::skipped && e.durationSeconds);
    });
    EXPECT_LE(onScreen, days.breaksBegun);
}

TEST(RandomisedDays, RulesHoldThroughManySimulatedDays) {
    int breaks = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomDays days(seed);
        days.run(6);
        breaks += days.breaksBegun;
        expectSoundRun(days);
    }
    EXPECT_GT(breaks, 100) << "the days must actually exercise breaks";
}

TEST(RandomisedDays, AMonthOfUseKeepsTheRules) {
    const unsigned seed = seedOr(30);
    SCOPED_TRACE("seed " + std::to_string(seed) + " (SORVALA_SIM_SEED=" + std::to_string(seed) +
                 " repeats it)");
    RandomDays month(seed);
    month.run(30);
    expectSoundRun(month);
    EXPECT_GT(month.scheduledBreaks, 10) << "the schedule must actually start breaks";
}

} // namespace
} // namespace sorvala
