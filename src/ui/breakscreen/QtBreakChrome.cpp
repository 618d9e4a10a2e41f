// SPDX-License-Identifier: MIT
#include "ui/breakscreen/QtBreakChrome.h"

#include "ui/style/DesktopAnimations.h"

#include <QFontDatabase>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadialGradient>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>

namespace sorvala::QtBreakChrome {

QColor colour(BreakPalette::Colour c) {
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue), float(c.alpha));
}

QFont systemFont(qreal points, QFont::Weight weight) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

QFont monospaced(qreal points) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(points);
    return font;
}

QLabel* label(const QString& text, const QFont& font, const QColor& colour, qreal kern, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont spaced = font;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, kern);
    label->setFont(spaced);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QPushButton* pillButton(const QString& title, const BreakPalette& palette, QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    const QFont font = systemFont(12, QFont::Medium);
    button->setFont(font);
    // Reached with Tab (a click leaves no ring behind); Return and Space press it.
    button->setFocusPolicy(Qt::TabFocus);
    button->setAutoDefault(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFixedSize(QFontMetrics(font).horizontalAdvance(title) + 36, 30);
    button->setStyleSheet(QStringLiteral("QPushButton { background: %1; border: 1px solid %2; border-radius: 8px;"
                                         " color: %3; } QPushButton:pressed { background: %2; }"
                                         " QPushButton:focus { border: 2px solid %4; }")
                              .arg(colour(palette.skipFill).name(QColor::HexArgb),
                                   colour(palette.skipBorder).name(QColor::HexArgb),
                                   colour(palette.text).name(QColor::HexArgb),
                                   colour(palette.accent).name(QColor::HexArgb)));
    return button;
}

void paintBackdrop(QPainter& painter, QSize size, const QRect& rect, const Wash& wash) {
    painter.fillRect(rect, wash.background);
    const QPointF start = wash.start;
    const qreal radiusX = std::max<qreal>(1, std::abs(wash.end.x() - start.x()) * size.width());
    const qreal radiusY = std::max<qreal>(1, std::abs(wash.end.y() - start.y()) * size.height());
    // Beyond the fade the wash is clear and leaves the background as it is: only the part of
    // `rect` inside the fade's ellipse is washed.
    const QPointF centre(start.x() * size.width(), start.y() * size.height());
    const QRect reach = QRectF(centre - QPointF(radiusX, radiusY) * wash.fadeStop,
                               QSizeF(2 * radiusX, 2 * radiusY) * wash.fadeStop)
                            .toAlignedRect()
                            .adjusted(-1, -1, 1, 1);
    const QRect washed = rect & reach;
    if (washed.isEmpty())
        return;
    QRadialGradient gradient(QPointF(0, 0), 1);
    QColor clear = wash.wash;
    clear.setAlphaF(0);
    gradient.setColorAt(0, wash.wash);
    gradient.setColorAt(wash.fadeStop, clear);
    gradient.setColorAt(1, clear);
    painter.save();
    painter.setClipRect(washed, Qt::IntersectClip);
    painter.translate(centre);
    painter.scale(radiusX, radiusY);
    painter.fillRect(QRectF(-centre.x() / radiusX, -centre.y() / radiusY, size.width() / radiusX,
                            size.height() / radiusY),
                     gradient);
    painter.restore();
}

void playEntranceRise(QWidget* view) {
    auto* effect = new QGraphicsOpacityEffect(view);
    effect->setOpacity(0);
    view->setGraphicsEffect(effect);
    auto* group = new QParallelAnimationGroup(view);
    auto* fade = new QPropertyAnimation(effect, "opacity", group);
    fade->setDuration(800);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    auto* rise = new QPropertyAnimation(view, "pos", group);
    rise->setDuration(800);
    rise->setStartValue(view->pos() + QPoint(0, 14));
    rise->setEndValue(view->pos());
    rise->setEasingCurve(QEasingCurve::OutCubic);
    // The effect paints through an offscreen copy; it goes once the content has risen.
    QObject::connect(group, &QAbstractAnimation::finished, view, [view] { view->setGraphicsEffect(nullptr); });
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

bool reduceMotion() {
    // GNOME's switch is followed as it changes; asking for it here would load GIO for good.
    if (DesktopAnimations::off())
        return true;
    const QString kdeglobals = QStandardPaths::locate(QStandardPaths::GenericConfigLocation, "kdeglobals");
    if (!kdeglobals.isEmpty()) {
        const QSettings kde(kdeglobals, QSettings::IniFormat);
        bool ok = false;
        const double factor = kde.value("KDE/AnimationDurationFactor").toDouble(&ok);
        if (ok && factor <= 0)
            return true;
    }
    return false;
}

} // namespace sorvala::QtBreakChrome
