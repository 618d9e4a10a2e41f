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
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>

#include <algorithm>

namespace sorvala {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int hostPollMs = 500;
/// Once no tray turned up, a panel that starts later is looked for at this pace.
constexpr int trayLookoutMs = 2000;
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
                         Callbacks callbacks, HostSearch search)
    : m_store(store), m_log(log), m_status(status), m_menuFacts(std::move(menuFacts)),
      m_callbacks(std::move(callbacks)), m_search(std::move(search)) {
    m_menu.setTitle(QStringLiteral("Sorvala"));
    attachMenu(m_menu);
    m_hostPoll.setInterval(hostPollMs);
    connect(&m_hostPoll, &QTimer::timeout, this, [this] { waitForHost(); });
    m_countdownTicker.setInterval(1000);
    m_countdownTicker.setTimerType(Qt::CoarseTimer);
    connect(&m_countdownTicker, &QTimer::timeout, this, [this] { tick(); });
    m_statusLineTicker.setInterval(1000);
    connect(&m_statusLineTicker, &QTimer::timeout, this, [this] { tickStatusLine(); });
    // The palette is announced to the application object alone; the icon is no widget to hear it.
    if (auto* application = QCoreApplication::instance())
        application->installEventFilter(this);
}

TrayMenuBar::~TrayMenuBar() {
    // The icon points at the menu, a member that goes before the children do.
    delete m_icon;
}

void TrayMenuBar::attachMenu(QMenu& menu) {
    m_views.push_back(std::make_unique<StatusMenuView>(
        menu, StatusMenu::items({}), [this](const MenuCommand& command) { m_callbacks.onCommand(command); },
        [this] { m_callbacks.onQuit(); }));
    m_menus.emplace_back(&menu);
    connect(&menu, &QMenu::aboutToShow, this, [this] { menuOpened(); });
    connect(&menu, &QMenu::aboutToHide, this, [this, &menu] { menuClosed(menu); });
    // The pointer moving over its items is a sign that the menu is still open.
    connect(&menu, &QMenu::hovered, this, [this] {
        if (m_statusLineTicker.isActive())
            m_menuSign.start();
    });
}

// MARK: The open menu

bool TrayMenuBar::anyMenuShown(const QMenu* except) const {
    return std::any_of(m_menus.begin(), m_menus.end(),
                       [except](const QPointer<QMenu>& menu) { return menu && menu != except && menu->isVisible(); });
}

void TrayMenuBar::menuOpened() {
    updateMenus();
    m_menuSign.start();
    m_statusLineTicker.start();
}

void TrayMenuBar::menuClosed(const QMenu& menu) {
    // Openings are not counted: a panel may announce one opening twice and its closing once.
    m_menuSign.invalidate();
    if (!anyMenuShown(&menu))
        m_statusLineTicker.stop();
}

// MARK: Installing

bool TrayMenuBar::hostIsReady() const {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // One round trip: without a watcher the bus answers the question itself with an error, and
    // starts none in its place.
    auto call = QDBusMessage::createMethodCall(watcherService, QStringLiteral("/StatusNotifierWatcher"),
                                              QStringLiteral("org.freedesktop.DBus.Properties"),
                                              QStringLiteral("Get"));
    call.setAutoStartService(false);
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
    m_backend = Backend::waiting;
    m_hostPoll.setInterval(hostPollMs);
    waitForHost();
    if (m_backend != Backend::waiting)
        return;
    m_log.log("status item waiting for a tray host seconds=" + std::to_string(m_search.hostWaitMs / 1000));
    m_hostPoll.start();
}

bool TrayMenuBar::settleOnXEmbed() const {
    if (!m_search.xembedTrayPresent || !m_search.xembedTrayPresent())
        return false;
    // A StatusNotifier watcher without a host yet is a panel starting up (Plasma's own XEmbed
    // bridge may be up first): its host is worth the wait. Without a watcher none is coming.
    auto* bus = QDBusConnection::sessionBus().interface();
    const bool watcherThere = bus && bus->isServiceRegistered(watcherService).value();
    return !watcherThere || m_waitingSince.elapsed() >= m_search.hostWaitMs;
}

void TrayMenuBar::waitForHost() {
    // Qt settles on its tray back end at the first icon, so nothing of Qt's tray is touched
    // before a tray of either kind is known to be there.
    std::optional<Backend> found;
    if (hostIsReady())
        found = Backend::statusNotifier;
    else if (settleOnXEmbed())
        found = Backend::xembed;
    if (found) {
        const bool wasMissing = m_backend == Backend::none;
        m_hostPoll.stop();
        createIcon(*found);
        if (wasMissing && m_callbacks.onTrayFound)
            m_callbacks.onTrayFound();
        return;
    }
    if (m_backend == Backend::none || m_waitingSince.elapsed() < m_search.hostWaitMs)
        return;
    m_backend = Backend::none;
    m_log.log("no tray available; the drawing window offers the menu instead: " + state());
    // A panel that starts later still gets the icon.
    m_hostPoll.setInterval(trayLookoutMs);
    m_hostPoll.start();
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
    apply(m_status.shown(MenuBarCountdown::isEnabled(m_store), tooltipLabelLifetime));
}

void TrayMenuBar::tick() {
    const bool countdown = MenuBarCountdown::isEnabled(m_store);
    const auto status = m_status.shown(countdown, tooltipLabelLifetime);
    // Without the countdown nothing on the icon moves each second: the tooltip waits for the
    // next refresh, and the ticker runs for the follower alone.
    if (countdown)
        apply(status);
    if (m_callbacks.onStatus)
        m_callbacks.onStatus(status);
}

void TrayMenuBar::apply(const StatusSource::Shown& status) {
    // The tooltip puts the line under the countdown title: both show the same second.
    const auto& facts = status.facts;
    const bool paused = facts.pausedUntil.has_value();
    m_hasTitle = status.title.has_value();
    if (!m_icon)
        return;
    const auto iconText = status.title
                              ? QString::fromStdString(MenuBarCountdown::iconText(*facts.secondsUntilNextBreak))
                              : QString();
    const std::tuple<QString, bool, bool> look{iconText, paused, TrayIconArt::panelIsDark()};
    // A new icon travels to the panel as a whole image; it changes once a minute at most.
    if (m_appliedIcon != look) {
        m_appliedIcon = look;
        m_icon->setIcon(TrayIconArt::icon(iconText, paused, std::get<2>(look)));
    }
    const auto line = QString::fromStdString(status.line);
    const auto tip = status.title ? QString::fromStdString(*status.title) + QLatin1Char('\n') + line : line;
    if (tip != m_toolTip) {
        m_toolTip = tip;
        m_icon->setToolTip(tip);
    }
}

bool TrayMenuBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance())
        refresh();
    return false;
}

void TrayMenuBar::refreshCountdownTicker() {
    m_countdownTicker.stop();
    if (m_callbacks.onStatus || MenuBarCountdown::isEnabled(m_store))
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
    // A menu the panel draws is never visible here: its opening holds for a while after the last
    // sign of it, so a panel that never says "closed" does not keep this running for good.
    if (!anyMenuShown(nullptr) && (!m_menuSign.isValid() || m_menuSign.hasExpired(m_search.menuLeaseMs))) {
        m_statusLineTicker.stop();
        return;
    }
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
    // Qt docks the item again with a restarted tray of the same kind on its own; a program that
    // found no tray at all looks again at once rather than at its next lookout.
    if (m_backend == Backend::none)
        waitForHost();
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
