// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

struct wl_buffer;
struct wl_compositor;
struct wl_keyboard;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

namespace sorvala {

class WaylandConnection;

/// Takes the keyboard from every other client while a break runs, where the compositor offers
/// wlroots' layer shell (sway, KWin): an invisible layer surface above the windows with exclusive keyboard
/// focus, on a Wayland connection of our own, hands each key it receives on. Its input region is
/// empty, so the pointer still reaches the windows below it.
class WaylandKeyboardHold final : public QObject {
public:
    /// One key pressed or released, as the keymap of the seat reads it.
    struct Key {
        bool pressed = true;
        std::uint32_t keysym = 0;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };

    WaylandKeyboardHold();
    ~WaylandKeyboardHold() override;

    /// Connects to $WAYLAND_DISPLAY and shows the surface; false (and nothing held) when the
    /// compositor offers no layer shell or no seat.
    bool hold();
    /// Whether the compositor has given our surface the keyboard.
    bool hasKeyboard() const { return m_hasKeyboard; }

    /// Called for every key while the hold has the keyboard.
    std::function<void(const Key&)> onKey;

    /// The Qt key for an XKB keysym, as Qt's own Wayland keyboard reports it; Key_unknown for
    /// keysyms a break has no use for.
    static Qt::Key qtKey(std::uint32_t keysym);

private:
    void bindGlobal(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version);
    void seatCapabilities(std::uint32_t capabilities);
    void configured(std::uint32_t serial);
    void keymap(int fd, std::uint32_t size);
    void key(std::uint32_t keycode, bool pressed);
    void disconnect();
    void forgetCompositor();

    std::unique_ptr<WaylandConnection> m_connection;
    wl_compositor* m_compositor = nullptr;
    wl_shm* m_shm = nullptr;
    wl_seat* m_seat = nullptr;
    wl_keyboard* m_keyboard = nullptr;
    zwlr_layer_shell_v1* m_layerShell = nullptr;
    wl_surface* m_surface = nullptr;
    zwlr_layer_surface_v1* m_layerSurface = nullptr;
    wl_buffer* m_buffer = nullptr;
    xkb_context* m_xkb = nullptr;
    xkb_keymap* m_keymap = nullptr;
    xkb_state* m_state = nullptr;
    bool m_hasKeyboard = false;
};

} // namespace sorvala
