// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/HotKeyRegistrar.h"

#include <memory>
#include <string_view>

namespace sorvala {

class Logger;

/// The way this session registers global shortcuts: X key grabs on an X11 session, the desktop
/// portal on a Wayland session that has one, else nothing (the user binds
/// `sorvala --action NAME` in the desktop's own settings).
/// `sessionType` is $XDG_SESSION_TYPE. Says once in the log when nothing can be registered.
std::unique_ptr<HotKeyRegistrar> createHotKeyRegistrar(std::string_view sessionType, Logger& log);

/// Whether an X server answers on $DISPLAY, asked without Qt (whose xcb platform gives up the
/// whole process when it cannot connect).
bool x11ServerReachable();

/// A registrar for sessions that offer no hot-key service: registers nothing.
class UnavailableHotKeyRegistrar final : public HotKeyRegistrar {
public:
    bool available() const override { return false; }
    std::vector<std::optional<std::string>> replaceBindings(const std::vector<Binding>& bindings) override {
        return std::vector<std::optional<std::string>>(bindings.size(), std::string("unavailable"));
    }
    void setPressedHandler(std::function<void(ShortcutAction)>) override {}
};

} // namespace sorvala
