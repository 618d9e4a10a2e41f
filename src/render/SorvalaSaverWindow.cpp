// SPDX-License-Identifier: MIT
#include "render/SorvalaSaverWindow.h"

#include <QPaintEvent>
#include <QPainter>

namespace sorvala {

SorvalaSaverWindow::SorvalaSaverWindow(PreferencesStore& store, QWindow* parent)
    : QRasterWindow(parent), m_view(store, 0) {
    m_clock.start(); // media time 0 is the view's creation
}

double SorvalaSaverWindow::mediaNow() const {
    return static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
}

void SorvalaSaverWindow::followGeometry() {
    m_view.setGeometry(QSizeF(size()), devicePixelRatio());
    m_view.setSystemDark(desktopPrefersDark());
}

void SorvalaSaverWindow::startAnimation() {
    followGeometry();
    m_view.startAnimation();
    m_animating = true;
    requestUpdate();
}

void SorvalaSaverWindow::stopAnimation() {
    m_animating = false;
}

bool SorvalaSaverWindow::event(QEvent* event) {
    if (event->type() == QEvent::UpdateRequest && m_animating) {
        const QRegion changed = m_view.animateOneFrame(mediaNow());
        if (!changed.isEmpty())
            update(changed);
        requestUpdate();
    }
    return QRasterWindow::event(event);
}

void SorvalaSaverWindow::exposeEvent(QExposeEvent* event) {
    // The ratio can change when the window moves to another screen; an expose follows.
    followGeometry();
    QRasterWindow::exposeEvent(event);
}

void SorvalaSaverWindow::resizeEvent(QResizeEvent* event) {
    followGeometry();
    QRasterWindow::resizeEvent(event);
}

void SorvalaSaverWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    m_view.paint(painter, event->region());
}

} // namespace sorvala
