// SPDX-License-Identifier: MIT
#include "platform/wayland/WaylandConnection.h"

#include <QSocketNotifier>

#include <wayland-client.h>

namespace sorvala {

namespace {

WaylandConnection* self(void* data) {
    return static_cast<WaylandConnection*>(data);
}

} // namespace

WaylandConnection::WaylandConnection(Global global, GlobalRemoved removed, const char* display)
    : m_global(std::move(global)), m_removed(std::move(removed)) {
    static const wl_registry_listener registryListener = {
        [](void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
            if (self(data)->m_global)
                self(data)->m_global(registry, name, interface, version);
        },
        [](void* data, wl_registry*, std::uint32_t name) {
            if (self(data)->m_removed)
                self(data)->m_removed(name);
        },
    };
    m_display = wl_display_connect(display);
    if (!m_display)
        return;
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    roundtrip();
}

WaylandConnection::~WaylandConnection() {
    disconnect();
}

void* WaylandConnection::bindRaw(wl_registry* registry, std::uint32_t name, const wl_interface* interface,
                                 std::uint32_t version) {
    return wl_registry_bind(registry, name, interface, version);
}

bool WaylandConnection::roundtrip() {
    if (!m_display)
        return false;
    if (wl_display_roundtrip(m_display) < 0) {
        lost();
        return false;
    }
    return true;
}

void WaylandConnection::startReading() {
    if (!m_display || m_notifier)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { dispatch(); });
    // Events that came with the last round trip's answers are already queued: read them now.
    wl_display_dispatch_pending(m_display);
    flush();
}

void WaylandConnection::dispatch() {
    if (!m_display)
        return;
    // The notifier said there is something to read, so this does not block.
    if (wl_display_dispatch(m_display) < 0) {
        lost();
        return;
    }
    flush();
}

void WaylandConnection::flush() {
    if (m_display)
        wl_display_flush(m_display);
}

void WaylandConnection::lost() {
    m_notifier.reset();
    if (onLost)
        onLost();
    disconnect();
}

void WaylandConnection::disconnect() {
    m_notifier.reset();
    if (!m_display)
        return;
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
    m_display = nullptr;
    m_registry = nullptr;
}

} // namespace sorvala
