// SPDX-License-Identifier: MIT
#include "ui/notices/ScreenDim.h"

#include "ui/wayland/WaylandDim.h"
#include "ui/wayland/WaylandWindows.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace sorvala {

class ScreenDim::Veil final : public QWidget {
public:
    explicit Veil(QScreen* screen)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                               Qt::X11BypassWindowManagerHint) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowTitle(QStringLiteral("Sorvala"));
        setGeometry(screen->geometry());
        setWindowOpacity(0);
    }

    void setAlpha(double alpha) { setWindowOpacity(std::clamp(alpha, 0.0, 1.0)); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
    }
};

ScreenDim::ScreenDim() {
    // A Wayland window's opacity is ignored: a window there would be a black screen.
    if (WaylandWindows::active()) {
        m_layers = std::make_unique<WaylandDim>();
        m_live = m_layers->isShowing();
        return;
    }
    m_live = compositorRunning();
    // Without a compositor a window cannot be translucent, and a still picture of the screen under
    // the veil would hide the windows that keys and clicks still reach: the screens stay undimmed
    // and the countdown speaks alone.
    if (!m_live)
        return;
    for (QScreen* screen : QGuiApplication::screens()) {
        auto veil = std::make_unique<Veil>(screen);
        veil->show();
        m_veils.push_back(std::move(veil));
    }
}

ScreenDim::~ScreenDim() = default;

void ScreenDim::setAlpha(double alpha) {
    m_alpha = alpha;
    if (m_layers)
        m_layers->setAlpha(alpha);
    for (auto& veil : m_veils)
        veil->setAlpha(alpha);
}

std::vector<QWidget*> ScreenDim::windows() const {
    std::vector<QWidget*> result;
    for (const auto& veil : m_veils)
        result.push_back(veil.get());
    return result;
}

bool ScreenDim::compositorRunning() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QGuiApplication::platformName() != QLatin1String("offscreen");
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return false;
    xcb_connection_t* connection = x11->connection();
    int screenNumber = 0;
    if (const char* display = std::getenv("DISPLAY")) {
        const std::string text(display);
        if (const auto dot = text.rfind('.'); dot != std::string::npos && dot > text.rfind(':'))
            screenNumber = std::atoi(text.c_str() + dot + 1);
    }
    const std::string name = "_NET_WM_CM_S" + std::to_string(screenNumber);
    auto atomCookie = xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.c_str());
    auto* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    free(atom);
    if (selection == XCB_ATOM_NONE)
        return false;
    auto* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool running = owner && owner->owner != XCB_NONE;
    free(owner);
    return running;
}

} // namespace sorvala
