// SPDX-License-Identifier: MIT
#include "platform/x11/X11KeyboardLayout.h"

#include <QGuiApplication>

#include <xkbcommon/xkbcommon-x11.h>

#include <memory>

namespace sorvala::X11KeyboardLayout {

namespace {

struct Unref {
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
template <typename T> using Owned = std::unique_ptr<T, Unref>;

xcb_connection_t* qtConnection() {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xkb_mod_mask_t maskOf(xkb_keymap* keymap, const char* name) {
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
    return index == XKB_MOD_INVALID ? 0 : xkb_mod_mask_t{1} << index;
}

// The real modifier bits (as in an X event's state) that a virtual modifier such as NumLock is
// bound to in this keymap.
xkb_mod_mask_t realMaskOf(xkb_keymap* keymap, const char* name) {
    const Owned<xkb_state> state(xkb_state_new(keymap));
    if (!state)
        return 0;
    xkb_state_update_mask(state.get(), 0, 0, maskOf(keymap, name), 0, 0, 0);
    return xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_LOCKED) & 0xff;
}

} // namespace

std::optional<KeyLevels> levels(std::uint32_t keycode, std::uint32_t state) {
    xcb_connection_t* connection = qtConnection();
    if (!connection || keycode == 0)
        return std::nullopt;
    // Qt has set the extension up on its connection already; asking again only confirms it.
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                     nullptr))
        return std::nullopt;
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0)
        return std::nullopt;
    const Owned<xkb_context> context(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    if (!context)
        return std::nullopt;
    xkb_context_set_log_level(context.get(), XKB_LOG_LEVEL_CRITICAL);
    // Read afresh for each press: a press is rare, and the user may have switched layouts since.
    const Owned<xkb_keymap> keymap(
        xkb_x11_keymap_new_from_device(context.get(), connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap || keycode < xkb_keymap_min_keycode(keymap.get()) ||
        keycode > xkb_keymap_max_keycode(keymap.get()))
        return std::nullopt;
    // The press's own state, not the server's now: by the time we see the event the keys may be
    // up and Num Lock toggled again. Its group bits say which layout typed it.
    const auto layout = static_cast<xkb_layout_index_t>((state >> 13) & 0x3);
    // Num Lock decides between a keypad digit and its arrow, so it stays as it was.
    const xkb_mod_mask_t numLock = state & realMaskOf(keymap.get(), "NumLock");
    const auto keysymWith = [&](xkb_mod_mask_t depressed) -> std::uint32_t {
        const Owned<xkb_state> pressed(xkb_state_new(keymap.get()));
        if (!pressed)
            return XKB_KEY_NoSymbol;
        xkb_state_update_mask(pressed.get(), depressed, 0, numLock, 0, 0, layout);
        return xkb_state_key_get_one_sym(pressed.get(), keycode);
    };
    const KeyLevels result{keysymWith(0), keysymWith(maskOf(keymap.get(), XKB_MOD_NAME_SHIFT))};
    if (result.plain == XKB_KEY_NoSymbol)
        return std::nullopt;
    return result;
}

} // namespace sorvala::X11KeyboardLayout
