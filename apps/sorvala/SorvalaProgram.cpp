// SPDX-License-Identifier: MIT
#include "SorvalaProgram.h"

#include "app/HotKeys.h"
#include "app/SettingsSchema.h"
#include "app/ShortcutAction.h"
#include "drawing/Settings.h"
#include "drawing/SorvalaGenerator.h"
#include "history/DailyStats.h"
#include "i18n/QtI18n.h"
#include "menubar/MenuBarCountdown.h"
#include "platform/HotKeyRegistrars.h"
#include "platform/IssueReportSender.h"
#include "platform/x11/QtKeyCodes.h"
#include "platform/LinuxSystemSignals.h"
#include "platform/TimerFdWallClockChanges.h"
#include "platform/desktop/LogReveal.h"
#include "platform/TerminationSignals.h"
#include "platform/x11/XEmbedTray.h"
#include "sensing/DeferredSystemSignals.h"
#include "sensing/Sensors.h"
#include "ui/about/AboutWindow.h"
#include "ui/report/ReportIssueWindow.h"
#include "ui/reports/ReportsWindow.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/stats/StatsWindow.h"

#include <QApplication>
#include <QProcess>
#include <QLocale>
#include <QTime>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <utility>
#include <unistd.h>

namespace sorvala {

namespace {

/// How long the tray waits for a StatusNotifier host; SORVALA_TRAY_WAIT_SECONDS overrides it.
int trayWaitMilliseconds() {
    if (const char* text = std::getenv("SORVALA_TRAY_WAIT_SECONDS")) {
        char* end = nullptr;
        const long seconds = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && seconds >= 0 && seconds <= 600)
            return static_cast<int>(seconds * 1000);
    }
    return 30000;
}

TrayMenuBar::HostSearch traySearch() {
    TrayMenuBar::HostSearch search;
    search.xembedTrayPresent = &xembedTrayPresent;
    search.hostWaitMs = trayWaitMilliseconds();
    return search;
}

std::string sessionType() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return type ? type : "";
}

} // namespace

SorvalaProgram::SorvalaProgram()
    : m_log(m_clock), m_store(m_log), m_timers(m_clock),
      // Made at the first question, which comes from the event loop: the display connections and
      // bus lookups behind them would only hold up the tray item.
      m_signals(std::make_unique<DeferredSystemSignals>([this] { return makeLinuxSystemSignals(m_log); })),
      m_history(m_clock, m_log), m_sound(m_store, m_log), m_hotKeys(createHotKeyRegistrar(sessionType(), m_log)),
      m_pageRelease(m_timers, m_log),
      m_breakScreen({.clock = m_clock,
                     .timers = m_timers,
                     .log = m_log,
                     .history = m_history,
                     .store = m_store,
                     .launcher = &m_launcher,
                     .system = m_signals.get(),
                     .playSound = [this](SoundDesign::Event event) { m_sound.play(event); },
                     .statusItemInstalled = {},
                     .saveFinishedDrawing =
                         [this](const SorvalaSaverView& view, qreal ratio) { m_gallery->gallery().save(view, ratio); },
                     .otherKey = [this](const QKeyEvent& event) { shortcutKeyDuringBreak(event); },
                     // A break's windows bring megabytes of code and fonts into memory that the
                     // idle program does not use, a micro break's as many as a long one's: it
                     // gives them back.
                     .aboutToShow = [this] { m_pageRelease.breakStarting(); },
                     .windowsGone = [this] { m_pageRelease.breakGone(); }}),
      m_banners(m_log),
      m_notices(QtNotices::Services{m_store, m_log, m_timers, &m_banners,
                                    [this](SoundDesign::Event event) { m_sound.play(event); }}),
      m_onboarding({.store = m_store,
                    .log = m_log,
                    .notifications = &OnboardingWindow::notificationServiceState,
                    .scheduleReminder = {}}),
      m_updater({.log = m_log,
                 .timers = m_timers,
                 .banners = m_banners,
                 .current = {SORVALA_VERSION, SORVALA_BUILD_NUMBER},
                 .install = currentInstallFacts(),
                 .source = UpdateSource::configured(m_log),
                 .processId = static_cast<long long>(::getpid()),
                 .launchDetached =
                     [](const std::string& script) {
                         return QProcess::startDetached(QStringLiteral("/bin/sh"),
                                                        {QStringLiteral("-c"), QString::fromStdString(script)});
                     },
                 .quit = [] { QCoreApplication::quit(); },
                 .window = [this]() -> SelfUpdater::Window* { return &aboutWindow(); }}),
      m_launchAtLogin(m_log, LaunchAtLogin::standardEntryPath(),
                      LaunchAtLogin::executableToStart(QCoreApplication::applicationFilePath().toStdString())) {
    m_status = std::make_unique<StatusSource>(
        m_clock, StatusSource::Suppliers{
                     .facts = [this] { return m_app->statusLineFacts(); },
                     .blockerLabel =
                         [this]() -> std::optional<std::string> {
                             // The first sweep makes the system signals, loads the sound module
                             // and asks the sound server and the display: it waits until the tray
                             // item is up.
                             if (!m_probing)
                                 return std::nullopt;
                             return Sensors::activeSmartPauseCause(*m_signals, m_store, m_clock.now());
                         },
                     .shortTime = [this](Instant instant) { return shortTime(instant); },
                 });
    m_menuBar = std::make_unique<TrayMenuBar>(
        m_store, m_log, *m_status,
        TrayMenuBar::MenuFacts{
            .launchAtLogin = [this] { return m_launchAtLogin.isEnabled(); },
            .streakDays =
                [this] {
                    const auto since = [this](Instant from) { return m_history.eventsSince(from); };
                    return std::optional(BreakLog::streakFromRecent(since, m_clock.now(), m_calendar));
                },
            .startBreakKeySequence =
                [this] {
                    const auto shortcut = storedShortcut(ShortcutAction::toggleBreak, m_store);
                    return shortcut && shortcut->keyLabel.size() == 1 ? shortcut->displayString() : std::string();
                },
        },
        TrayMenuBar::Callbacks{
            .onCommand = [this](const MenuCommand& command) { m_commands->perform(command); },
            .onLeftClick = [this] { m_commands->leftClick(); },
            .onQuit = [] { QCoreApplication::quit(); },
            .onNoTray = [this] { noTray(); },
            .onTrayFound = [this] { trayFound(); },
            // The tray reads the status each second: the control interface announces that same
            // reading instead of one of its own.
            .onStatus =
                [this](const StatusSource::Shown& status) {
                    if (m_control)
                        m_control->announce(controlStatus(status));
                },
        },
        traySearch());

    // In field order: Qt's `signals` keyword rules out designated initializers here.
    m_app = std::make_unique<ApplicationDelegate>(ApplicationDelegate::Dependencies{
        m_store, m_calendar, m_clock, m_log, m_timers, *m_signals, m_history, m_breakScreen, m_notices, *m_menuBar,
        m_banners, m_updater, m_onboarding, m_hotKeys.get(), SORVALA_VERSION, SORVALA_BUILD,
        static_cast<long long>(::getpid())});

    m_commands = std::make_unique<ProgramCommands>(
        *m_app, m_clock, m_log,
        ProgramCommands::Handlers{
            .openDrawingWindow = [this] { openDrawingWindow(); },
            .toggleLaunchAtLogin = [this] { m_launchAtLogin.toggle(); },
            .revealLog = [this] { showInFileManager(AppLogger::fileURL(), m_log); },
            .skipBreak =
                [this] {
                    auto& lifecycle = m_breakScreen.lifecycle();
                    lifecycle.skipPressed();
                    return !lifecycle.isOnScreen();
                },
        });
    m_gallery = std::make_unique<GalleryCommands>(
        m_log, m_clock, m_calendar, currentSession(), QDBusConnection::sessionBus(),
        (QCoreApplication::applicationDirPath() + QStringLiteral("/sorvala-saver")).toStdString(), SORVALA_VERSION);
    wireWindows();

    m_control = std::make_unique<ControlService>(
        m_log, [this] { return controlStatus(); },
        ControlService::Commands{
            .open = [this] { reopen(); },
            .action = [this](ControlAction action) { return perform(action); },
            .snooze =
                [this](int minutes) -> ControlService::Refusal {
                    if (m_app->snooze(minutes, SnoozeRequest::Source::hotKey))
                        return std::nullopt;
                    return i18n("No snoozes left: the snooze budget is spent.");
                },
            .pause = [this](int minutes) { m_commands->perform(MenuCommand::pause(minutes)); },
            .pauseUntilTomorrow = [this] { m_app->pauseUntilTomorrow(); },
            .pauseUntilResumed = [this] { m_app->pauseUntilResumed(); },
            .resume = [this] { return m_commands->resume(); },
        });
}

SorvalaProgram::~SorvalaProgram() = default;

void SorvalaProgram::wireWindows() {
    m_onboarding.setScheduleReminder([this] { m_app->scheduleReminder(); });
    auto& windows = m_commands->windows();
    windows.openStatistics = [this] { toggleStatistics(); };
    windows.openReports = [this] { reportsWindow().showAndRaise(); };
    windows.openSettings = [this] { settingsWindow().showAndRaise(); };
    windows.openGallery = [this] { m_gallery->openGallery(); };
    windows.useLatestAsWallpaper = [this] { m_gallery->useLatestSorvalaAsWallpaper(); };
    windows.installScreenSaver = [this] { m_gallery->installScreenSaver(); };
    windows.openWelcome = [this] { m_onboarding.present(); };
    windows.reportIssue = [this] { reportIssueWindow().present(); };
    windows.openAbout = [this] { m_updater.openAbout(); };
}

void SorvalaProgram::toggleStatistics() {
    if (!m_stats)
        m_stats = std::make_unique<StatsWindow>(
            StatsWindow::Services{BreakLog::fileURL(), m_calendar, m_clock, m_store, m_log});
    const QRect icon = m_menuBar->iconGeometry();
    m_stats->toggle(icon.isValid() ? icon.center() : QPoint());
}

ReportsWindow& SorvalaProgram::reportsWindow() {
    if (!m_reports)
        m_reports = std::make_unique<ReportsWindow>(ReportsWindow::Services{BreakLog::fileURL(), m_calendar, m_log});
    return *m_reports;
}

SettingsWindow& SorvalaProgram::settingsWindow() {
    if (m_settings)
        return *m_settings;
    SettingsWindow::Ports ports(m_store, m_log);
    ports.playSound = [this](std::string_view name, float volume) { return m_sound.playSound(name, volume); };
    ports.suspendHotKeys = [this](bool suspended) {
        if (!m_hotKeys)
            return;
        if (suspended)
            m_hotKeys->replaceBindings({});
        else
            HotKeys::registerHotKeys(m_store, *m_hotKeys, m_log);
    };
    ports.opened = [this] { m_app->settingsWindowOpened(); };
    ports.closed = [this] {
        // The drawing window shows the theme, ink, style, speed and pinned drawing just saved.
        if (m_window)
            m_window->reloadSettings();
        m_app->settingsWindowClosed();
        m_menuBar->refresh();
    };
    if (!m_hotKeys || !m_hotKeys->available())
        ports.shortcutsNote = desktopShortcutsHint();
    m_settings = std::make_unique<SettingsWindow>(std::move(ports));
    return *m_settings;
}

ReportIssueWindow& SorvalaProgram::reportIssueWindow() {
    if (m_reportIssue)
        return *m_reportIssue;
    m_reportSender = std::make_unique<IssueReportSender>(m_log);
    m_reportIssue = std::make_unique<ReportIssueWindow>(ReportIssueWindow::Services{
        m_log, m_calendar, m_clock, *m_reportSender,
        [] {
            return std::vector{AppLogger::generationURL(3), AppLogger::generationURL(2), AppLogger::generationURL(1),
                               AppLogger::fileURL()};
        },
        SORVALA_BUILD, currentDeviceId(), currentDeviceName()});
    return *m_reportIssue;
}

AboutWindow& SorvalaProgram::aboutWindow() {
    if (!m_about)
        m_about = std::make_unique<AboutWindow>(
            UpdatePresentation::Version{SORVALA_VERSION, SORVALA_BUILD_NUMBER},
            [this](UpdatePresentation::Action action) { m_updater.perform(action); });
    return *m_about;
}

bool SorvalaProgram::claimSingleInstance() {
    // The control interface answers from the store as soon as it is offered: the store is
    // complete first.
    prepareStore();
    // Without a session bus there is nobody to hand over to: this instance runs on its own.
    return m_control->claim() || m_control->busMissing();
}

void SorvalaProgram::prepareStore() {
    SettingsSchema::migrateRetiredEnforcementKeys(m_store);
    SettingsSchema::registerDefaults(m_store);
    // The drawing library's appearance keys share the store with the application's settings.
    m_store.registerDefaults(Settings::factoryDefaults(SorvalaGenerator::drawingCount));
    AppearanceMigration::migrateAppearance(AppearanceMigration::retiredScreenSaverAppearance(), m_store);
}

void SorvalaProgram::launch() {
    // First: a session that ends while the program starts must not kill it in the middle of a
    // settings write, whose lock file would hold up the next start.
    TerminationSignals::routeToEventLoop([this](int signal) {
        m_log.log("quit requested signal=" + std::to_string(signal));
        QCoreApplication::quit();
    });
    prepareStore();
    m_gallery->refreshScreenSaver();
    m_launchAtLogin.followMovedProgram();

    if (m_hotKeys)
        m_hotKeys->setPressedHandler([this](ShortcutAction action) { HotKeys::perform(action, *m_app, m_log); });

    // Sleep and wake are watched before the application object starts its stretches and restores
    // the session, so none of that can miss a sleep.
    m_sleep = std::make_unique<LogindSleepWatcher>(
        m_log, LogindSleepWatcher::Callbacks{
                   .willSleep = [this] { m_app->systemWillSleep(); },
                   .didWake =
                       [this] {
                           m_app->systemDidWake();
                           m_menuBar->refresh();
                       },
               });
    m_sleep->start();

    // Linux asks nobody for banners: whether a notification service runs is known at once.
    m_banners.refreshAuthorization(false);
    m_app->launch();
    m_clockChanges = std::make_unique<TimerFdWallClockChanges>(m_log);
    m_clockWatch = m_clockChanges->observe([this](double by) {
        m_app->systemClockChanged(by);
        m_menuBar->refresh();
    });

    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this] { m_app->quit(); });
    // The idle state a break's pages are given back to, noted once the start's work is done. A
    // page idle code first touches later is given back after a break too, and read again from the
    // page cache when next used.
    QTimer::singleShot(std::chrono::seconds(5), qApp, [this] { m_pageRelease.noteIdle(); });
    QTimer::singleShot(0, qApp, [this] {
        m_probing = true;
        m_status->forgetLabel();
        m_menuBar->refresh();
    });
}

std::optional<std::string> SorvalaProgram::perform(ControlAction action) {
    auto refusal = m_commands->perform(action);
    m_menuBar->refresh();
    return refusal;
}

void SorvalaProgram::reopen() {
    if (m_onboarding.isShowing())
        return;
    openDrawingWindow();
}

std::string SorvalaProgram::shortTime(Instant instant) const {
    const auto local = m_calendar.components(instant);
    // Some locales' short form still carries seconds ("HH:mm:ss"); a pause ends on a minute.
    auto format = QLocale::system().timeFormat(QLocale::ShortFormat);
    format.remove(QStringLiteral(":ss"));
    return QLocale::system().toString(QTime(local.hour, local.minute), format).toStdString();
}

ControlService::Status SorvalaProgram::controlStatus() {
    // The label behind the line may be half a minute old here, as in the tooltip.
    return controlStatus(m_status->shown(MenuBarCountdown::isEnabled(m_store), 30));
}

ControlService::Status SorvalaProgram::controlStatus(const StatusSource::Shown& shown) {
    // A status bar shows the countdown and the line side by side: both show the same second.
    const auto& facts = shown.facts;
    ControlService::Status status;
    status.paused = facts.pausedUntil.has_value();
    status.onBreak = facts.onBreak;
    status.statusText = QString::fromStdString(shown.line);
    status.countdown = shown.title ? QString::fromStdString(*shown.title) : QString();
    // Paused or on a break, no break is coming, whatever the stretches say.
    if (!status.paused && !status.onBreak && facts.secondsUntilNextBreak &&
        std::isfinite(*facts.secondsUntilNextBreak))
        status.secondsUntilNextBreak = std::max(0LL, std::llround(*facts.secondsUntilNextBreak));
    return status;
}

DrawingWindow& SorvalaProgram::drawingWindow() {
    if (!m_window)
        m_window = std::make_unique<DrawingWindow>(m_store, m_log,
                                                   [this](bool visible) {
                                                       // Where the window stands in for a missing tray it
                                                       // is always open: it is the menu, not a rest.
                                                       m_app->setDrawingWindowVisible(visible && !m_menuInWindow);
                                                   });
    return *m_window;
}

void SorvalaProgram::openDrawingWindow() {
    drawingWindow().open();
}

void SorvalaProgram::shortcutKeyDuringBreak(const QKeyEvent& event) {
    const auto press = QtKeyCodes::keyPress(event);
    if (!press.keyCode)
        return;
    if (const auto action = HotKeys::actionFor(HotKeys::bindingsInForce(m_store), *press.keyCode, press.modifiers))
        HotKeys::perform(*action, *m_app, m_log);
}

void SorvalaProgram::noTray() {
    auto& window = drawingWindow();
    if (!m_menuInWindow) {
        if (!std::exchange(m_windowMenuAttached, true))
            m_menuBar->attachMenu(window.menu());
        window.showMenu(true);
        m_menuInWindow = true;
        m_app->setDrawingWindowVisible(false);
    }
    window.open();
}

void SorvalaProgram::trayFound() {
    if (!std::exchange(m_menuInWindow, false) || !m_window)
        return;
    // The icon holds the menu again: the window that stood in for it goes.
    m_window->showMenu(false);
    m_window->close();
    m_log.log("tray found; the drawing window no longer stands in for it");
}

} // namespace sorvala
