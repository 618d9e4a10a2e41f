// SPDX-License-Identifier: MIT
#pragma once

#include "drawing/ProgressiveRenderer.h"
#include "drawing/Settings.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>

#include <span>

namespace sorvala {

/// The Qt colour of an appearance colour.
QColor toQColor(const Rgba& colour);

/// One path holding a polyline per styled copy of the points.
QPainterPath styledPath(std::span<const Point> points, int phaseBase, Settings::Style style);

/// The paper's grain for a surface of this many pixels: scattered 2 × 2 specks, the same on every
/// run for one pixel size, as an alpha mask to be drawn in black over the paper colour. A null
/// image when either side is below one pixel.
QImage paperGrain(QSize pixelSize);

/// Paints the paper of `theme` (already resolved) over `rect`, in points, with its grain when
/// `grain` is not null.
void paintPaper(QPainter& painter, const QRectF& rect, Settings::Theme theme, const QImage& grain);

/// Lays one stamp down for good in `ink` (an image at its device-pixel ratio): the style's passes
/// in one layer with a soft drop shadow beneath. Answers the rectangle touched, in points; empty
/// for a stamp of fewer than two points or one outside the image.
QRect rasterizeStamp(QImage& ink, const PendingStamp& stamp, Settings::Style style, Settings::Theme theme);

/// The glowing pen tip, centred in the image, at a device-pixel ratio; drawn at 0.95 opacity.
QImage penGlowSprite(const QColor& fill, const QColor& shadow, qreal devicePixelRatio);

/// Half the side of the pen glow sprite, in points.
inline constexpr int penGlowReach = 14;

} // namespace sorvala
