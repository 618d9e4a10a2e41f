// SPDX-License-Identifier: MIT
#pragma once

#include "platform/x11/X11Connection.h"

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace sorvala {

/// Tells where the pointer went each time it moves anywhere on the X server, from XInput 2 raw
/// motion events on a private connection: nothing runs while the pointer rests.
class X11PointerMotion {
public:
    /// Listens on $DISPLAY (or `displayName`); `moved` receives the pointer's horizontal position
    /// on the screen once per batch of motion events.
    explicit X11PointerMotion(std::function<void(int x)> moved, const std::string& displayName = {});
    ~X11PointerMotion();
    X11PointerMotion(const X11PointerMotion&) = delete;
    X11PointerMotion& operator=(const X11PointerMotion&) = delete;

    /// Whether motion can be observed (X server reached, XInput 2 present, an event loop running).
    bool isListening() const { return m_notifier != nullptr; }

private:
    void drain();

    X11Connection m_x;
    std::function<void(int)> m_moved;
    int m_opcode = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace sorvala
