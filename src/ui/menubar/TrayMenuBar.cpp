// SPDX-License-Identifier: MIT
#include "ui/menubar/TrayMenuBar.h"

#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "menubar/MenuBarCountdown.h"
#include "ui/menubar/StatusMenuView.h"
#include "ui/menubar/StatusSource.h"
#include "ui/menubar/TrayIconArt.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>

namespace sorvala {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int hostPollMs = 500;
/// The blocker label behind the open menu's status line is probed at most this often.
constexpr double menuLabelLifetime = 3;
/// Outside the menu (tooltip, countdown) a sweep of every probe each second would cost more than
/// the countdown itself; the label may be this old there.
constexpr double tooltipLabelLifetime = 30;

const char* word(bool value) {
    return value ? "true" : "false";
}

std::string backendText(TrayMenuBar::Backend backend) {
    switch (backend) {
    case TrayMenuBar::Backend::waiting: return "waiting";
    case TrayMenuBar::Backend::statusNotifier: return "statusNotifier";
    case TrayMenuBar::Backend::xembed: return "xembed";
    case TrayMenuBar::Backend::none: return "none";
    }
    return "none";
}

QString watcherOwner() {
    auto* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return {};
    const auto reply = bus->serviceOwner(watcherService);
    return reply.isValid() ? reply.value() : QString();
}

} // namespace

TrayMenuBar::TrayMenuBar(const PreferencesStore& store, Logger& log, StatusSource& status, MenuFacts menuFacts,
                         Callbacks callbacks, int hostWaitMs)
    : m_store(store), m_log(log), m_status(status), m_menuFacts(std::move(menuFacts)),
      m_callbacks(std::move(callbacks)), m_hostWaitMs(hostWaitMs) {
    m_menu.setTitle(QStringLiteral("Sorvala"));
    attachMenu(m_menu);
    m_hostPoll.setInterval(hostPollMs);
    connect(&m_hostPoll, &QTimer::timeout, this, [this] { waitForHost(); });
    m_countdownTicker.setInterval(1000);
    m_countdownTicker.setTimerType(Qt::CoarseTimer);
    connect(&m_countdownTicker, &QTimer::timeout, this, [this] { refresh(); });
    m_statusLineTicker.setInterval(1000);
    connect(&m_statusLineTicker, &QTimer::timeout, this, [this] { tickStatusLine(); });
}

TrayMenuBar::~TrayMenuBar() {
    // The icon points at the menu, a member that goes before the children do.
    delete m_icon;
}

void TrayMenuBar::attachMenu(QMenu& menu) {
    m_views.push_back(std::make_unique<StatusMenuView>(
        menu, StatusMenu::items({}), [this](const MenuCommand& command) { m_callbacks.onCommand(command); },
        [this] { m_callbacks.onQuit(); }));
    connect(&menu, &QMenu::aboutToShow, this, [this] {
        updateMenus();
        ++m_openMenus;
        m_statusLineTicker.start();
    });
    connect(&menu, &QMenu::aboutToHide, this, [this] {
        m_openMenus = std::max(0, m_openMenus - 1);
        if (m_openMenus == 0)
            m_statusLineTicker.stop();
    });
}

// MARK: Installing

bool TrayMenuBar::hostIsReady() const {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(watcherService))
        return false;
    auto call = QDBusMessage::createMethodCall(watcherService, QStringLiteral("/StatusNotifierWatcher"),
                                              QStringLiteral("org.freedesktop.DBus.Properties"),
                                              QStringLiteral("Get"));
    call << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const auto reply = bus.call(call, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}

void TrayMenuBar::install() {
    if (m_icon || m_hostPoll.isActive())
        return;
    m_waitingSince.start();
    if (hostIsReady()) {
        createIcon(Backend::statusNotifier);
        return;
    }
    m_log.log("status item waiting for a tray host seconds=" + std::to_string(m_hostWaitMs / 1000));
    m_backend = Backend::waiting;
    m_hostPoll.start();
}

void TrayMenuBar::waitForHost() {
    if (hostIsReady()) {
        m_hostPoll.stop();
        createIcon(Backend::statusNotifier);
        return;
    }
    if (m_waitingSince.elapsed() < m_hostWaitMs)
        return;
    m_hostPoll.stop();
    // Qt settles on its tray back end at this first question, so it is asked only now.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        createIcon(Backend::xembed);
        return;
    }
    m_backend = Backend::none;
    m_log.log("no tray available; the drawing window offers the menu instead: " + state());
    if (m_callbacks.onNoTray)
        m_callbacks.onNoTray();
}

void TrayMenuBar::createIcon(Backend backend) {
    m_backend = backend;
    m_icon = new QSystemTrayIcon(this);
    m_icon->setContextMenu(&m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && m_callbacks.onLeftClick)
            m_callbacks.onLeftClick();
    });
    m_appliedIcon.reset();
    m_toolTip.clear();
    refresh();
    m_icon->show();
    m_log.log("status item installed: " + state());
}

// MARK: Rendering

void TrayMenuBar::refresh() {
    const auto facts = m_status.facts();
    const bool paused = facts.pausedUntil.has_value();
    const auto title =
        MenuBarCountdown::storedTitle(facts.onBreak, paused, facts.secondsUntilNextBreak, m_store);
    m_hasTitle = title.has_value();
    if (!m_icon)
        return;
    const auto iconText = title ? QString::fromStdString(MenuBarCountdown::iconText(*facts.secondsUntilNextBreak))
                                : QString();
    const std::tuple<QString, bool, bool> look{iconText, paused, TrayIconArt::panelIsDark()};
    // A new icon travels to the panel as a whole image; it changes once a minute at most.
    if (m_appliedIcon != look) {
        m_appliedIcon = look;
        m_icon->setIcon(TrayIconArt::icon(iconText, paused, std::get<2>(look)));
    }
    const auto line = QString::fromStdString(m_status.text(facts, tooltipLabelLifetime));
    const auto tip = title ? QString::fromStdString(*title) + QLatin1Char('\n') + line : line;
    if (tip != m_toolTip) {
        m_toolTip = tip;
        m_icon->setToolTip(tip);
    }
}

void TrayMenuBar::refreshCountdownTicker() {
    m_countdownTicker.stop();
    if (MenuBarCountdown::isEnabled(m_store))
        m_countdownTicker.start();
    refresh();
}

StatusMenu::State TrayMenuBar::menuState() {
    const auto facts = m_status.facts();
    StatusMenu::State state;
    state.statusText = m_status.text(facts, menuLabelLifetime);
    state.paused = facts.pausedUntil.has_value();
    if (facts.pausedUntil && *facts.pausedUntil < Instant::distantFuture())
        state.pausedUntilTime = m_status.shortTime(*facts.pausedUntil);
    state.launchAtLogin = m_menuFacts.launchAtLogin && m_menuFacts.launchAtLogin();
    if (m_menuFacts.streakDays)
        state.streakDays = m_menuFacts.streakDays();
    if (m_menuFacts.startBreakKeySequence)
        state.startBreakKeySequence = m_menuFacts.startBreakKeySequence();
    return state;
}

void TrayMenuBar::updateMenus() {
    m_lastMenuState = menuState();
    const auto items = StatusMenu::items(m_lastMenuState);
    for (const auto& view : m_views)
        view->apply(items);
}

void TrayMenuBar::tickStatusLine() {
    // Only the status line moves while the menu is open; the streak and the autostart file are
    // read once per opening.
    const auto facts = m_status.facts();
    m_lastMenuState.statusText = m_status.text(facts, menuLabelLifetime);
    const auto items = StatusMenu::items(m_lastMenuState);
    for (const auto& view : m_views)
        view->apply(items);
}

// MARK: Watching

void TrayMenuBar::startWatching() {
    if (!m_watcher) {
        m_watcher = new QDBusServiceWatcher(watcherService, QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString&) {
                    m_log.log("status item changed: " + state());
                });
    }
    if (!m_watchingScreens) {
        m_watchingScreens = true;
        const auto screensChanged = [this] { m_log.log("screen parameters changed: " + screenDescription()); };
        connect(qGuiApp, &QGuiApplication::screenAdded, this, screensChanged);
        connect(qGuiApp, &QGuiApplication::screenRemoved, this, screensChanged);
    }
    m_log.log("status item watch started: " + state());
}

void TrayMenuBar::rebuildIfNeeded(int) {
    // Qt registers the item again with a restarted host on its own; only a program that found no
    // tray at all looks again.
    if (m_backend == Backend::none && hostIsReady())
        createIcon(Backend::statusNotifier);
}

std::string TrayMenuBar::managerDescription() const {
    if (m_backend != Backend::waiting)
        return backendText(m_backend);
    return watcherOwner().isEmpty() ? "waiting" : "kde-statusnotifier";
}

std::string TrayMenuBar::screenDescription() const {
    const auto screens = QGuiApplication::screens();
    std::string text = "screens=" + std::to_string(screens.size());
    for (const auto* screen : screens) {
        const auto g = screen->geometry();
        text += " " + std::to_string(g.x()) + "," + std::to_string(g.y()) + "," + std::to_string(g.width()) + "x" +
                std::to_string(g.height());
    }
    return text;
}

std::string TrayMenuBar::state() const {
    const auto owner = watcherOwner();
    return "item=" + std::string(m_icon ? "present" : "none") + " backend=" + backendText(m_backend) +
           " visible=" + word(m_icon && m_icon->isVisible()) + " hasTitle=" + word(m_hasTitle) +
           " watcher=" + (owner.isEmpty() ? std::string("none") : owner.toStdString());
}

QRect TrayMenuBar::iconGeometry() const {
    return m_icon ? m_icon->geometry() : QRect();
}

} // namespace sorvala
