// SPDX-License-Identifier: MIT
#include "platform/x11/X11HotKeyRegistrar.h"

#include "app/KeyCodes.h"
#include "core/Logger.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace sorvala {

namespace {

constexpr std::uint32_t numLockKeysym = 0xff7f;
constexpr std::uint32_t altKeysyms[] = {0xffe9, 0xffea};   // Alt_L, Alt_R
constexpr std::uint32_t superKeysyms[] = {0xffeb, 0xffec}; // Super_L, Super_R

// The eight real modifiers; pointer buttons in an event's state are not ours to match.
constexpr std::uint16_t keyboardModifiers = 0xff;

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

// The server's keyboard: which keysyms each keycode carries and which modifier bit holds Alt,
// Super and Num Lock. Read afresh for every registration, since layouts move keys around.
struct X11HotKeyRegistrar::Keyboard {
    xcb_keycode_t minKeycode = 8;
    std::uint8_t keysymsPerKeycode = 0;
    std::vector<xcb_keysym_t> keysyms;
    std::uint16_t alt = XCB_MOD_MASK_1;
    std::uint16_t super = XCB_MOD_MASK_4;
    std::uint16_t numLock = XCB_MOD_MASK_2;

    explicit Keyboard(xcb_connection_t* connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        minKeycode = setup->min_keycode;
        const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        Reply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, minKeycode, count), nullptr));
        if (mapping) {
            keysymsPerKeycode = mapping->keysyms_per_keycode;
            const xcb_keysym_t* first = xcb_get_keyboard_mapping_keysyms(mapping.get());
            keysyms.assign(first, first + xcb_get_keyboard_mapping_keysyms_length(mapping.get()));
        }
        Reply<xcb_get_modifier_mapping_reply_t> modifiers(xcb_get_modifier_mapping_reply(
            connection, xcb_get_modifier_mapping(connection), nullptr));
        if (!modifiers)
            return;
        const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(modifiers.get());
        const int perModifier = modifiers->keycodes_per_modifier;
        // The first row holding such a key gives its bit; without one the usual bit stays.
        std::uint16_t foundAlt = 0, foundSuper = 0, foundNumLock = 0;
        for (int row = 0; row < 8; ++row) {
            const auto bit = static_cast<std::uint16_t>(1u << row);
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t keycode = keycodes[row * perModifier + i];
                if (keycode == 0)
                    continue;
                for (const auto keysym : keysymsOf(keycode)) {
                    if (!foundNumLock && keysym == numLockKeysym)
                        foundNumLock = bit;
                    if (!foundAlt && std::find(std::begin(altKeysyms), std::end(altKeysyms), keysym) != std::end(altKeysyms))
                        foundAlt = bit;
                    if (!foundSuper && std::find(std::begin(superKeysyms), std::end(superKeysyms), keysym) != std::end(superKeysyms))
                        foundSuper = bit;
                }
            }
        }
        alt = foundAlt ? foundAlt : alt;
        super = foundSuper ? foundSuper : super;
        numLock = foundNumLock ? foundNumLock : numLock;
    }

    std::vector<xcb_keysym_t> keysymsOf(xcb_keycode_t keycode) const {
        if (keycode < minKeycode || keysymsPerKeycode == 0)
            return {};
        const std::size_t start = std::size_t(keycode - minKeycode) * keysymsPerKeycode;
        if (start + keysymsPerKeycode > keysyms.size())
            return {};
        return {keysyms.begin() + static_cast<std::ptrdiff_t>(start),
                keysyms.begin() + static_cast<std::ptrdiff_t>(start + keysymsPerKeycode)};
    }

    // Like XKeysymToKeycode: the first keycode carrying the keysym in any group or level, so a
    // second layout (us+ru) still finds the Latin key.
    std::optional<xcb_keycode_t> keycodeFor(xcb_keysym_t keysym) const {
        if (keysymsPerKeycode == 0)
            return std::nullopt;
        for (std::size_t i = 0; i < keysyms.size(); ++i) {
            if (keysyms[i] == keysym)
                return static_cast<xcb_keycode_t>(minKeycode + i / keysymsPerKeycode);
        }
        return std::nullopt;
    }

    std::uint16_t xModifiers(std::uint32_t modifiers) const {
        std::uint16_t result = 0;
        if (modifiers & KeyboardShortcut::controlMask)
            result |= XCB_MOD_MASK_CONTROL;
        if (modifiers & KeyboardShortcut::optionMask)
            result |= alt;
        if (modifiers & KeyboardShortcut::shiftMask)
            result |= XCB_MOD_MASK_SHIFT;
        if (modifiers & KeyboardShortcut::commandMask)
            result |= super;
        return result;
    }
};

std::unique_ptr<X11HotKeyRegistrar> X11HotKeyRegistrar::create(Logger& log) {
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application)
        return nullptr;
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return nullptr;
    return std::make_unique<X11HotKeyRegistrar>(connection, screen->root, log);
}

X11HotKeyRegistrar::X11HotKeyRegistrar(xcb_connection_t* connection, std::uint32_t rootWindow, Logger& log)
    : m_connection(connection), m_root(rootWindow), m_log(log) {
    if (auto* application = QCoreApplication::instance())
        application->installNativeEventFilter(this);
}

X11HotKeyRegistrar::~X11HotKeyRegistrar() {
    if (auto* application = QCoreApplication::instance()) {
        application->removeNativeEventFilter(this);
        ungrabAll();
    }
}

void X11HotKeyRegistrar::setPressedHandler(std::function<void(ShortcutAction)> pressed) {
    m_pressed = std::move(pressed);
}

std::vector<std::optional<std::string>> X11HotKeyRegistrar::replaceBindings(const std::vector<Binding>& bindings) {
    m_bindings = bindings;
    return grab(bindings);
}

void X11HotKeyRegistrar::ungrabAll() {
    for (const auto& grabbed : m_grabs)
        xcb_ungrab_key(m_connection, grabbed.keycode, m_root, grabbed.modifiers);
    m_grabs.clear();
    xcb_flush(m_connection);
}

std::vector<std::optional<std::string>> X11HotKeyRegistrar::grab(const std::vector<Binding>& bindings) {
    ungrabAll();
    m_heldKeycode.reset();
    m_lastRelease.reset();
    const Keyboard keyboard(m_connection);
    m_ignoredModifiers = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | keyboard.numLock);
    const std::uint16_t lockVariants[] = {0, XCB_MOD_MASK_LOCK, keyboard.numLock,
                                          static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | keyboard.numLock)};

    std::vector<std::optional<std::string>> results;
    for (const auto& binding : bindings) {
        const auto keysym = KeyCodes::keysymOf(binding.shortcut.keyCode);
        if (!keysym) {
            results.emplace_back("unknownkey");
            continue;
        }
        const auto keycode = keyboard.keycodeFor(*keysym);
        if (!keycode) {
            results.emplace_back("nokeycode");
            continue;
        }
        const std::uint16_t modifiers = keyboard.xModifiers(binding.shortcut.modifiers);
        // Grabbing a combination again from the same connection silently succeeds, so a second
        // action on the same keys would steal the first one's presses.
        const bool duplicate = std::any_of(m_grabs.begin(), m_grabs.end(), [&](const Grab& grabbed) {
            return grabbed.keycode == *keycode && grabbed.modifiers == modifiers;
        });
        if (duplicate) {
            results.emplace_back("duplicate");
            continue;
        }
        std::vector<xcb_void_cookie_t> cookies;
        for (const auto variant : lockVariants) {
            cookies.push_back(xcb_grab_key_checked(m_connection, 0, m_root, static_cast<std::uint16_t>(modifiers | variant),
                                                   *keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
        std::optional<int> errorCode;
        std::vector<std::uint16_t> grabbedVariants;
        for (std::size_t i = 0; i < cookies.size(); ++i) {
            if (Reply<xcb_generic_error_t> error{xcb_request_check(m_connection, cookies[i])}) {
                errorCode = errorCode.value_or(error->error_code);
            } else {
                grabbedVariants.push_back(lockVariants[i]);
            }
        }
        if (errorCode) {
            // Half a binding would fire only with some lock keys on: give back what we did get.
            for (const auto variant : grabbedVariants)
                xcb_ungrab_key(m_connection, *keycode, m_root, static_cast<std::uint16_t>(modifiers | variant));
            results.emplace_back(std::to_string(*errorCode));
            continue;
        }
        for (const auto variant : grabbedVariants)
            m_grabs.push_back({binding.action, *keycode, static_cast<std::uint16_t>(modifiers | variant)});
        results.emplace_back(std::nullopt);
    }
    xcb_flush(m_connection);
    return results;
}

bool X11HotKeyRegistrar::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS: {
        const auto* key = static_cast<const xcb_key_press_event_t*>(message);
        if (key->event != m_root || m_grabs.empty())
            return false;
        pressed(key->detail, key->state, key->time);
        return true;
    }
    case XCB_KEY_RELEASE: {
        const auto* key = static_cast<const xcb_key_release_event_t*>(message);
        if (key->event != m_root || m_grabs.empty())
            return false;
        if (m_heldKeycode == key->detail)
            m_heldKeycode.reset();
        m_lastRelease = std::pair{key->detail, key->time};
        return true;
    }
    case XCB_MAPPING_NOTIFY: {
        const auto* mapping = static_cast<const xcb_mapping_notify_event_t*>(message);
        if (mapping->request == XCB_MAPPING_POINTER || m_bindings.empty())
            return false;
        // Keycodes and modifier bits move with the layout: grab the same bindings afresh.
        const auto results = grab(m_bindings);
        const auto count = std::count(results.begin(), results.end(), std::nullopt);
        m_log.log("hot keys registered again after a keyboard change count=" + std::to_string(count));
        return false;
    }
    default:
        return false;
    }
}

void X11HotKeyRegistrar::pressed(std::uint8_t keycode, std::uint16_t state, std::uint32_t time) {
    // Holding the keys repeats the press: with detectable auto-repeat as presses alone, otherwise
    // as a release and a press at the same moment. Only the first press counts.
    const bool repeat = m_heldKeycode == keycode ||
                        (m_lastRelease && m_lastRelease->first == keycode && m_lastRelease->second == time);
    m_heldKeycode = keycode;
    if (repeat)
        return;
    const auto modifiers = static_cast<std::uint16_t>(state & keyboardModifiers & ~m_ignoredModifiers);
    const auto found = std::find_if(m_grabs.begin(), m_grabs.end(), [&](const Grab& grabbed) {
        return grabbed.keycode == keycode && grabbed.modifiers == modifiers;
    });
    if (found != m_grabs.end() && m_pressed)
        m_pressed(found->action);
}

} // namespace sorvala
