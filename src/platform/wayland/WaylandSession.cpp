// SPDX-License-Identifier: MIT
#include "platform/wayland/WaylandSession.h"

#include "platform/wayland/WaylandConnection.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <chrono>
#include <cstring>

#include <poll.h>

namespace sorvala {

namespace {

// The idle protocols only tell when input stopped for this long; the reading subtracts it back.
constexpr uint32_t idleTimeoutMs = 1000;
constexpr double idleTimeoutSeconds = idleTimeoutMs / 1000.0;

// Version 3 adds the parent event; 2 the fullscreen state, which is what we need.
constexpr uint32_t toplevelVersion = 3;

template <typename Interface>
Interface* bindGlobal(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
                      uint32_t wanted) {
    return WaylandConnection::bind<Interface>(registry, name, interface, offered, wanted);
}

} // namespace

const ext_idle_notification_v1_listener WaylandSession::extIdleListener = {
    [](void* data, ext_idle_notification_v1*) {
        static_cast<WaylandSession*>(data)->m_idle.idled(monotonicNow(), idleTimeoutSeconds);
    },
    [](void* data, ext_idle_notification_v1*) { static_cast<WaylandSession*>(data)->m_idle.resumed(); },
};

const org_kde_kwin_idle_timeout_listener WaylandSession::kdeIdleListener = {
    [](void* data, org_kde_kwin_idle_timeout*) {
        static_cast<WaylandSession*>(data)->m_idle.idled(monotonicNow(), idleTimeoutSeconds);
    },
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<WaylandSession*>(data)->m_idle.resumed(); },
};

const zwlr_foreign_toplevel_manager_v1_listener WaylandSession::toplevelManagerListener = {
    [](void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
        auto* self = static_cast<WaylandSession*>(data);
        self->m_windows[handle] = {};
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &toplevelListener, self);
    },
    [](void* data, zwlr_foreign_toplevel_manager_v1* manager) {
        auto* self = static_cast<WaylandSession*>(data);
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
        self->m_toplevelManager = nullptr;
    },
};

const zwlr_foreign_toplevel_handle_v1_listener WaylandSession::toplevelListener = {
    /* title */ [](void*, zwlr_foreign_toplevel_handle_v1*, const char*) {},
    /* app_id */
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* appId) {
        static_cast<WaylandSession*>(data)->m_windows[handle].pending.appId = appId ? appId : "";
    },
    /* output_enter */ [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    /* output_leave */ [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    /* state */
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states) {
        auto& pending = static_cast<WaylandSession*>(data)->m_windows[handle].pending;
        pending.activated = false;
        pending.fullscreen = false;
        const auto* state = static_cast<const uint32_t*>(states->data);
        for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i) {
            pending.activated |= state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
            pending.fullscreen |= state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN;
        }
    },
    /* done */
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle) {
        auto& window = static_cast<WaylandSession*>(data)->m_windows[handle];
        window.shown = window.pending;
    },
    /* closed */
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle) {
        static_cast<WaylandSession*>(data)->m_windows.erase(handle);
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    },
    /* parent */ [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
};

WaylandSession::WaylandSession(std::string ownAppId, const char* display) : m_ownAppId(std::move(ownAppId)) {
    // No global is followed when it goes: the seat and the managers stay for the compositor's life.
    m_connection = std::make_unique<WaylandConnection>(
        [this](wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
            global(registry, name, interface, version);
        },
        nullptr, display);
    m_connection->onLost = [this] { forgetCompositor(); };
    // The first round trip listed the globals, the second brings the bound objects' first events.
    if (!m_connection->isConnected()) {
        forgetCompositor();
        return;
    }
    watchIdle();
    watchToplevels();
    if (!m_connection->roundtrip())
        return;
    m_connectedAt = monotonicNow();
    m_connection->startReading();
}

WaylandSession::~WaylandSession() {
    disconnectFromCompositor();
}

bool WaylandSession::isConnected() const {
    return m_connection->isConnected();
}

void WaylandSession::global(wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat)
        m_seat = bindGlobal<wl_seat>(registry, name, &wl_seat_interface, version, 1);
    else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
        m_extIdle = bindGlobal<ext_idle_notifier_v1>(registry, name, &ext_idle_notifier_v1_interface, version, 1);
    else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
        m_kdeIdle = bindGlobal<org_kde_kwin_idle>(registry, name, &org_kde_kwin_idle_interface, version, 1);
    else if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0 && version >= 2)
        m_toplevelManager = bindGlobal<zwlr_foreign_toplevel_manager_v1>(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, version, toplevelVersion);
}

void WaylandSession::watchIdle() {
    if (!m_seat)
        return;
    // The standard protocol when offered; KDE's older one is all some compositors have.
    if (m_extIdle) {
        m_extNotification = ext_idle_notifier_v1_get_idle_notification(m_extIdle, idleTimeoutMs, m_seat);
        ext_idle_notification_v1_add_listener(m_extNotification, &extIdleListener, this);
    } else if (m_kdeIdle) {
        m_kdeTimeout = org_kde_kwin_idle_get_idle_timeout(m_kdeIdle, m_seat, idleTimeoutMs);
        org_kde_kwin_idle_timeout_add_listener(m_kdeTimeout, &kdeIdleListener, this);
    }
}

void WaylandSession::watchToplevels() {
    if (m_toplevelManager)
        zwlr_foreign_toplevel_manager_v1_add_listener(m_toplevelManager, &toplevelManagerListener, this);
}

std::string WaylandSession::idleBackEnd() const {
    if (m_extNotification)
        return "ext-idle-notify";
    if (m_kdeTimeout)
        return "kde-idle";
    return "none";
}

std::optional<double> WaylandSession::secondsSinceLastInput() {
    if (!m_extNotification && !m_kdeTimeout)
        return std::nullopt;
    awaitFirstIdleNotification();
    return m_idle.secondsSinceInput(monotonicNow());
}

void WaylandSession::awaitFirstIdleNotification() {
    // The compositor says "idle" only once the timeout has passed since we asked: a reading taken
    // sooner (a one-shot command) would say "active" for a user who has been away for hours.
    constexpr double margin = 0.2;
    const double ready = m_connectedAt + idleTimeoutSeconds + margin;
    for (double now = monotonicNow(); isConnected() && !m_idle.idleSince && now < ready; now = monotonicNow()) {
        m_connection->flush();
        pollfd socket{wl_display_get_fd(m_connection->display()), POLLIN, 0};
        if (::poll(&socket, 1, int((ready - now) * 1000) + 1) > 0)
            dispatch();
    }
}

std::optional<WaylandReadings::Toplevel> WaylandSession::focusedToplevel() const {
    for (const auto& [handle, window] : m_windows)
        if (window.shown.activated)
            return window.shown;
    return std::nullopt;
}

void WaylandSession::dispatch() {
    m_connection->dispatch();
}

void WaylandSession::disconnectFromCompositor() {
    forgetCompositor();
    m_connection->disconnect();
}

void WaylandSession::forgetCompositor() {
    // The compositor went away or broke the connection: every reading falls back to its harmless
    // value. Objects are not destroyed one by one: the connection takes them all with it.
    m_windows.clear();
    m_extNotification = nullptr;
    m_kdeTimeout = nullptr;
    m_extIdle = nullptr;
    m_kdeIdle = nullptr;
    m_toplevelManager = nullptr;
    m_seat = nullptr;
    m_idle.resumed();
}

double WaylandSession::monotonicNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace sorvala
