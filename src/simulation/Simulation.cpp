// SPDX-License-Identifier: MIT
#include "simulation/Simulation.h"

namespace sorvala {

namespace {
constexpr std::string_view onboardingShownKey = "onboardingShown";
/// The moment between the sleep notification and the machine actually sleeping.
constexpr double fallingAsleepSeconds = 1;
} // namespace

Simulation::Simulation(Options options)
    : m_clock(options.start), m_timers(m_clock), m_calendar(options.timeZone), m_timeline(m_clock),
      m_history(m_clock, m_timeline), m_user(m_clock, m_store), m_drawingSeconds(options.drawingSeconds) {
    m_store.set(onboardingShownKey, true);
    for (const auto& [key, value] : options.settings)
        m_store.set(key, value);
}

Simulation::~Simulation() {
    m_app.reset();
}

void Simulation::launch() {
    if (m_app)
        return;
    m_banners = std::make_unique<RecordingBannerCenter>(m_timeline);
    m_breakWindows = std::make_unique<RecordingBreakWindows>(m_timers, m_drawingSeconds);
    m_breakWindows->setDisplayCount(m_displayCount);
    m_breakScreen = std::make_unique<BreakScreenLifecycle>(BreakScreenLifecycle::Dependencies{
        .clock = m_clock,
        .timers = m_timers,
        .log = m_timeline,
        .history = m_history,
        .store = m_store,
        .windows = *m_breakWindows,
        .system = &m_user,
    });
    m_breakWindows->setOnFadeIn([this] {
        if (onBreakBegin)
            onBreakBegin(m_breakScreen->isMicroBreak(), m_breakScreen->startedManually());
    });
    m_notices = std::make_unique<RecordingNotices>(m_timeline, m_timers);
    m_app = std::make_unique<ApplicationDelegate>(ApplicationDelegate::Dependencies{
        .store = m_store,
        .calendar = m_calendar,
        .clock = m_clock,
        .log = m_timeline,
        .timers = m_timers,
        .signals = m_user,
        .history = m_history,
        .breakScreen = *m_breakScreen,
        .notices = *m_notices,
        .menuBar = m_menuBar,
        .banners = *m_banners,
        .updater = m_updater,
        .onboarding = m_onboarding,
        .hotKeys = nullptr,
        .shortVersion = "0.1.0",
        .bundleVersion = "1",
        .processId = 1,
    });
    m_app->launch();
}

void Simulation::quit() {
    if (!m_app)
        return;
    m_app->quit();
    kill();
}

void Simulation::kill() {
    // The process ends: its windows and timers go with it.
    m_app.reset();
    m_notices.reset();
    m_breakScreen.reset();
    m_breakWindows.reset();
    m_banners.reset();
}

void Simulation::runUntil(Instant until) {
    m_timers.runUntil(until);
}

void Simulation::sleep(double seconds) {
    if (m_app)
        m_app->systemWillSleep();
    const double falling = std::min(seconds, fallingAsleepSeconds);
    m_timers.runUntil(m_clock.now() + falling);
    m_timers.suspend(seconds - falling);
    if (m_app)
        m_app->systemDidWake();
}

void Simulation::setClock(double by) {
    // Timers count elapsed time: each keeps what it had left, so its deadline moves with the clock.
    m_timers.suspend(by);
    if (m_app)
        m_app->systemClockChanged(by);
}

void Simulation::changeSettings(const std::map<std::string, PreferenceValue>& settings) {
    if (m_app)
        m_app->settingsWindowOpened();
    for (const auto& [key, value] : settings)
        m_store.set(key, value);
    if (m_app)
        m_app->settingsWindowClosed();
}

void Simulation::snooze(int minutes) {
    if (m_app)
        m_app->snooze(minutes, SnoozeRequest::Source::menu);
}

void Simulation::skip() {
    if (m_breakScreen)
        m_breakScreen->skipPressed();
}

void Simulation::escape() {
    if (m_breakScreen)
        m_breakScreen->escapePressed();
}

void Simulation::extend() {
    if (m_breakScreen)
        m_breakScreen->extendPressed();
}

void Simulation::skipHeadsUp() {
    if (m_notices)
        m_notices->chooseSkip();
}

void Simulation::undoAway() {
    if (m_notices)
        m_notices->chooseUndo();
}

void Simulation::setDisplayCount(int count) {
    m_displayCount = std::max(0, count);
    if (!m_breakWindows)
        return;
    m_breakWindows->setDisplayCount(m_displayCount);
    m_breakScreen->screenParametersChanged();
}

int Simulation::auxiliaryTimers() const {
    return (m_breakScreen ? m_breakScreen->liveTimers() : 0) + (m_breakWindows ? m_breakWindows->liveTimers() : 0) + (m_notices ? m_notices->liveTimers() : 0);
}

} // namespace sorvala
