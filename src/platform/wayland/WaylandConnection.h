// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;
struct wl_display;
struct wl_interface;
struct wl_registry;

namespace sorvala {

/// A Wayland connection of our own, beside Qt's: it walks the compositor's globals, hands each to
/// its owner to bind, and reads events on the Qt event loop through a socket notifier. A broken
/// connection is closed at once and reported through `onLost`.
class WaylandConnection final : public QObject {
public:
    /// Called for every global the compositor announces, now and later.
    using Global = std::function<void(wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version)>;
    /// Called when a global goes away (an output unplugged).
    using GlobalRemoved = std::function<void(std::uint32_t name)>;

    /// Connects to $WAYLAND_DISPLAY, or to `display` when given, and lists the globals once;
    /// `isConnected` says whether it worked.
    WaylandConnection(Global global, GlobalRemoved removed = {}, const char* display = nullptr);
    ~WaylandConnection() override;

    bool isConnected() const { return m_display != nullptr; }
    wl_display* display() const { return m_display; }

    /// Sends what is queued and waits until the compositor has answered it; false (and closed)
    /// when the connection broke.
    bool roundtrip();
    /// From now on, events are read as they arrive on the Qt event loop.
    void startReading();
    /// Reads and handles whatever the compositor sent; the socket notifier calls it, tests may too.
    void dispatch();
    /// Sends what is queued without waiting.
    void flush();
    /// Closes the connection; the compositor destroys every object made on it.
    void disconnect();

    /// Called once when the compositor breaks the connection, before the objects made on it go.
    std::function<void()> onLost;

    /// Binds global `name` at the lower of the offered and the wanted version.
    template <typename Interface>
    static Interface* bind(wl_registry* registry, std::uint32_t name, const wl_interface* interface,
                           std::uint32_t offered, std::uint32_t wanted) {
        return static_cast<Interface*>(bindRaw(registry, name, interface, std::min(offered, wanted)));
    }

private:
    static void* bindRaw(wl_registry* registry, std::uint32_t name, const wl_interface* interface,
                         std::uint32_t version);
    void lost();

    Global m_global;
    GlobalRemoved m_removed;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace sorvala
