// SPDX-License-Identifier: MIT
#include "ui/notices/NoticeGlyph.h"

#include "notices/PostureFigure.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace sorvala {

namespace {

/// About 30 frames a second: smooth enough for a 28-pixel figure, cheap for six seconds.
constexpr int frameMilliseconds = 33;

QPointF designPoint(PostureFigure::Point p, double scale, double height) {
    // The figure's design space grows upwards; the widget's grows downwards.
    return {p.x * scale, height - p.y * scale};
}

} // namespace

NoticeGlyph::NoticeGlyph(Notice::Glyph glyph, int height, QWidget* parent)
    : QWidget(parent), m_glyph(std::move(glyph)), m_height(height) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(sizeHint());
    m_frames.setInterval(frameMilliseconds);
    connect(&m_frames, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

QSize NoticeGlyph::sizeHint() const {
    if (m_glyph.type == Notice::Glyph::Type::posture)
        return {static_cast<int>(
                    std::lround(PostureFigure::designWidth * m_height / PostureFigure::designHeight)),
                m_height};
    return {m_height, m_height};
}

bool NoticeGlyph::isAnimated() const {
    return m_glyph.type != Notice::Glyph::Type::symbol;
}

void NoticeGlyph::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_clock.start();
    if (isAnimated())
        m_frames.start();
}

void NoticeGlyph::hideEvent(QHideEvent* event) {
    m_frames.stop();
    QWidget::hideEvent(event);
}

void NoticeGlyph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    switch (m_glyph.type) {
    case Notice::Glyph::Type::symbol: paintSymbol(painter, ink); break;
    case Notice::Glyph::Type::posture:
        paintPosture(painter, ink, palette().color(QPalette::PlaceholderText));
        break;
    case Notice::Glyph::Type::blinkingEye: paintEye(painter, ink); break;
    }
}

void NoticeGlyph::paintSymbol(QPainter& painter, const QColor& ink) const {
    // A 15-pixel symbol centred in the glyph's square, as the capsule's text is 15 pixels high.
    const double size = 15.0 * m_height / 28.0;
    const QRectF box((width() - size) / 2, (height() - size) / 2, size, size);
    painter.setPen(QPen(ink, size / 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    if (m_glyph.symbolName == "hourglass") {
        const double inset = size * 0.18;
        QPainterPath glass;
        glass.moveTo(box.left() + inset, box.top());
        glass.lineTo(box.right() - inset, box.top());
        glass.lineTo(box.center().x(), box.center().y());
        glass.lineTo(box.right() - inset, box.bottom());
        glass.lineTo(box.left() + inset, box.bottom());
        glass.lineTo(box.center().x(), box.center().y());
        glass.closeSubpath();
        painter.drawPath(glass);
        return;
    }
    // A stopwatch: the dial, the crown and one hand.
    const QRectF dial = box.adjusted(size * 0.06, size * 0.16, -size * 0.06, 0);
    painter.drawEllipse(dial);
    painter.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), dial.top()));
    painter.drawLine(dial.center(), QPointF(dial.center().x(), dial.top() + dial.height() * 0.28));
}

void NoticeGlyph::paintPosture(QPainter& painter, const QColor& ink, const QColor& stoolInk) const {
    using namespace PostureFigure;
    const double scale = height() / designHeight;
    const double h = height();
    const auto pt = [&](Point p) { return designPoint(p, scale, h); };
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(stoolInk, stoolStrokeWidth * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(pt(stoolSeat[0]), pt(stoolSeat[1]));
    painter.drawLine(pt(stoolPost[0]), pt(stoolPost[1]));

    const auto pose = at(m_clock.isValid() ? static_cast<double>(m_clock.elapsed()) / 1000.0 : 0);
    painter.setPen(QPen(ink, strokeWidth * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath legs(pt(pose.legs[0]));
    for (std::size_t i = 1; i < pose.legs.size(); ++i)
        legs.lineTo(pt(pose.legs[i]));
    painter.drawPath(legs);
    QPainterPath spine(pt(pose.spine[0]));
    spine.quadTo(pt(pose.spine[1]), pt(pose.spine[2]));
    painter.drawPath(spine);
    painter.drawLine(pt(pose.arm[0]), pt(pose.arm[1]));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(pt(pose.head), headRadius * scale, headRadius * scale);
}

void NoticeGlyph::paintEye(QPainter& painter, const QColor& ink) const {
    const double open =
        PostureFigure::blinkScale(m_clock.isValid() ? static_cast<double>(m_clock.elapsed()) / 1000.0 : 0);
    const double w = 17.36 * m_height / 28.0 * 1.15;
    const double h = w * 0.62 * open;
    const QPointF c(width() / 2.0, height() / 2.0);
    painter.setPen(QPen(ink, w / 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QPainterPath lids;
    lids.moveTo(c.x() - w / 2, c.y());
    lids.quadTo(c.x(), c.y() - h, c.x() + w / 2, c.y());
    lids.quadTo(c.x(), c.y() + h, c.x() - w / 2, c.y());
    painter.drawPath(lids);
    if (open > 0.3) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        const double r = w * 0.16;
        painter.drawEllipse(c, r, r * open);
    }
}

} // namespace sorvala
