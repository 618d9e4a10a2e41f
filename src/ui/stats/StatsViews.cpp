// SPDX-License-Identifier: MIT
#include "ui/stats/StatsViews.h"

#include "history/StatsPresentation.h"
#include "ui/access/AccessibleRole.h"
#include "ui/style/QtDesignTokens.h"

#include <QPainter>
#include <QPainterPath>

namespace sorvala {

namespace {

QColor scoreColor(std::optional<int> score, const QWidget& widget) {
    return score ? bandColor(*score) : QtDesignTokens::colour(DesignTokens::emptyBar, widget);
}

} // namespace

QColor bandColor(int score) {
    const auto band = static_cast<std::size_t>(StatsPresentation::scoreBand(score));
    return QtDesignTokens::colour(DesignTokens::scoreBands[band]);
}

ScoreRingView::ScoreRingView(QWidget* parent) : QWidget(parent) {
    AccessibleRole::set(*this, QAccessible::ProgressBar);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ScoreRingView::setScore(std::optional<int> score, double colorStop) {
    m_score = score;
    m_colorStop = colorStop;
    update();
}

void ScoreRingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double thickness = 8;
    const QRectF ring = QRectF(rect()).adjusted(thickness / 2, thickness / 2, -thickness / 2, -thickness / 2);
    painter.setPen(QPen(QtDesignTokens::colour(DesignTokens::ringTrack, *this), thickness));
    painter.drawEllipse(ring);
    if (m_score && m_colorStop > 0) {
        painter.setPen(QPen(bandColor(*m_score), thickness, Qt::SolidLine, Qt::RoundCap));
        // Clockwise from twelve o'clock; Qt counts sixteenths of a degree, anticlockwise.
        painter.drawArc(ring, 90 * 16, -int(m_colorStop * 360 * 16));
    }
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 1.9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(palette().color(m_score ? QPalette::WindowText : QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter, m_score ? QString::number(*m_score) : QStringLiteral("–"));
}

ScoreBarView::ScoreBarView(QWidget* parent) : QWidget(parent) {
    AccessibleRole::set(*this, QAccessible::Graphic);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ScoreBarView::setBar(std::optional<int> score, double barHeight, const QString& initial) {
    m_score = score;
    m_barHeight = barHeight;
    m_initial = initial;
    update();
}

void ScoreBarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int labelHeight = fontMetrics().height();
    const double bottom = height() - labelHeight - 4;
    const double barWidth = 14;
    const QRectF bar((width() - barWidth) / 2, bottom - m_barHeight, barWidth, m_barHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(scoreColor(m_score, *this));
    painter.drawRoundedRect(bar, 3, 3);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(QRect(0, height() - labelHeight, width(), labelHeight), Qt::AlignCenter, m_initial);
}

HeatDayView::HeatDayView(QWidget* parent) : QWidget(parent) {
    AccessibleRole::set(*this, QAccessible::Graphic);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void HeatDayView::setDay(int dayOfMonth, std::optional<int> score, bool today) {
    m_day = dayOfMonth;
    m_score = score;
    m_today = today;
    update();
}

void HeatDayView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF cell = QRectF(rect()).adjusted(3, 2.5, -3, -2.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(scoreColor(m_score, *this));
    painter.drawRoundedRect(cell, 4, 4);
    if (m_today) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QtDesignTokens::colour(DesignTokens::todayRing, *this), 1.5));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
    }
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 0.8);
    painter.setFont(font);
    // The band colours are mid-tones: dark digits read on every one of them in both appearances.
    painter.setPen(m_score ? QColor(20, 20, 24) : palette().color(QPalette::WindowText));
    painter.drawText(cell, Qt::AlignCenter, QString::number(m_day));
}

TileView::TileView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    AccessibleRole::set(*this, QAccessible::StaticText);
}

void TileView::setTile(const QString& title, const QString& figure) {
    m_title = title;
    m_figure = figure;
    AccessibleRole::rename(*this, title);
    setAccessibleDescription(figure);
    updateGeometry();
    update();
}

QSize TileView::sizeHint() const {
    return {120, fontMetrics().height() * 2 + 22};
}

void TileView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QtDesignTokens::colour(DesignTokens::tileFill, *this));
    painter.drawRoundedRect(QRectF(rect()), 8, 8);
    const QRect inner = rect().adjusted(10, 7, -10, -7);
    const int line = fontMetrics().height();
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(QRect(inner.left(), inner.top(), inner.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     m_title);
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(inner.left(), inner.top() + line, inner.width(), inner.height() - line),
                     Qt::AlignLeft | Qt::AlignVCenter, m_figure);
}

SwatchView::SwatchView(QColor color, QWidget* parent) : QWidget(parent), m_color(color) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SwatchView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawRoundedRect(QRectF(rect()), 3, 3);
}

} // namespace sorvala
