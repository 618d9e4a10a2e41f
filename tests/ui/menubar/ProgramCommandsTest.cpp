// SPDX-License-Identifier: MIT
#include "ui/menubar/ProgramCommands.h"

#include "app/ApplicationDelegate.h"
#include "core/Clock.h"
#include "core/SettingsKeys.h"
#include "simulation/Simulation.h"
#include "support/RecordingLogger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace sorvala {
namespace {

struct SimulationClock final : Clock {
    explicit SimulationClock(const Simulation& s) : simulation(s) {}
    Instant now() const override { return simulation.now(); }
    const Simulation& simulation;
};

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        m_simulation.launch();
        const auto skip = [this] {
            m_simulation.breakScreen()->skipPressed();
            return !m_simulation.breakScreen()->isOnScreen();
        };
        m_commands = std::make_unique<ProgramCommands>(
            *m_simulation.app(), m_clock, m_log,
            ProgramCommands::Handlers{.openDrawingWindow = [this] { ++drawingWindowOpened; },
                                      .toggleLaunchAtLogin = [this] { ++launchAtLoginToggled; },
                                      .revealLog = [this] { ++logRevealed; }, .skipBreak = skip});
    }

    bool logged(const std::string& line) const {
        return std::find(m_log.lines.begin(), m_log.lines.end(), line) != m_log.lines.end();
    }

    long postponed() const {
        const auto& history = m_simulation.history();
        return std::count_if(history.begin(), history.end(),
                             [](const BreakEvent& e) { return e.outcome == BreakEvent::Outcome::postponed; });
    }

    static Simulation::Options options() {
        Simulation::Options options;
        options.start = Instant::fromSecondsSinceEpoch(1796630400); // Monday 7 December 2026, 09:00 in Berlin
        options.timeZone = "Europe/Berlin";
        return options;
    }

    Simulation m_simulation{options()};
    SimulationClock m_clock{m_simulation};
    RecordingLogger m_log;
    std::unique_ptr<ProgramCommands> m_commands;
    int drawingWindowOpened = 0;
    int launchAtLoginToggled = 0;
    int logRevealed = 0;
};

// When each pause ends is the engine's; here, that every menu pause reaches it.
TEST_F(Commands, PauseCommandsReachTheEngine) {
    auto& app = *m_simulation.app();
    m_commands->perform(MenuCommand::pause(10));
    EXPECT_EQ(app.statusText(), "Paused until 09:10");
    m_commands->perform({MenuCommand::Kind::pauseUntilTomorrow, 0});
    // Tuesday 8 December, 00:00 in Berlin
    EXPECT_EQ(app.engine().pausedUntil(), Instant::fromSecondsSinceEpoch(1796684400));
    m_commands->perform({MenuCommand::Kind::resume, 0});
    EXPECT_FALSE(app.isPaused());
    m_commands->perform({MenuCommand::Kind::pauseUntilResumed, 0});
    EXPECT_EQ(app.engine().pausedUntil(), Instant::distantFuture());
}

TEST_F(Commands, WindowCommandsAndTheProgramsOwn) {
    m_commands->perform({MenuCommand::Kind::openGallery, 0});
    EXPECT_TRUE(logged("menu command not available yet command=openGallery"));
    int gallery = 0;
    int statistics = 0;
    m_commands->windows().openGallery = [&] { ++gallery; };
    m_commands->perform({MenuCommand::Kind::openGallery, 0});
    EXPECT_EQ(gallery, 1);

    m_commands->leftClick(); // no statistics window yet: the drawing window
    m_commands->perform({MenuCommand::Kind::openSorvala, 0});
    m_commands->perform({MenuCommand::Kind::toggleLaunchAtLogin, 0});
    m_commands->perform({MenuCommand::Kind::revealLogInFinder, 0});
    EXPECT_EQ(drawingWindowOpened, 2);
    EXPECT_EQ(launchAtLoginToggled, 1);
    EXPECT_EQ(logRevealed, 1);
    EXPECT_TRUE(logged("launch-at-login toggled"));

    m_commands->windows().openStatistics = [&] { ++statistics; };
    m_commands->leftClick();
    EXPECT_EQ(statistics, 1);
    EXPECT_EQ(drawingWindowOpened, 2);
}

TEST_F(Commands, ControlActions) {
    auto& app = *m_simulation.app();
    m_commands->perform(ControlAction::togglePause);
    EXPECT_TRUE(app.isPaused());
    m_commands->perform(ControlAction::togglePause);
    EXPECT_FALSE(app.isPaused());

    m_commands->perform(ControlAction::snooze15);
    EXPECT_EQ(postponed(), 1);
    m_commands->perform(MenuCommand::snooze(5));
    EXPECT_EQ(postponed(), 2) << "the menu's snooze is recorded the same way";

    m_commands->perform(ControlAction::startMicroBreak);
    ASSERT_NE(m_simulation.breakScreen(), nullptr);
    EXPECT_TRUE(m_simulation.breakScreen()->isOnScreen());
    EXPECT_TRUE(m_simulation.breakScreen()->isMicroBreak());
    EXPECT_EQ(m_commands->perform(ControlAction::skipBreak), std::nullopt) << "the tier lets it go";
    EXPECT_FALSE(m_simulation.breakScreen()->isOnScreen());
}

TEST_F(Commands, ActionsThatCannotBeDoneSayWhy) {
    // One snooze a day, the long break hard to leave: every refusal a script can meet.
    m_simulation.store().set(SettingsSchema::snoozesPerDayKey, std::int64_t{1});
    m_simulation.store().set(SettingsSchema::snoozesPerSessionKey, std::int64_t{1});
    m_simulation.store().set(SettingsSchema::enforcementLongBreaksKey, std::string("hardcore"));
    struct Case { const char* name; std::function<std::optional<std::string>()> act;
                  std::optional<std::string> refusal; };
    const Case cases[] = {
        {"skip without a break", [&] { return m_commands->perform(ControlAction::skipBreak); },
         "No break is on screen."},
        {"resume while running", [&] { return m_commands->resume(); }, "Reminders are not paused."},
        {"first snooze", [&] { return m_commands->perform(ControlAction::snooze5); }, std::nullopt},
        {"snooze past the budget", [&] { return m_commands->perform(ControlAction::snooze5); },
         "No snoozes left: the snooze budget is spent."},
        {"start a break", [&] { return m_commands->perform(ControlAction::startBreak); }, std::nullopt},
        {"start another on top", [&] { return m_commands->perform(ControlAction::startMicroBreak); },
         "A break is already on screen."},
        {"skip what the tier keeps", [&] { return m_commands->perform(ControlAction::skipBreak); },
         "This break cannot be skipped now (enforcement level)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.act(), c.refusal);
    }
    EXPECT_TRUE(m_simulation.breakScreen()->isOnScreen());
    EXPECT_FALSE(m_simulation.breakScreen()->isMicroBreak());
}

} // namespace
} // namespace sorvala
