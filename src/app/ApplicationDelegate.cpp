// SPDX-License-Identifier: MIT
#include "app/ApplicationDelegate.h"

#include "app/HotKeys.h"
#include "app/UserSignal.h"
#include "app/ports/BannerCenter.h"
#include "app/ports/BreakHistory.h"
#include "app/ports/BreakScreen.h"
#include "app/ports/MenuBar.h"
#include "app/ports/Notices.h"
#include "app/ports/Onboarding.h"
#include "app/ports/Updater.h"
#include "core/BreakTiming.h"
#include "core/Calendar.h"
#include "core/Clock.h"
#include "core/FixedBreakTimes.h"
#include "core/Logger.h"
#include "core/ScreenOn.h"
#include "core/SessionState.h"
#include "core/SettingsKeys.h"
#include "history/DailyStats.h"
#include "notices/OvertimeNudge.h"
#include "notices/SignalAction.h"
#include "notices/SignalRouter.h"
#include "sensing/BlockerPermission.h"
#include "sensing/Sensors.h"
#include "sensing/SystemSignals.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sorvala {

namespace {

constexpr double typingRetryInterval = 2;
constexpr double pollTolerance = BreakTiming::workClockPollInterval / 2;
constexpr double screenWatchTolerance = 30;
/// How often the menu bar re-checks its status item after a wake.
constexpr int wakeSettleChecks = 3;
/// Read as "no key pressed for ages" where key presses cannot be observed.
constexpr double noKeyDownSeconds = 1e9;
constexpr std::string_view onboardingShownKey = "onboardingShown";

std::string whole(double seconds) {
    return std::to_string(static_cast<long long>(seconds));
}

std::string kindText(BreakEvent::Kind kind) {
    return std::string(text(kind));
}

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

ApplicationDelegate::ApplicationDelegate(Dependencies dependencies)
    : m_deps(std::move(dependencies)), m_engine(m_deps.store) {}

ApplicationDelegate::~ApplicationDelegate() {
    m_deps.breakScreen.setOnBreakEnded(nullptr);
}

Instant ApplicationDelegate::now() const {
    return m_deps.clock.now();
}

void ApplicationDelegate::replaceTimer(TimerField& field, double after, bool repeats, double tolerance,
                                       void (ApplicationDelegate::*fire)()) {
    // The old timer goes before the new one exists, so a field never holds two.
    field.reset();
    field = m_deps.timers.scheduled(after, repeats, tolerance, [this, fire] { (this->*fire)(); });
}

double ApplicationDelegate::idleSeconds() {
    return m_deps.signals.secondsSinceLastInput();
}

// MARK: Lifecycle

void ApplicationDelegate::launch() {
    // The exception handler is installed by the program before anything else exists.
    SettingsSchema::migrateRetiredEnforcementKeys(m_deps.store);
    SettingsSchema::registerDefaults(m_deps.store);
    m_deps.log.log("app launched version=" + m_deps.shortVersion + " pid=" + std::to_string(m_deps.processId) +
                   " menuBarOwner=" + m_deps.menuBar.managerDescription() + " " +
                   m_deps.menuBar.screenDescription());

    m_deps.banners.registerCategories(
        std::vector<int>(BreakTiming::snoozeMinuteChoices.begin(), BreakTiming::snoozeMinuteChoices.end()));
    if (m_deps.store.boolean(onboardingShownKey))
        m_deps.banners.refreshAuthorization(true);

    m_deps.notices.wire({
        .onSnoozeBreak = [this] { snooze(5, SnoozeRequest::Source::overlay); },
        .onSkipBreak = [this] { skipFromHeadsUp(); },
        .onUndoAwayReset = [this] { undoAwayReset(); },
        .onAwayResetStood = [this] { acceptAwayReset(); },
        .onOvertimeDismissed = [this] { m_engine.dismissOvertimeBadge(now()); },
        .onWellnessNudgeShown = [this](WellnessNudge::Kind kind) { m_lastWellnessKind = kind; },
        .secondsUntilBreak = [this] { return secondsUntilHeadsUpBreak(); },
        .snoozeAllowed = [this] { return snoozeAllowedNow(); },
        .overtimeText = [this] { return overtimeText(); },
        .wellnessKindDue = [this] { return wellnessKindDue(); },
    });
    m_deps.banners.setOnResponse([this](const BannerCenter::Response& response) { bannerResponded(response); });
    m_deps.breakScreen.setOnBreakEnded([this](bool isMicroBreak) {
        resolveBreakEnded(isMicroBreak ? BreakEvent::Kind::micro : BreakEvent::Kind::long_);
    });

    m_deps.menuBar.install();
    // After the tray item: the store's write waits for the disk, the permission check makes the
    // system signals, and the item is what a user sees of a start.
    if (const auto line = missingPermissionsLine(ungrantedButEnabled(m_deps.store, m_deps.signals)))
        m_deps.log.log(*line);
    noteShutdownOfPreviousRun();
    m_deps.menuBar.startWatching();
    m_lastSettingsSnapshot = SettingsChanges::snapshot(m_deps.store);
    m_settingsObservation = m_deps.store.observeChanges([this] { settingsChanged(); });

    m_deps.menuBar.refreshCountdownTicker();
    m_deps.notices.refreshOvertimeTicker();
    m_deps.notices.refreshWellnessTicker();
    registerHotKeys();

    abandonDueBreak();
    m_engine.startFreshWorkStretch(now());
    scheduleFixedBreak();
    startWorkClockPoll();
    m_deps.menuBar.refresh();

    restoreSavedSession();
    recordUnobservedGapIfAny();
    startScreenOnWatch();

    m_deps.onboarding.showIfNeeded();
    m_deps.updater.startAutomaticChecks();
}

void ApplicationDelegate::noteShutdownOfPreviousRun() {
    const auto stored = m_deps.store.object(cleanShutdownKey);
    if (stored && !PreferenceConversion::toBoolean(*stored))
        m_deps.log.log("previous run ended without quitting: crash, hang, or force quit");
    m_deps.store.set(cleanShutdownKey, false);
}

void ApplicationDelegate::quit() {
    m_deps.log.log("app quitting");
    m_engine.savedSession(now(), m_deps.bundleVersion).save(m_deps.store, m_deps.log);
    m_deps.store.set(cleanShutdownKey, true);
}

void ApplicationDelegate::systemWillSleep() {
    m_deps.log.log("system will sleep: " + m_deps.menuBar.state());
    if (m_deps.breakScreen.isActive()) {
        m_deps.log.log("break ended by system sleep");
        m_deps.breakScreen.end(false, false);
    }
    m_deps.notices.stopOvertimeTicker();
    // The heads-up's break is called off with its timer; its overlay must not outlive it and offer
    // a skip that would record a break that never came.
    m_deps.notices.clear(UserSignal::Kind::preBreak);
    m_deps.banners.clearDelivered();
    m_workClockPoll.reset();
    m_pendingBreakTimer.reset();
    m_snoozedHeadsUpTimer.reset();
    m_fixedBreakTimer.reset();
    m_typingPauseTimer.reset();
}

void ApplicationDelegate::systemDidWake() {
    m_deps.log.log("system woke: menuBarOwner=" + m_deps.menuBar.managerDescription() + " " +
                   m_deps.menuBar.state());
    m_deps.menuBar.rebuildIfNeeded(wakeSettleChecks);
    m_pendingAwayRestSeconds.reset();
    checkScreenOn();
    // The resume timer counts monotonic time, which stood still while the machine slept; aim it
    // at the pause's own deadline again.
    if (const auto until = m_engine.pausedUntil(); until && *until < Instant::distantFuture())
        armResumeTimer(*until);
    abandonDueBreak();
    m_engine.startFreshWorkStretch(now());
    scheduleFixedBreak();
    startWorkClockPoll();
    m_deps.notices.refreshOvertimeTicker();
}

void ApplicationDelegate::systemClockChanged(double bySeconds) {
    m_deps.log.log("system clock set by=" + std::string(bySeconds < 0 ? "-" : "+") + whole(std::abs(bySeconds)) +
                   "s");
    // Work and rest are measured in elapsed time: the jump is neither work nor a dark spell.
    m_engine.wallClockMoved(bySeconds);
    m_deps.breakScreen.wallClockMoved(bySeconds);
    for (auto* instant : {&m_presenceLastProvenAt, &m_screenReturnedAt, &m_screenLastTickAt})
        if (*instant)
            *instant = **instant + bySeconds;
    if (ScreenOn::lastOnAt(m_deps.store))
        ScreenOn::record(now(), m_deps.store);
    // Timers count elapsed time; the ones aimed at a time of day are aimed at it again.
    if (const auto until = m_engine.pausedUntil(); until && *until < Instant::distantFuture())
        armResumeTimer(*until);
    if (isLive(m_fixedBreakTimer))
        scheduleFixedBreak();
    m_deps.menuBar.refresh();
}

void ApplicationDelegate::settingsChanged() {
    auto current = SettingsChanges::snapshot(m_deps.store);
    const auto changes = SettingsChanges::describe(m_lastSettingsSnapshot, current);
    if (!changes.empty()) {
        std::string line = "settings changed";
        for (const auto& change : changes)
            line += " " + change;
        m_deps.log.log(line);
    }
    m_lastSettingsSnapshot = std::move(current);
}

void ApplicationDelegate::settingsWindowOpened() {
    m_settingsSnapshotAtSheetOpen = SettingsChanges::snapshot(m_deps.store);
}

void ApplicationDelegate::settingsWindowClosed() {
    if (SettingsChanges::anyChanged(SettingsChanges::schedulingKeys(), m_settingsSnapshotAtSheetOpen,
                                   SettingsChanges::snapshot(m_deps.store)))
        restartSchedule();
    m_deps.menuBar.refreshCountdownTicker();
    m_deps.notices.refreshOvertimeTicker();
    m_deps.notices.refreshWellnessTicker();
    registerHotKeys();
}

void ApplicationDelegate::registerHotKeys() {
    if (m_deps.hotKeys)
        HotKeys::registerHotKeys(m_deps.store, *m_deps.hotKeys, m_deps.log);
}

void ApplicationDelegate::restartSchedule() {
    abandonDueBreak();
    m_engine.startFreshWorkStretch(now());
    scheduleFixedBreak();
    startWorkClockPoll();
}

// MARK: Session and screen-on accounting

void ApplicationDelegate::restoreSavedSession() {
    const auto state = SessionState::load(m_deps.store, m_deps.log);
    if (!state)
        return;
    SessionState::clear(m_deps.store);
    if (state->version != m_deps.bundleVersion)
        m_deps.log.log("build changed since the last run " + state->version + " → " + m_deps.bundleVersion);
    const auto restored = state->restored(now(), m_deps.bundleVersion);
    if (!restored)
        return;
    m_engine.restoreWorkStretch(*restored);
    m_deps.log.log("session restored pausedUntil=" +
                   (restored->pausedUntil ? describeForPause(*restored->pausedUntil) : std::string("—")) +
                   " workedSeconds=" + whole(m_engine.secondsWorkedLong(now())));
    if (restored->pausedUntil)
        pause(*restored->pausedUntil);
}

void ApplicationDelegate::recordUnobservedGapIfAny() {
    const auto threshold = ScreenOn::threshold(m_engine.schedule().overtimeLimitMinutes());
    if (const auto span = ScreenOn::darkSpanSeconds(ScreenOn::lastOnAt(m_deps.store), now(), threshold)) {
        m_deps.log.log("launch follows " + whole(*span) + "s with no screen recorded on");
        m_deps.history.record(BreakEvent::Kind::long_, BreakEvent::Outcome::unobserved, *span);
    }
}

void ApplicationDelegate::startScreenOnWatch() {
    m_screenOnTimer.reset();
    ScreenOn::record(now(), m_deps.store);
    replaceTimer(m_screenOnTimer, ScreenOn::checkInterval, true, screenWatchTolerance,
                 &ApplicationDelegate::checkScreenOn);
}

void ApplicationDelegate::checkScreenOn() {
    const auto at = now();
    const auto tick = ScreenOn::tick(m_screenReturnedAt, ScreenOn::lastOnAt(m_deps.store), m_screenLastTickAt, at,
                                     !m_deps.signals.everyDisplayIsAsleep(),
                                     ScreenOn::threshold(m_engine.schedule().overtimeLimitMinutes()),
                                     BreakTiming::screenReturnGraceSeconds);
    m_screenReturnedAt = tick.returnedAt;
    m_screenLastTickAt = at;
    std::visit(Overloaded{
                   [](const ScreenOn::Wait&) {},
                   [&](const ScreenOn::Record&) { ScreenOn::record(at, m_deps.store); },
                   [&](const ScreenOn::CreditThenRecord& credit) {
                       m_deps.log.log("screens were dark for " + whole(credit.seconds) + "s");
                       creditLongRest(credit.seconds);
                   },
               },
               tick.action);
}

// MARK: Main loop

void ApplicationDelegate::startWorkClockPoll() {
    if (!breakSchedulingAllowed()) {
        m_workClockPoll.reset();
        return;
    }
    if (!isLive(m_workClockPoll))
        replaceTimer(m_workClockPoll, BreakTiming::workClockPollInterval, true, pollTolerance,
                     &ApplicationDelegate::pollWorkClock);
}

void ApplicationDelegate::pollWorkClock() {
    const auto idle = idleSeconds();
    const auto reading = Sensors::sweepSmartPauseForPresence(m_deps.signals, m_deps.store, now(), idle);
    perform(m_engine.tick(breakFacts(idle, reading.presenceProven)));
    m_deps.menuBar.refresh();
}

BreakEngine::Facts ApplicationDelegate::breakFacts(double idle, bool presenceProven) {
    BreakEngine::Facts facts;
    facts.now = now();
    if (presenceProven)
        m_presenceLastProvenAt = facts.now;
    facts.schedulingAllowed = breakSchedulingAllowed();
    facts.withinWorkingHours = Sensors::withinWorkingHours(m_deps.store, m_deps.calendar, facts.now);
    facts.resting = m_deps.breakScreen.isActive() || m_windowVisible || isLive(m_pendingBreakTimer) ||
                    isLive(m_typingPauseTimer);
    facts.idleSeconds = idle;
    facts.displayAsleep = m_deps.signals.displayIsAsleep();
    facts.presenceLastProvenAt = m_presenceLastProvenAt;
    return facts;
}

BreakEngine::World ApplicationDelegate::sampleWorld() {
    const auto idle = idleSeconds();
    const auto reading = Sensors::sweepSmartPause(m_deps.signals, m_deps.store, now(), idle);
    BreakEngine::World world;
    world.facts = breakFacts(idle, reading.presenceProven);
    world.secondsSinceKeyDown = m_deps.signals.secondsSinceLastKeyDown().value_or(noKeyDownSeconds);
    if (reading.active) {
        world.smartPauseCause = reading.active->menuLabel;
        world.smartPauseIsAttendedActivity = reading.active->isAttendedActivity;
    }
    world.cooldownRemaining =
        Sensors::smartPauseCooldownRemaining(m_deps.store, m_engine.smartPauseCooldownAnchor(world.facts.now),
                                             world.facts.now);
    return world;
}

void ApplicationDelegate::perform(const BreakEngine::Effects& effects) {
    for (const auto& effect : effects)
        perform(effect);
}

void ApplicationDelegate::perform(const BreakEngine::Effect& effect) {
    auto& log = m_deps.log;
    std::visit(
        Overloaded{
            [&](const BreakEngine::TickSuppressionChanged& e) {
                if (!e.reason)
                    log.log("work clock running: " + statusText());
                else
                    log.log("work clock tick suppressed reason=" + std::string(text(*e.reason)) + ": " + statusText());
            },
            [&](const BreakEngine::OfferAwayUndo& e) {
                m_pendingAwayRestSeconds = e.awaySeconds;
                log.log("work clock reset on return from idle; undo offered");
                m_deps.notices.show(UserSignal::awayUndo());
            },
            [&](const BreakEngine::CreditAwayRest& e) {
                log.log("work clock reset on return from idle; no undo offered (away outlasted the work it "
                        "discarded)");
                creditLongRest(e.seconds);
            },
            [&](const BreakEngine::HoldDropped& e) {
                log.log("break hold dropped reason=" + e.reason);
                m_typingPauseTimer.reset();
            },
            [&](const BreakEngine::BreakDue& e) { perform(m_engine.decide(e.kind, sampleWorld())); },
            [&](const BreakEngine::BreakDropped& e) {
                log.log("break due kind=" + kindText(e.kind) + " dropped reason=" + std::string(text(e.reason)) +
                        ": " + statusText());
            },
            [&](const BreakEngine::BreakIgnored& e) {
                log.log("break due kind=" + kindText(e.kind) + " ignored reason=alreadyResting: " + statusText());
            },
            [&](const BreakEngine::BreakHeld& e) {
                log.log("break due but held kind=" + kindText(e.kind) + " reason=" + std::string(text(e.block)) +
                        " cause=" + e.cause.value_or("—"));
            },
            [&](const BreakEngine::AlertSmartPauseHold& e) {
                if (const auto cause = Sensors::smartPauseCause(e.cause, m_deps.signals, m_deps.store, now()))
                    m_deps.notices.show(UserSignal::smartPause(cause->alertDescription));
            },
            [&](const BreakEngine::AlertBlockerStillHolding& e) {
                if (const auto cause = Sensors::smartPauseCause(e.cause, m_deps.signals, m_deps.store, now())) {
                    log.log("break still held after " + std::to_string(e.minutes) + "m cause=" + e.cause +
                            "; user notified");
                    m_deps.notices.show(UserSignal::blockerStillHolding(cause->alertDescription, e.minutes));
                }
            },
            [&](const BreakEngine::Commit& e) {
                if (e.afterHoldSince)
                    log.log("break hold cleared after " + whole(now() - *e.afterHoldSince) + "s kind=" +
                            kindText(e.kind));
                if (e.kind == BreakEvent::Kind::long_)
                    announceLongBreak();
            },
            [&](const BreakEngine::ClaimScreen& e) { claimScreen(e.kind, e.excusedSince); },
            [&](const BreakEngine::HideAwayUndo&) { m_deps.notices.clear(UserSignal::Kind::awayUndo); },
            [&](const BreakEngine::RetryTypingHold&) {
                if (!isLive(m_typingPauseTimer))
                    replaceTimer(m_typingPauseTimer, typingRetryInterval, true, 0, &ApplicationDelegate::typingRetry);
            },
        },
        effect);
}

// MARK: The road of a break

void ApplicationDelegate::announceLongBreak() {
    m_deps.log.log("break due kind=long proceeding snoozeCount=" + std::to_string(m_engine.snoozeCount()) +
                   " idle=" + whole(idleSeconds()) + "s");
    m_engine.breakAnnounced();
    sendHeadsUp();
}

std::vector<BreakEvent> ApplicationDelegate::todaysEvents() {
    return m_deps.history.eventsSince(m_deps.calendar.startOfDay(now()));
}

int ApplicationDelegate::postponedToday() {
    return BreakLog::postponedCount(todaysEvents(), now(), m_deps.calendar);
}

void ApplicationDelegate::sendHeadsUp() {
    if (!breakSchedulingAllowed()) {
        m_deps.log.log(std::string("heads-up not sent reason=schedulingNotAllowed paused=") +
                       (m_engine.isPaused() ? "true" : "false"));
        return;
    }
    const auto events = todaysEvents();
    const int daily = BreakLog::postponedCount(events, now(), m_deps.calendar);
    const auto budget = m_engine.snoozeBudget();
    const int count = m_engine.snoozeCount();
    const auto rates = BreakLog::dailyRates(events, m_deps.calendar);
    const auto today = rates.find(m_deps.calendar.day(now()));
    const auto signal = UserSignal::preBreak(
        SnoozeRequest::isAllowed(budget, count, daily), count, budget.remaining(count, daily),
        today == rates.end() ? std::nullopt
                             : std::optional(UserSignal::DailyScore{today->second.taken, today->second.resolved}),
        m_deps.store.boolean(SettingsSchema::showSnoozesRemainingKey));
    // A heads-up with snooze buttons goes on screen where the banners cannot carry buttons.
    const bool bannerAvailable = m_deps.banners.isAvailable() &&
                                 (m_deps.banners.supportsActions() || !SignalRouter::needsButtons(signal));
    const auto medium = UserSignal::preBreakMedium(m_deps.store, bannerAvailable);
    m_deps.log.log("heads-up sent in=" + whole(BreakTiming::headsUpSeconds) + "s medium=" +
                   std::string(text(medium)) + " category=" + signal.category +
                   " snoozeCount=" + std::to_string(count));
    replaceTimer(m_pendingBreakTimer, BreakTiming::headsUpSeconds, false, 0, &ApplicationDelegate::takeLongBreak);
    m_deps.notices.show(signal);
}

void ApplicationDelegate::takeLongBreak() {
    m_deps.banners.clearDelivered();
    if (!breakSchedulingAllowed()) {
        m_deps.log.log(std::string("break start abandoned reason=schedulingNotAllowed paused=") +
                       (m_engine.isPaused() ? "true" : "false"));
        perform(m_engine.abandonHold("schedulingNotAllowed"));
        return;
    }
    cancelPendingLongBreak();
    m_deps.notices.clear(UserSignal::Kind::preBreak);
    // The heads-up (or a typing hold) may carry a break committed just before the working day
    // ended past its end; it must not take the screen outside working hours.
    if (!Sensors::withinWorkingHours(m_deps.store, m_deps.calendar, now())) {
        m_deps.log.log("break start abandoned reason=offHours");
        perform(m_engine.abandonHold("offHours"));
        return;
    }
    if (m_windowVisible || m_deps.breakScreen.isActive()) {
        m_deps.log.log("break start abandoned reason=alreadyResting");
        return;
    }
    perform(m_engine.screenTake(BreakEvent::Kind::long_, sampleWorld()));
}

void ApplicationDelegate::claimScreen(BreakEvent::Kind kind, std::optional<Instant> excusedSince) {
    if (excusedSince)
        m_deps.history.record(kind, BreakEvent::Outcome::excused, now() - *excusedSince);
    if (kind == BreakEvent::Kind::micro) {
        m_deps.breakScreen.begin(BreakTiming::microBreakSeconds, true, false);
    } else {
        m_deps.log.log("break screen taking now kind=long idle=" + whole(idleSeconds()) + "s");
        m_deps.breakScreen.begin(0, false, false);
    }
    // The overtime badge goes with the break it asked for, not at its next tick half a minute
    // later: above the break it is in the way, and on sway 1.7 a surface above full-screen
    // windows leaves the break's second output unpainted while it shows.
    m_deps.notices.refreshOvertimeTicker();
}

void ApplicationDelegate::cancelPendingLongBreak() {
    m_pendingBreakTimer.reset();
    m_snoozedHeadsUpTimer.reset();
}

void ApplicationDelegate::abandonDueBreak() {
    m_engine.abandonDueBreak();
    m_typingPauseTimer.reset();
}

void ApplicationDelegate::typingRetry() {
    const auto idle = idleSeconds();
    const auto reading = Sensors::sweepSmartPauseForPresence(m_deps.signals, m_deps.store, now(), idle);
    const auto facts = breakFacts(idle, reading.presenceProven);
    const auto keyDown = m_deps.signals.secondsSinceLastKeyDown().value_or(noKeyDownSeconds);
    switch (BreakGate::typingHoldRetry(facts.isPresent(), keyDown, BreakTiming::typingPauseSeconds)) {
    case BreakGate::Retry::abandon:
        m_typingPauseTimer.reset();
        perform(m_engine.abandonHold("away"));
        break;
    case BreakGate::Retry::take:
        m_typingPauseTimer.reset();
        takeLongBreak();
        break;
    case BreakGate::Retry::wait:
        break;
    }
}

void ApplicationDelegate::resolveBreakEnded(BreakEvent::Kind kind) {
    m_engine.breakEnded(kind);
    m_typingPauseTimer.reset();
    if (kind == BreakEvent::Kind::long_) {
        abandonDueBreak();
        m_engine.startFreshWorkStretch(now());
        scheduleFixedBreak();
    } else {
        m_engine.startFreshMicroCadence(now());
    }
    startWorkClockPoll();
    m_deps.notices.refreshOvertimeTicker();
}

void ApplicationDelegate::scheduleFixedBreak() {
    m_fixedBreakTimer.reset();
    if (!breakSchedulingAllowed())
        return;
    const auto times = FixedBreakTimes::parse(m_deps.store.text(SettingsSchema::fixedBreakTimesKey).value_or(""));
    const auto at = now();
    const auto next = FixedBreakTimes::nextFireDate(at, times, m_deps.calendar);
    if (!next)
        return;
    replaceTimer(m_fixedBreakTimer, *next - at, false, 0, &ApplicationDelegate::fixedBreakFired);
    m_deps.log.log("fixed break timer armed next=" + iso8601(*next));
}

void ApplicationDelegate::fixedBreakFired() {
    scheduleFixedBreak();
    m_engine.armFixedTimeBreak();
    perform(m_engine.decide(BreakEvent::Kind::long_, sampleWorld()));
}

void ApplicationDelegate::scheduleReminder() {
    restartSchedule();
}

// MARK: Away undo

void ApplicationDelegate::creditLongRest(double durationSeconds) {
    m_deps.history.record(BreakEvent::Kind::long_, BreakEvent::Outcome::asleep, durationSeconds);
    m_engine.creditLongRest();
    m_engine.consumeAwayState();
    m_pendingAwayRestSeconds.reset();
    ScreenOn::record(now(), m_deps.store);
}

void ApplicationDelegate::undoAwayReset() {
    m_engine.undoAwayReset();
    m_pendingAwayRestSeconds.reset();
    ScreenOn::record(now(), m_deps.store);
    m_deps.log.log("work clock reset undone; away time counted as work");
    m_deps.notices.clear(UserSignal::Kind::awayUndo);
    m_deps.menuBar.refresh();
}

void ApplicationDelegate::acceptAwayReset() {
    m_engine.acceptAwayReset();
    if (const auto seconds = std::exchange(m_pendingAwayRestSeconds, std::nullopt))
        creditLongRest(*seconds);
}

// MARK: Commands

void ApplicationDelegate::skipFromHeadsUp() {
    m_deps.log.log("break skipped from the pre-break overlay");
    cancelPendingLongBreak();
    m_deps.banners.clearDelivered();
    m_deps.notices.clear(UserSignal::Kind::preBreak);
    m_deps.history.record(BreakEvent::Kind::long_, BreakEvent::Outcome::skipped, std::nullopt);
    resolveBreakEnded(BreakEvent::Kind::long_);
}

void ApplicationDelegate::startBreakNow() {
    if (m_deps.breakScreen.isActive()) {
        m_deps.breakScreen.begin(0, false, true); // refused there, with its line in the log
        return;
    }
    m_deps.log.log("break started manually");
    cancelPendingLongBreak();
    m_deps.banners.clearDelivered();
    m_deps.notices.clear(UserSignal::Kind::preBreak);
    m_deps.breakScreen.begin(0, false, true);
}

void ApplicationDelegate::startMicroBreakNow() {
    if (m_deps.breakScreen.isActive()) {
        m_deps.breakScreen.begin(BreakTiming::microBreakSeconds, true, true);
        return;
    }
    m_deps.log.log("micro break started manually");
    m_deps.notices.clear(UserSignal::Kind::preBreak);
    m_deps.breakScreen.begin(BreakTiming::microBreakSeconds, true, true);
}

void ApplicationDelegate::toggleBreakFromHotKey() {
    if (m_deps.breakScreen.isActive())
        m_deps.breakScreen.end(false, true);
    else
        startBreakNow();
}

void ApplicationDelegate::snoozeFromBanner(int minutes) {
    m_deps.log.log("break snoozed from the notification minutes=" + std::to_string(minutes));
    // A banner left in the notification list can be answered after reminders were paused: there
    // is no break to snooze, and nothing to spend or record.
    if (m_engine.isPaused()) {
        m_deps.log.log("snooze refused minutes=" + std::to_string(minutes) + " from=notification reason=paused");
        m_deps.banners.clearDelivered();
        return;
    }
    if (!snooze(minutes, SnoozeRequest::Source::notification))
        return;
    cancelPendingLongBreak();
    replaceTimer(m_snoozedHeadsUpTimer, std::max(1.0, minutes * 60.0 - BreakTiming::headsUpSeconds), false, 0,
                 &ApplicationDelegate::sendHeadsUp);
}

void ApplicationDelegate::startBreakFromBanner() {
    m_deps.log.log("heads-up banner tapped; starting break now");
    takeLongBreak();
}

void ApplicationDelegate::bannerResponded(const BannerCenter::Response& response) {
    std::visit(Overloaded{
                   [&](const SignalAction::Snooze& e) { snoozeFromBanner(e.minutes); },
                   [&](const SignalAction::StartBreak&) { startBreakFromBanner(); },
                   [&](const SignalAction::OpenUpdate&) {
                       m_deps.log.log("update notification tapped");
                       m_deps.updater.notificationTapped();
                   },
                   [&](const SignalAction::Ignore&) {
                       m_deps.log.log("notification response ignored action=" + response.action + " category=" +
                                      (response.category.empty() ? "none" : response.category));
                   },
               },
               SignalAction::forResponse(response.action, response.category, response.isDefaultAction));
}

// MARK: Suppliers of the notices

std::optional<double> ApplicationDelegate::secondsUntilHeadsUpBreak() const {
    if (!isLive(m_pendingBreakTimer))
        return std::nullopt;
    const double remaining = m_pendingBreakTimer->fireDate() - now();
    // A snooze moves the pending break minutes away: the countdown for it is over.
    if (remaining > BreakTiming::headsUpSeconds)
        return std::nullopt;
    return remaining;
}

bool ApplicationDelegate::snoozeAllowedNow() {
    return SnoozeRequest::isAllowed(m_engine.snoozeBudget(), m_engine.snoozeCount(), postponedToday());
}

std::optional<std::string> ApplicationDelegate::overtimeText() const {
    const auto at = now();
    return OvertimeNudge::storedText(m_deps.breakScreen.isActive(), m_engine.isPaused(),
                                     Sensors::withinWorkingHours(m_deps.store, m_deps.calendar, at),
                                     m_engine.isOvertimeDismissed(), m_engine.secondsWorkedLong(at),
                                     m_engine.schedule().overtimeLimitMinutes(), m_deps.store);
}

std::optional<WellnessNudge::Kind> ApplicationDelegate::wellnessKindDue() {
    const auto at = now();
    if (!WellnessNudge::storedShouldShow(m_deps.breakScreen.isActive(), m_engine.isPaused(),
                                         Sensors::withinWorkingHours(m_deps.store, m_deps.calendar, at),
                                         Sensors::smartPauseBlockerActive(m_deps.signals, m_deps.store, at)))
        return std::nullopt;
    return WellnessNudge::storedNextKind(m_lastWellnessKind, m_deps.store);
}

bool ApplicationDelegate::snooze(int minutes, SnoozeRequest::Source from) {
    const int daily = postponedToday();
    const int count = m_engine.snoozeCount();
    const auto verdict = SnoozeRequest::verdict(minutes, from, m_engine.snoozeBudget(), count, daily);
    if (const auto* refused = std::get_if<SnoozeRequest::Refuse>(&verdict)) {
        m_deps.log.log("snooze refused minutes=" + std::to_string(minutes) + " from=" + std::string(text(from)) +
                       " reason=" + std::string(text(refused->reason)) + " session=" + std::to_string(count) +
                       " daily=" + std::to_string(daily));
        return false;
    }
    const double by = minutes * 60.0;
    m_deps.log.log("next break snoozed by " + std::to_string(minutes) + "m from=" + std::string(text(from)));
    m_engine.snooze(by, now());
    for (auto* field : {&m_pendingBreakTimer, &m_snoozedHeadsUpTimer, &m_fixedBreakTimer})
        if (isLive(*field))
            (*field)->setFireDate((*field)->fireDate() + by);
    m_deps.history.record(BreakEvent::Kind::long_, BreakEvent::Outcome::postponed, std::nullopt);
    m_typingPauseTimer.reset();
    // The heads-up announced the break as it was; it must not stay up offering another snooze.
    m_deps.notices.clear(UserSignal::Kind::preBreak);
    m_deps.banners.clearDelivered();
    return true;
}

std::string ApplicationDelegate::describeForPause(Instant instant) const {
    // The platform's standard description of an instant: "2026-12-07 16:00:00 +0000".
    auto iso = iso8601(instant);
    if (iso.size() >= 20 && iso.back() == 'Z') {
        iso[10] = ' ';
        iso.pop_back();
        iso += " +0000";
    }
    return iso;
}

void ApplicationDelegate::pause(Instant until) {
    const bool untilResumed = until >= Instant::distantFuture();
    m_deps.log.log(untilResumed ? std::string("reminders paused until resumed")
                                : "reminders paused until " + describeForPause(until));
    m_engine.pause(until);
    m_typingPauseTimer.reset();
    for (auto* field : {&m_workClockPoll, &m_fixedBreakTimer, &m_pendingBreakTimer, &m_snoozedHeadsUpTimer,
                        &m_typingPauseTimer, &m_resumeTimer})
        field->reset();
    m_deps.notices.clear(UserSignal::Kind::preBreak);
    m_deps.banners.clearDelivered();
    if (!untilResumed)
        armResumeTimer(until);
    m_deps.menuBar.refresh();
}

void ApplicationDelegate::armResumeTimer(Instant until) {
    replaceTimer(m_resumeTimer, std::max(1.0, until - now()), false, 0, &ApplicationDelegate::resumeReminders);
}

void ApplicationDelegate::pauseUntilTomorrow() {
    // The next civil day's first moment: a day is 23 or 25 hours long when the clocks change.
    pause(m_deps.calendar.endOfDay(m_deps.calendar.day(now())));
}

void ApplicationDelegate::pauseUntilResumed() {
    pause(Instant::distantFuture());
}

void ApplicationDelegate::resumeReminders() {
    m_deps.log.log("reminders resumed");
    m_engine.resume();
    m_resumeTimer.reset();
    m_deps.menuBar.refresh();
    restartSchedule();
}

// MARK: Views

std::optional<Instant> ApplicationDelegate::fixedBreakAt() const {
    if (!isLive(m_fixedBreakTimer))
        return std::nullopt;
    return m_fixedBreakTimer->fireDate();
}

StatusLine::Facts ApplicationDelegate::statusLineFacts() const {
    const auto at = now();
    StatusLine::Facts facts;
    facts.onBreak = m_deps.breakScreen.isActive();
    facts.pausedUntil = m_engine.pausedUntil();
    facts.breakStarting = isLive(m_pendingBreakTimer);
    facts.withinWorkingHours = Sensors::withinWorkingHours(m_deps.store, m_deps.calendar, at);
    facts.holdingBlock = m_engine.holdingBlock();
    facts.cooldownRemaining =
        Sensors::smartPauseCooldownRemaining(m_deps.store, m_engine.lastSmartPauseBlockedAt(), at);
    facts.secondsUntilNextBreak = m_engine.secondsUntilNextBreak(at, fixedBreakAt());
    facts.userSteppedAway = m_engine.userSteppedAway();
    return facts;
}

std::string ApplicationDelegate::statusText() const {
    const auto at = now();
    return StatusLine::text(
        statusLineFacts(),
        [&] { return Sensors::activeSmartPauseCause(m_deps.signals, m_deps.store, at); },
        [&](Instant instant) {
            const auto local = m_deps.calendar.components(instant);
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "%02d:%02d", local.hour % 100, local.minute % 100);
            return std::string(buffer);
        });
}

int ApplicationDelegate::liveTimerFields() const {
    int live = 0;
    for (const auto* field : {&m_workClockPoll, &m_pendingBreakTimer, &m_snoozedHeadsUpTimer, &m_typingPauseTimer,
                              &m_fixedBreakTimer, &m_resumeTimer, &m_screenOnTimer})
        live += isLive(*field) ? 1 : 0;
    return live;
}

} // namespace sorvala
