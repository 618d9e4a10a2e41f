// SPDX-License-Identifier: MIT
#pragma once

#include "app/KeyboardShortcut.h"
#include "app/ShortcutAction.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// The desktop's service for system-wide key combinations.
class HotKeyRegistrar {
public:
    struct Binding {
        ShortcutAction action;
        KeyboardShortcut shortcut;
    };

    virtual ~HotKeyRegistrar() = default;

    /// Whether this desktop lets the application register anything at all.
    virtual bool available() const = 0;
    /// Releases every earlier registration, then registers `bindings` in order. Answers one entry
    /// per binding: nullopt when it registered, else the service's status (a combination taken by
    /// another program, or by an earlier binding of the list, fails).
    virtual std::vector<std::optional<std::string>> replaceBindings(const std::vector<Binding>& bindings) = 0;
    /// Calls `pressed` on the main thread each time a registered combination is pressed.
    virtual void setPressedHandler(std::function<void(ShortcutAction)> pressed) = 0;
};

} // namespace sorvala
