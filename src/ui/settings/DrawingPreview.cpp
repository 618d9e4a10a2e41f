// SPDX-License-Identifier: MIT
#include "ui/settings/DrawingPreview.h"

#include "render/SorvalaSaverView.h"
#include "ui/style/QtDesignTokens.h"

#include <QPaintEvent>
#include <QPainter>

namespace sorvala {

DrawingPreview::DrawingPreview(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 125);
    m_clock.start();
    m_frames.setInterval(33);
    connect(&m_frames, &QTimer::timeout, this, &DrawingPreview::frame);
}

DrawingPreview::~DrawingPreview() = default;

double DrawingPreview::mediaNow() const {
    return static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
}

void DrawingPreview::setAppearance(const Settings& appearance) {
    if (m_view && appearance == m_appearance)
        return;
    m_appearance = appearance;
    restart();
}

void DrawingPreview::restart() {
    // The preview runs at the fastest pace, so a whole drawing shows within a minute or so; the
    // chosen pace is what the speed row's estimate tells.
    Settings fast = m_appearance;
    fast.speed = 10;
    m_view = std::make_unique<SorvalaSaverView>(fast, mediaNow());
    m_view->setGeometry(QSizeF(size()), devicePixelRatioF());
    m_view->setSystemDark(QtDesignTokens::appearanceOf(*this) == DesignTokens::Appearance::dark);
    m_view->startAnimation();
    update();
}

void DrawingPreview::frame() {
    if (!m_view)
        return;
    const QRegion changed = m_view->animateOneFrame(mediaNow());
    if (!changed.isEmpty())
        update(changed);
}

void DrawingPreview::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!m_view) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    m_view->paint(painter, event->region());
}

void DrawingPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A new size is a new drawing: the generator lays a drawing out for its canvas.
    if (m_view)
        restart();
}

void DrawingPreview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_view)
        restart();
    m_frames.start();
}

void DrawingPreview::hideEvent(QHideEvent* event) {
    m_frames.stop();
    QWidget::hideEvent(event);
}

} // namespace sorvala
