// SPDX-License-Identifier: MIT
#include "platform/x11/X11PointerMotion.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace sorvala {

X11PointerMotion::X11PointerMotion(std::function<void(int x)> moved, const std::string& displayName)
    : m_x(displayName), m_moved(std::move(moved)) {
    if (!m_x.isOpen() || !QCoreApplication::instance())
        return;
    const auto opcode = m_x.selectRawEvents(XI_RawMotion);
    if (!opcode)
        return;
    m_opcode = *opcode;
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(m_x.display()), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { drain(); });
}

X11PointerMotion::~X11PointerMotion() = default;

void X11PointerMotion::drain() {
    Display* display = m_x.display();
    bool anyMotion = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        const XGenericEventCookie& cookie = event.xcookie;
        anyMotion = anyMotion || (cookie.type == GenericEvent && cookie.extension == m_opcode && cookie.evtype == XI_RawMotion);
    }
    if (!anyMotion || !m_moved)
        return;
    // A raw event carries the device's motion, not the pointer's place: ask once per batch.
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    if (XQueryPointer(display, m_x.root(), &root, &child, &rootX, &rootY, &windowX, &windowY, &buttons)) {
        const auto moved = m_moved; // the call may end this watch
        moved(rootX);
    }
}

} // namespace sorvala
