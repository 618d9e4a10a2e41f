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
    int event = 0;
    int error = 0;
    if (!XQueryExtension(m_x.display(), "XInputExtension", &m_opcode, &event, &error))
        return;
    // Raw events arrive whatever window has the focus; while another client holds a grab (a
    // virtual machine, a remote desktop, a password prompt) only from XInput 2.1 on. The server
    // answers with the highest version both sides know; 2.0 still gives the ungrabbed presses.
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(m_x.display(), &major, &minor) != Success && major < 2)
        return;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
    XISetMask(bits, XI_RawKeyPress);
    if (XISelectEvents(m_x.display(), m_x.root(), &mask, 1) != Success)
        return;
    XSync(m_x.display(), False);
    m_listening = m_x.errorCount() == 0;
    if (m_listening && QCoreApplication::instance()) {
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
