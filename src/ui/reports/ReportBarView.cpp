// SPDX-License-Identifier: MIT
#include "ui/reports/ReportBarView.h"

#include "ui/access/AccessibleRole.h"
#include "ui/style/QtDesignTokens.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace sorvala {

ReportBarView::ReportBarView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    AccessibleRole::set(*this, QAccessible::Graphic); // named by its tool tip
}

void ReportBarView::setParts(double first, QColor firstColor, double second, QColor secondColor) {
    m_first = std::clamp(first, 0.0, 1.0);
    m_second = std::clamp(second, 0.0, 1.0 - m_first);
    m_firstColor = firstColor;
    m_secondColor = secondColor;
    update();
}

void ReportBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0, 2, 0, -2);
    const double radius = track.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QtDesignTokens::colour(DesignTokens::emptyBar, *this));
    painter.drawRoundedRect(track, radius, radius);

    // Both parts are clipped to one rounded bar, so the seam between them stays square.
    QPainterPath bar;
    bar.addRoundedRect(QRectF(track.left(), track.top(), track.width() * (m_first + m_second), track.height()), radius,
                       radius);
    painter.setClipPath(bar);
    painter.fillRect(QRectF(track.left(), track.top(), track.width() * m_first, track.height()), m_firstColor);
    painter.fillRect(QRectF(track.left() + track.width() * m_first, track.top(), track.width() * m_second,
                            track.height()),
                     m_secondColor);
}

} // namespace sorvala
