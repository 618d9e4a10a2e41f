// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/BreakPalette.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QSize>

class QLabel;
class QPainter;
class QPushButton;
class QWidget;

namespace sorvala::QtBreakChrome {

/// The Qt colour of a palette colour.
QColor colour(BreakPalette::Colour colour);
/// The system font at `points`, in `weight`.
QFont systemFont(qreal points, QFont::Weight weight = QFont::Normal);
/// The fixed-width font at `points`.
QFont monospaced(qreal points);
/// A centred, non-editable label in `font` and `colour`, with `kern` points between letters.
QLabel* label(const QString& text, const QFont& font, const QColor& colour, qreal kern, QWidget* parent);
/// A borderless pill button: filled and bordered in the palette's skip colours, 30 points tall
/// and 36 points wider than its title.
QPushButton* pillButton(const QString& title, const BreakPalette& palette, QWidget* parent);
/// The background colour with a radial wash over it, centred at `start` and reaching `end` (both
/// as fractions of the size, from the top left; the radii are the distances between them), fading
/// out at `fadeStop`.
struct Wash {
    QColor background;
    QColor wash;
    QPointF start;
    QPointF end;
    qreal fadeStop = 1;
};
/// Paints `rect` of the backdrop of a content of `size` points: painted where it is exposed
/// rather than kept as a picture the size of the screen.
void paintBackdrop(QPainter& painter, QSize size, const QRect& rect, const Wash& wash);
/// Lets `view` rise a little into place while it fades in, over 0.8 s.
void playEntranceRise(QWidget* view);
/// Whether the desktop asks for less motion (GNOME's animations switch, KDE's animation speed).
bool reduceMotion();

} // namespace sorvala::QtBreakChrome
