// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/HotKeyRegistrar.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace sorvala {

class Logger;

/// Global shortcuts as passive key grabs on the X root window, one per combination of Caps Lock
/// and Num Lock, read back through a native event filter on Qt's xcb connection.
class X11HotKeyRegistrar final : public HotKeyRegistrar, public QAbstractNativeEventFilter {
public:
    /// The registrar for the running QGuiApplication's X connection; nullptr when it has none.
    static std::unique_ptr<X11HotKeyRegistrar> create(Logger& log);

    X11HotKeyRegistrar(xcb_connection_t* connection, std::uint32_t rootWindow, Logger& log);
    ~X11HotKeyRegistrar() override;
    X11HotKeyRegistrar(const X11HotKeyRegistrar&) = delete;
    X11HotKeyRegistrar& operator=(const X11HotKeyRegistrar&) = delete;

    bool available() const override { return true; }
    std::vector<std::optional<std::string>> replaceBindings(const std::vector<Binding>& bindings) override;
    void setPressedHandler(std::function<void(ShortcutAction)> pressed) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        ShortcutAction action;
        std::uint8_t keycode;
        std::uint16_t modifiers;
    };
    struct Keyboard;

    std::vector<std::optional<std::string>> grab(const std::vector<Binding>& bindings);
    void ungrabAll();
    void pressed(std::uint8_t keycode, std::uint16_t state, std::uint32_t time);

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
    Logger& m_log;
    std::vector<Binding> m_bindings;
    std::vector<Grab> m_grabs;
    std::uint16_t m_ignoredModifiers = 0; // Caps Lock and Num Lock
    std::function<void(ShortcutAction)> m_pressed;
    std::optional<std::uint8_t> m_heldKeycode;
    std::optional<std::pair<std::uint8_t, std::uint32_t>> m_lastRelease;
};

} // namespace sorvala
