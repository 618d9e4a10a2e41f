// SPDX-License-Identifier: MIT
#include "ui/wayland/WaylandBreakHold.h"

#include "core/Logger.h"
#include "ui/wayland/WaylandKeyboardHold.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace sorvala {

namespace {

// Focus moves between our own windows pass through "no window focused" for a moment; only a
// focus that stays away this long went to another client.
constexpr int focusSettleMilliseconds = 200;

// The held keys reach the break window as if the compositor had sent them to it: to its focus
// widget, which passes what it does not take to its parents, so Tab, Return and Escape work as
// they do with the focus.
void deliver(QWidget& window, const WaylandKeyboardHold::Key& key) {
    // Qt counts the window inactive while our layer surface has the keyboard; within the
    // application it stays the active one, so the focus is drawn and moves with Tab.
    if (QApplication::activeWindow() != &window)
        QApplication::setActiveWindow(&window);
    QKeyEvent event(key.pressed ? QEvent::KeyPress : QEvent::KeyRelease,
                    WaylandKeyboardHold::qtKey(key.keysym), key.modifiers, key.text);
    QWidget* receiver = window.focusWidget() ? window.focusWidget() : &window;
    QCoreApplication::sendEvent(receiver, &event);
}

} // namespace

WaylandBreakHold::WaylandBreakHold(Logger& log) : m_log(log) {}

WaylandBreakHold::~WaylandBreakHold() = default;

void WaylandBreakHold::breakStarted() {
    m_logged.clear();
    logOnce("break screen on wayland: full screen on each output; the compositor may stack other "
            "windows above it");
    holdKeys();
}

void WaylandBreakHold::holdKeys() {
    if (m_keys)
        return;
    m_keys = std::make_unique<WaylandKeyboardHold>();
    if (!m_keys->hold()) {
        m_keys.reset();
        logOnce("break screen keys not held: the compositor offers no wlr-layer-shell; keys reach the "
                "break only while it has the focus");
        return;
    }
    m_keys->onKey = [this](const WaylandKeyboardHold::Key& key) {
        if (m_focusTarget && m_held.count(m_focusTarget.data()))
            deliver(*m_focusTarget, key);
    };
    logOnce("break screen keys held: a layer surface takes the keyboard from other windows");
}

void WaylandBreakHold::breakEnded() {
    m_keys.reset();
}

void WaylandBreakHold::hold(QWidget& window) {
    if (m_held.insert(&window).second)
        window.installEventFilter(this);
}

void WaylandBreakHold::release(QWidget& window) {
    m_fullScreen.erase(&window);
    if (m_held.erase(&window))
        window.removeEventFilter(this);
}

bool WaylandBreakHold::eventFilter(QObject* watched, QEvent* event) {
    if (!m_held.count(watched))
        return false;
    auto* window = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Close:
        // The compositor asked the window to close; the break, not the compositor, ends it.
        event->ignore();
        logOnce("break screen close refused: the compositor asked a break window to close");
        return true;
    case QEvent::WindowStateChange:
        // The compositor's first answer comes before full screen is granted; only a full screen
        // once granted can be lost.
        if (window->isFullScreen()) {
            m_fullScreen.insert(window);
        } else if (m_fullScreen.count(window) && window->isVisible()) {
            logOnce("break screen full screen lost: asked again");
            QTimer::singleShot(0, window, [window] { window->showFullScreen(); });
        }
        return false;
    case QEvent::WindowDeactivate:
        // With the keys held our layer surface has the keyboard, and the window stays active
        // within the application; without, the focus went to another client.
        if (m_keys && window == m_focusTarget.data())
            QTimer::singleShot(0, window, [this, window] {
                if (m_keys && m_held.count(window))
                    QApplication::setActiveWindow(window);
            });
        else if (!m_keys)
            reclaimFocusSoon();
        return false;
    default: return false;
    }
}

void WaylandBreakHold::reclaimFocusSoon() {
    if (m_reclaimPending)
        return;
    m_reclaimPending = true;
    QTimer::singleShot(focusSettleMilliseconds, this, [this] {
        m_reclaimPending = false;
        if (QGuiApplication::focusWindow() || !m_focusTarget || !m_held.count(m_focusTarget.data()))
            return;
        logOnce("break screen focus lost to another window: asked back");
        m_focusTarget->raise();
        m_focusTarget->activateWindow();
        if (auto* handle = m_focusTarget->windowHandle())
            handle->requestActivate();
    });
}

void WaylandBreakHold::logOnce(const std::string& line) {
    if (m_logged.insert(line).second)
        m_log.log(line);
}

} // namespace sorvala
