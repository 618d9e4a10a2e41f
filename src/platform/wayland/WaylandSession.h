// SPDX-License-Identifier: MIT
#pragma once

#include "platform/wayland/WaylandReadings.h"

#include <QObject>

#include <map>
#include <memory>
#include <optional>
#include <string>

struct wl_registry;
struct wl_seat;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct ext_idle_notification_v1_listener;
struct org_kde_kwin_idle_timeout_listener;
struct zwlr_foreign_toplevel_manager_v1_listener;
struct zwlr_foreign_toplevel_handle_v1_listener;

namespace sorvala {

class WaylandConnection;

/// A Wayland connection of our own (never Qt's) that follows the compositor's idle notifications
/// and its list of toplevel windows. Events are read as they arrive through a socket notifier on
/// the Qt event loop; each answer is the state as of the last event.
class WaylandSession final : public QObject {
public:
    /// Connects to $WAYLAND_DISPLAY, or to `display` when given, and binds what the compositor
    /// offers; waits for the first answers so readings are right at once.
    explicit WaylandSession(std::string ownAppId, const char* display = nullptr);
    ~WaylandSession() override;

    bool isConnected() const;
    /// "ext-idle-notify", "kde-idle" or "none".
    std::string idleBackEnd() const;
    /// Whether the compositor lists other clients' windows (wlroots' foreign-toplevel protocol).
    bool tracksToplevels() const { return m_toplevelManager != nullptr; }

    /// Seconds since the last input on our seat; nullopt without an idle protocol or connection.
    /// Read within the first second of the connection, it waits for the compositor's first word.
    std::optional<double> secondsSinceLastInput();
    /// The window with the keyboard focus, as of the compositor's last completed update.
    std::optional<WaylandReadings::Toplevel> focusedToplevel() const;
    const std::string& ownAppId() const { return m_ownAppId; }

    /// Reads and handles whatever the compositor sent; the socket notifier calls it, tests may too.
    void dispatch();

private:
    struct Window {
        WaylandReadings::Toplevel shown;   ///< as of the last "done"
        WaylandReadings::Toplevel pending; ///< being updated
    };

    void global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void watchIdle();
    void watchToplevels();
    void disconnectFromCompositor();
    void forgetCompositor();
    void awaitFirstIdleNotification();
    static double monotonicNow();

    static const ::ext_idle_notification_v1_listener extIdleListener;
    static const ::org_kde_kwin_idle_timeout_listener kdeIdleListener;
    static const ::zwlr_foreign_toplevel_manager_v1_listener toplevelManagerListener;
    static const ::zwlr_foreign_toplevel_handle_v1_listener toplevelListener;

    std::string m_ownAppId;
    std::unique_ptr<WaylandConnection> m_connection;
    wl_seat* m_seat = nullptr;
    ext_idle_notifier_v1* m_extIdle = nullptr;
    ext_idle_notification_v1* m_extNotification = nullptr;
    org_kde_kwin_idle* m_kdeIdle = nullptr;
    org_kde_kwin_idle_timeout* m_kdeTimeout = nullptr;
    zwlr_foreign_toplevel_manager_v1* m_toplevelManager = nullptr;
    std::map<zwlr_foreign_toplevel_handle_v1*, Window> m_windows;
    WaylandReadings::IdleState m_idle;
    double m_connectedAt = 0;
};

} // namespace sorvala
