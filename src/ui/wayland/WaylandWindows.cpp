// SPDX-License-Identifier: MIT
#include "ui/wayland/WaylandWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace sorvala::WaylandWindows {

bool active() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void showFullScreenOn(QWidget& window, QScreen* screen) {
    window.winId();
    if (screen && window.windowHandle())
        window.windowHandle()->setScreen(screen);
    window.showFullScreen();
}

} // namespace sorvala::WaylandWindows
