// SPDX-License-Identifier: MIT
#pragma once

#include "platform/x11/X11Connection.h"

#include <chrono>
#include <memory>
#include <optional>

class QSocketNotifier;

namespace sorvala {

/// Notices key presses anywhere on the X server through XInput 2 raw key events, on a private
/// connection. Keeps only the time of the last press, never which key.
class X11KeyPressTracker {
public:
    /// Opens its own connection to $DISPLAY (or `displayName`) and listens for raw key presses.
    explicit X11KeyPressTracker(const std::string& displayName = {});
    ~X11KeyPressTracker();
    X11KeyPressTracker(const X11KeyPressTracker&) = delete;
    X11KeyPressTracker& operator=(const X11KeyPressTracker&) = delete;

    /// Whether raw key presses can be observed (X server reached, XInput 2 present).
    bool isListening() const { return m_listening; }

    /// Seconds since the last key press, or since the tracker started before the first one;
    /// nullopt when not listening.
    std::optional<double> secondsSinceLastKeyPress();

private:
    void drain();

    X11Connection m_x;
    bool m_listening = false;
    int m_opcode = 0;
    std::chrono::steady_clock::time_point m_lastPress;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace sorvala
