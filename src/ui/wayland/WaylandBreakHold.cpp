// SPDX-License-Identifier: MIT
#include "ui/wayland/WaylandBreakHold.h"

#include "core/Logger.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace sorvala {

namespace {

// Focus moves between our own windows pass through "no window focused" for a moment; only a
// focus that stays away this long went to another client.
constexpr int focusSettleMilliseconds = 200;

} // namespace

WaylandBreakHold::WaylandBreakHold(Logger& log) : m_log(log) {}

void WaylandBreakHold::breakStarted() {
    m_logged.clear();
    logOnce("break screen on wayland: full screen on each output; the compositor may stack other "
            "windows above it, and keys reach it only while it has the focus");
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
        reclaimFocusSoon();
        return false;
    default:
        return false;
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
