// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

#include "app/ports/MenuBar.h"
#include "menubar/StatusMenu.h"
#include "ui/menubar/StatusSource.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QDBusServiceWatcher;
class QSystemTrayIcon;

namespace sorvala {

class Logger;
class PreferencesStore;
class StatusMenuView;

/// The status item in the desktop's tray and its menu. Qt decides the tray back end once per
/// process, at the first icon, so the icon is made only once a tray is there: a StatusNotifier
/// host, or an XEmbed tray when no StatusNotifier watcher is on its way. With neither the program
/// is told to show its window, and the search goes on until a panel turns up.
class TrayMenuBar final : public QObject, public MenuBar {
public:
    /// What the menu shows beside the status facts, read when it opens.
    struct MenuFacts {
        std::function<bool()> launchAtLogin;
        /// Days of the current streak; nullopt when the history cannot be read.
        std::function<std::optional<int>()> streakDays;
        /// The global shortcut that starts a break, "Ctrl+Alt+Super+B", or empty.
        std::function<std::string()> startBreakKeySequence;
    };
    struct Callbacks {
        std::function<void(const MenuCommand&)> onCommand;
        std::function<void()> onLeftClick;
        std::function<void()> onQuit;
        /// No tray turned up: the program offers its commands another way.
        std::function<void()> onNoTray;
        /// A tray turned up after `onNoTray`: the icon holds the menu again.
        std::function<void()> onTrayFound;
        /// Hears the status the tray read each second, whether or not the icon counts down: a
        /// follower that needs it each second reads none of its own. A refresh in between is not
        /// heard, so the follower hears at most one status a second.
        std::function<void(const StatusSource::Shown&)> onStatus;
    };
    /// How the tray looks for a place to show its icon.
    struct HostSearch {
        /// Whether an XEmbed tray holds its selection on the display now; none counts without it.
        std::function<bool()> xembedTrayPresent;
        /// How long to wait for a StatusNotifier host while its watcher is there (a panel starting).
        int hostWaitMs = 30000;
        /// How long an opening of a menu the panel draws itself counts as open with no sign of the
        /// user: some panels never say that their menu closed.
        int menuLeaseMs = 10000;
    };
    enum class Backend { waiting, statusNotifier, xembed, none };

    TrayMenuBar(const PreferencesStore& store, Logger& log, StatusSource& status, MenuFacts menuFacts,
                Callbacks callbacks, HostSearch search);
    ~TrayMenuBar() override;

    void install() override;
    void startWatching() override;
    void refresh() override;
    void refreshCountdownTicker() override;
    void rebuildIfNeeded(int settleChecksRemaining) override;
    std::string managerDescription() const override;
    std::string screenDescription() const override;
    std::string state() const override;

    /// Builds the same menu into `menu` (a window's menu bar), kept up to date like the tray's.
    void attachMenu(QMenu& menu);
    /// Where the tray icon sits on screen; empty when the tray does not say (or there is none).
    QRect iconGeometry() const;
    Backend backend() const { return m_backend; }
    /// The tooltip last applied.
    QString toolTip() const { return m_toolTip; }
    /// Whether the status line of an open menu is being refreshed each second.
    bool refreshingStatusLine() const { return m_statusLineTicker.isActive(); }

protected:
    /// A new application palette (the desktop turned dark or light) redraws the icon for it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hostIsReady() const;
    bool settleOnXEmbed() const;
    void waitForHost();
    bool anyMenuShown(const QMenu* except) const;
    void menuOpened();
    void menuClosed(const QMenu& menu);
    void createIcon(Backend backend);
    void tick();
    void apply(const StatusSource::Shown& status);
    StatusMenu::State menuState();
    void updateMenus();
    void tickStatusLine();

    const PreferencesStore& m_store;
    Logger& m_log;
    StatusSource& m_status;
    MenuFacts m_menuFacts;
    Callbacks m_callbacks;
    HostSearch m_search;

    Backend m_backend = Backend::waiting;
    QMenu m_menu;
    std::vector<std::unique_ptr<StatusMenuView>> m_views;
    QSystemTrayIcon* m_icon = nullptr;
    QDBusServiceWatcher* m_watcher = nullptr;
    QTimer m_hostPoll;
    QElapsedTimer m_waitingSince;
    QTimer m_countdownTicker;
    QTimer m_statusLineTicker;
    StatusMenu::State m_lastMenuState;
    std::vector<QPointer<QMenu>> m_menus;
    /// Since the last sign that a menu is open; invalid once one closed.
    QElapsedTimer m_menuSign;
    /// The (icon text, paused, dark panel) last drawn; none forces the next refresh to draw.
    std::optional<std::tuple<QString, bool, bool>> m_appliedIcon;
    QString m_toolTip;
    bool m_hasTitle = false;
    bool m_watchingScreens = false;
};

} // namespace sorvala
