// SPDX-License-Identifier: MIT
#include "ui/wayland/WaylandKeyboardHold.h"

#include "platform/wayland/WaylandConnection.h"

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace sorvala {

namespace {

template <typename Interface>
Interface* bind(wl_registry* registry, std::uint32_t name, const wl_interface* interface,
                std::uint32_t offered, std::uint32_t wanted) {
    return WaylandConnection::bind<Interface>(registry, name, interface, offered, wanted);
}

WaylandKeyboardHold* self(void* data) {
    return static_cast<WaylandKeyboardHold*>(data);
}

// One transparent pixel: the surface needs a buffer to be mapped, and shows nothing.
wl_buffer* transparentPixel(wl_shm* shm) {
    const int fd = memfd_create("sorvala-break-keys", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    wl_buffer* buffer = nullptr;
    if (ftruncate(fd, 4) == 0) {
        auto* pool = wl_shm_create_pool(shm, fd, 4);
        buffer = wl_shm_pool_create_buffer(pool, 0, 1, 1, 4, WL_SHM_FORMAT_ARGB8888);
        wl_shm_pool_destroy(pool);
    }
    close(fd);
    return buffer;
}

} // namespace

WaylandKeyboardHold::WaylandKeyboardHold() = default;

WaylandKeyboardHold::~WaylandKeyboardHold() {
    disconnect();
}

bool WaylandKeyboardHold::hold() {
    static const zwlr_layer_surface_v1_listener surfaceListener = {
        [](void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t, std::uint32_t) {
            self(data)->configured(serial);
        },
        [](void* data, zwlr_layer_surface_v1*) { self(data)->m_hasKeyboard = false; },
    };
    if (m_connection && m_connection->isConnected())
        return true;
    m_connection = std::make_unique<WaylandConnection>(
        [this](wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
            bindGlobal(registry, name, interface, version);
        });
    m_connection->onLost = [this] { forgetCompositor(); };
    // The first round trip listed the globals, the second brings the seat's capabilities. A seat
    // may have no keyboard yet: the hold takes the one plugged in later.
    if (!m_connection->isConnected() || !m_connection->roundtrip() || !m_layerShell || !m_compositor || !m_shm ||
        !m_seat) {
        disconnect();
        return false;
    }
    m_surface = wl_compositor_create_surface(m_compositor);
    auto* nothing = wl_compositor_create_region(m_compositor);
    wl_surface_set_input_region(m_surface, nothing);
    wl_region_destroy(nothing);
    // No output named: the compositor puts it where the user is, and one surface is enough to
    // take the keyboard. The top layer takes it as the overlay does; with a surface on the
    // overlay, sway 1.7 stopped drawing a full-screen window on its second output.
    m_layerSurface = zwlr_layer_shell_v1_get_layer_surface(
        m_layerShell, m_surface, nullptr, ZWLR_LAYER_SHELL_V1_LAYER_TOP, "sorvala-break-keys");
    zwlr_layer_surface_v1_add_listener(m_layerSurface, &surfaceListener, this);
    zwlr_layer_surface_v1_set_size(m_layerSurface, 1, 1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface,
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    wl_surface_commit(m_surface);
    // The compositor configures the surface, we map it, and it gives us the keyboard.
    if (!m_connection->roundtrip() || !m_connection->roundtrip()) {
        disconnect();
        return false;
    }
    m_connection->startReading();
    return true;
}

void WaylandKeyboardHold::bindGlobal(wl_registry* registry, std::uint32_t name, const char* interface,
                                     std::uint32_t version) {
    static const wl_seat_listener seatListener = {
        [](void* data, wl_seat*, std::uint32_t capabilities) { self(data)->seatCapabilities(capabilities); },
        [](void*, wl_seat*, const char*) {},
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0)
        m_compositor = bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 1);
    else if (std::strcmp(interface, wl_shm_interface.name) == 0)
        m_shm = bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        m_layerShell = bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version, 1);
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat) {
        m_seat = bind<wl_seat>(registry, name, &wl_seat_interface, version, 1);
        wl_seat_add_listener(m_seat, &seatListener, this);
    }
}

void WaylandKeyboardHold::seatCapabilities(std::uint32_t capabilities) {
    static const wl_keyboard_listener keyboardListener = {
        /* keymap */
        [](void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
            if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1)
                self(data)->keymap(fd, size);
            close(fd);
        },
        /* enter */
        [](void* data, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {
            self(data)->m_hasKeyboard = true;
        },
        /* leave */
        [](void* data, wl_keyboard*, std::uint32_t, wl_surface*) { self(data)->m_hasKeyboard = false; },
        /* key */
        [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key, std::uint32_t state) {
            self(data)->key(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
        },
        /* modifiers */
        [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
           std::uint32_t locked, std::uint32_t group) {
            if (auto* state = self(data)->m_state)
                xkb_state_update_mask(state, depressed, latched, locked, 0, 0, group);
        },
        /* repeat_info */ [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
    };
    const bool hasKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    if (hasKeyboard && !m_keyboard) {
        m_keyboard = wl_seat_get_keyboard(m_seat);
        wl_keyboard_add_listener(m_keyboard, &keyboardListener, this);
    } else if (!hasKeyboard && m_keyboard) {
        // The last keyboard was unplugged; the next one plugged in is taken afresh.
        wl_keyboard_destroy(m_keyboard);
        m_keyboard = nullptr;
        m_hasKeyboard = false;
    }
}

void WaylandKeyboardHold::configured(std::uint32_t serial) {
    zwlr_layer_surface_v1_ack_configure(m_layerSurface, serial);
    if (!m_buffer)
        m_buffer = transparentPixel(m_shm);
    wl_surface_attach(m_surface, m_buffer, 0, 0);
    wl_surface_commit(m_surface);
}

void WaylandKeyboardHold::keymap(int fd, std::uint32_t size) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text == MAP_FAILED)
        return;
    if (!m_xkb)
        m_xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    auto* keymap = m_xkb ? xkb_keymap_new_from_buffer(m_xkb, static_cast<const char*>(text),
                                                      strnlen(static_cast<const char*>(text), size),
                                                      XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS)
                         : nullptr;
    munmap(text, size);
    if (!keymap)
        return;
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    m_keymap = keymap;
    m_state = xkb_state_new(keymap);
}

void WaylandKeyboardHold::key(std::uint32_t keycode, bool pressed) {
    if (!m_state || !onKey)
        return;
    // Wayland sends evdev codes; XKB numbers keys 8 higher, as X did.
    const xkb_keycode_t code = keycode + 8;
    Key key;
    key.pressed = pressed;
    key.keysym = xkb_state_key_get_one_sym(m_state, code);
    const std::pair<const char*, Qt::KeyboardModifier> modifiers[] = {
        {XKB_MOD_NAME_SHIFT, Qt::ShiftModifier},
        {XKB_MOD_NAME_CTRL, Qt::ControlModifier},
        {XKB_MOD_NAME_ALT, Qt::AltModifier},
        {XKB_MOD_NAME_LOGO, Qt::MetaModifier},
    };
    for (const auto& [name, modifier] : modifiers)
        if (xkb_state_mod_name_is_active(m_state, name, XKB_STATE_MODS_EFFECTIVE) > 0)
            key.modifiers |= modifier;
    char text[16] = {};
    xkb_state_key_get_utf8(m_state, code, text, sizeof text);
    key.text = QString::fromUtf8(text);
    onKey(key);
}

Qt::Key WaylandKeyboardHold::qtKey(std::uint32_t keysym) {
    struct Named {
        xkb_keysym_t keysym;
        Qt::Key key;
    };
    static constexpr Named named[] = {
        {XKB_KEY_Escape, Qt::Key_Escape},
        {XKB_KEY_Tab, Qt::Key_Tab},
        {XKB_KEY_ISO_Left_Tab, Qt::Key_Backtab},
        {XKB_KEY_Return, Qt::Key_Return},
        {XKB_KEY_KP_Enter, Qt::Key_Enter},
        {XKB_KEY_BackSpace, Qt::Key_Backspace},
        {XKB_KEY_Delete, Qt::Key_Delete},
        {XKB_KEY_Home, Qt::Key_Home},
        {XKB_KEY_End, Qt::Key_End},
        {XKB_KEY_Left, Qt::Key_Left},
        {XKB_KEY_Up, Qt::Key_Up},
        {XKB_KEY_Right, Qt::Key_Right},
        {XKB_KEY_Down, Qt::Key_Down},
        {XKB_KEY_Page_Up, Qt::Key_PageUp},
        {XKB_KEY_Page_Down, Qt::Key_PageDown},
        {XKB_KEY_Shift_L, Qt::Key_Shift},
        {XKB_KEY_Shift_R, Qt::Key_Shift},
        {XKB_KEY_Control_L, Qt::Key_Control},
        {XKB_KEY_Control_R, Qt::Key_Control},
        {XKB_KEY_Alt_L, Qt::Key_Alt},
        {XKB_KEY_Alt_R, Qt::Key_Alt},
        {XKB_KEY_Super_L, Qt::Key_Super_L},
        {XKB_KEY_Super_R, Qt::Key_Super_R},
    };
    for (const auto& entry : named)
        if (entry.keysym == keysym)
            return entry.key;
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F24)
        return Qt::Key(Qt::Key_F1 + int(keysym - XKB_KEY_F1));
    // Printable ASCII keysyms are their own characters; Qt names a letter by its capital.
    if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z)
        return Qt::Key(keysym - XKB_KEY_a + Qt::Key_A);
    if (keysym >= XKB_KEY_space && keysym <= XKB_KEY_asciitilde)
        return Qt::Key(keysym);
    return Qt::Key_unknown;
}

void WaylandKeyboardHold::disconnect() {
    if (m_connection && m_connection->isConnected()) {
        // Destroying the surface gives the keyboard back at once; the rest goes with the connection.
        if (m_layerSurface)
            zwlr_layer_surface_v1_destroy(m_layerSurface);
        if (m_surface)
            wl_surface_destroy(m_surface);
        m_connection->disconnect();
    }
    forgetCompositor();
}

void WaylandKeyboardHold::forgetCompositor() {
    m_hasKeyboard = false;
    m_compositor = nullptr;
    m_shm = nullptr;
    m_seat = nullptr;
    m_keyboard = nullptr;
    m_layerShell = nullptr;
    m_surface = nullptr;
    m_layerSurface = nullptr;
    m_buffer = nullptr;
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_xkb);
    m_state = nullptr;
    m_keymap = nullptr;
    m_xkb = nullptr;
}

} // namespace sorvala
