// SPDX-License-Identifier: MIT
#include "platform/x11/X11KeyPressTracker.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace sorvala {

X11KeyPressTracker::X11KeyPressTracker(const std::string& displayName)
    : m_x(displayName), m_lastPress(std::chrono::steady_clock::now()) {
    if (!m_x.isOpen())
        return;
    // Raw events arrive whatever window has the focus; while another client holds a grab (a
    // virtual machine, a remote desktop, a password prompt) only from XInput 2.1 on, which the
    // connection asks for; 2.0 still gives the ungrabbed presses.
    const auto opcode = m_x.selectRawEvents(XI_RawKeyPress);
    if (!opcode)
        return;
    m_opcode = *opcode;
    m_listening = true;
    if (QCoreApplication::instance()) {
        m_notifier =
            std::make_unique<QSocketNotifier>(ConnectionNumber(m_x.display()), QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this] { drain(); });
    }
}

X11KeyPressTracker::~X11KeyPressTracker() = default;

std::optional<double> X11KeyPressTracker::secondsSinceLastKeyPress() {
    if (!m_listening)
        return std::nullopt;
    // Without a running event loop the queue is only read here.
    drain();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_lastPress).count();
}

void X11KeyPressTracker::drain() {
    Display* display = m_x.display();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_opcode)
            continue;
        if (cookie->evtype == XI_RawKeyPress)
            m_lastPress = std::chrono::steady_clock::now();
    }
}

} // namespace sorvala
