// SPDX-License-Identifier: MIT
#include "ui/menubar/TrayIconArt.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <vector>

namespace sorvala {

namespace {

// The icon stays in the tray all day: it is drawn with plain paths, so an idle program loads
// neither the SVG module nor the font and shaping libraries for it.

/// The application mark on a 64 × 64 grid: a ring around a wave ending in a dot.
void drawMark(QPainter& painter, int size, bool darkPanel) {
    const QColor ink = darkPanel ? QColor(0xf2, 0xf2, 0xf5) : QColor(0x2b, 0x2b, 0x30);
    painter.save();
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(QPen(ink, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(32, 32), 27, 27);
    QPainterPath wave(QPointF(16, 38));
    wave.cubicTo(20, 22, 30, 18, 34, 26);
    wave.cubicTo(38, 34, 40, 46, 48, 28);
    painter.drawPath(wave);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(48, 28), 3.6, 3.6);
    painter.restore();
}

// The characters of the countdown ("1" to "59", "1h" to "99h") as stroke centre lines in a box
// one unit high and `glyphWidth` wide, drawn with a pen `stroke` wide: a bold sans at icon sizes.
constexpr double stroke = 0.22;
constexpr double glyphWidth = 0.66;
constexpr double gap = 0.1;
constexpr double left = stroke / 2, right = glyphWidth - stroke / 2, top = stroke / 2, bottom = 1 - stroke / 2;
constexpr double middle = 0.5, centre = glyphWidth / 2;

/// The figure turned half a turn: a 9 is a 6 upside down.
QPainterPath halfTurn(const QPainterPath& path) {
    return QTransform(-1, 0, 0, -1, glyphWidth, 1).map(path);
}

QPainterPath six() {
    QPainterPath path(QPointF(right - 0.02, top));
    path.cubicTo(left + 0.04, top, left, middle - 0.1, left, bottom - 0.22);
    path.addEllipse(QRectF(left, middle - 0.08, right - left, bottom - middle + 0.08));
    return path;
}

QPainterPath glyph(QChar character) {
    QPainterPath path;
    switch (character.unicode()) {
    case '0': path.addRoundedRect(QRectF(left, top, right - left, bottom - top), 0.22, 0.3); break;
    case '1':
        path.moveTo(left + 0.02, top + 0.16);
        path.lineTo(centre + 0.04, top);
        path.lineTo(centre + 0.04, bottom);
        path.moveTo(left + 0.02, bottom);
        path.lineTo(right, bottom);
        break;
    case '2':
        path.moveTo(left, top + 0.16);
        path.cubicTo(left + 0.08, top - 0.03, right, top - 0.03, right, top + 0.22);
        path.cubicTo(right, top + 0.42, left, bottom - 0.24, left, bottom);
        path.lineTo(right + 0.02, bottom);
        break;
    case '3':
        path.moveTo(left, top + 0.08);
        path.cubicTo(left + 0.12, top - 0.02, right, top - 0.03, right, top + 0.18);
        path.cubicTo(right, middle - 0.06, right - 0.1, middle - 0.02, centre - 0.04, middle - 0.02);
        path.cubicTo(right + 0.02, middle - 0.02, right + 0.02, middle + 0.06, right + 0.02, middle + 0.16);
        path.cubicTo(right + 0.02, bottom + 0.03, left + 0.1, bottom + 0.02, left - 0.01, bottom - 0.08);
        break;
    case '4':
        path.moveTo(right - 0.06, bottom);
        path.lineTo(right - 0.06, top);
        path.lineTo(left, middle + 0.2);
        path.lineTo(right + 0.03, middle + 0.2);
        break;
    case '5':
        path.moveTo(right, top);
        path.lineTo(left + 0.03, top);
        path.lineTo(left, middle - 0.02);
        path.cubicTo(left + 0.12, middle - 0.1, right + 0.02, middle - 0.1, right + 0.02, middle + 0.17);
        path.cubicTo(right + 0.02, bottom + 0.03, left + 0.1, bottom + 0.02, left - 0.01, bottom - 0.08);
        break;
    case '6': path = six(); break;
    case '7':
        path.moveTo(left - 0.01, top);
        path.lineTo(right + 0.01, top);
        path.lineTo(left + 0.1, bottom);
        break;
    case '8':
        path.addEllipse(QRectF(left + 0.03, top, right - left - 0.06, 0.4));
        path.addEllipse(QRectF(left - 0.01, top + 0.4, right - left + 0.02, bottom - top - 0.4));
        break;
    case '9': path = halfTurn(six()); break;
    case 'h':
        path.moveTo(left, top - 0.04);
        path.lineTo(left, bottom);
        path.moveTo(left, middle + 0.02);
        path.cubicTo(left + 0.06, middle - 0.16, right, middle - 0.18, right, middle + 0.08);
        path.lineTo(right, bottom);
        break;
    default: break;
    }
    return path;
}

/// The plate the number sits on: a solid rounded rectangle over the lower part of the mark, so the
/// number stays legible at 16 px on any panel.
QRectF plateRect(int size) {
    const qreal plateHeight = size * 0.56;
    return {0, size - plateHeight, qreal(size), plateHeight};
}

void drawPlate(QPainter& painter, int size, bool darkPanel) {
    const QRectF plate = plateRect(size);
    const QColor fill = darkPanel ? QColor(0xf2, 0xf2, 0xf7) : QColor(0x1c, 0x1c, 0x1e);
    QPainterPath platePath;
    platePath.addRoundedRect(plate, size * 0.14, size * 0.14);
    painter.fillPath(platePath, fill);
}

void drawMinutes(QPainter& painter, int size, const QString& minutes, bool darkPanel) {
    const QRectF plate = plateRect(size);
    const QColor ink = darkPanel ? QColor(0x1c, 0x1c, 0x1e) : QColor(0xff, 0xff, 0xff);
    QPainterPath text;
    double width = -gap;
    for (const QChar character : minutes) {
        text.addPath(glyph(character).translated(width + gap, 0));
        width += glyphWidth + gap;
    }
    // Whole pixels high, so the horizontal strokes fall on the pixel grid.
    const double height = std::max(4.0, std::round(plate.height() * (minutes.size() > 2 ? 0.52 : 0.68)));
    painter.save();
    painter.translate(std::round(plate.center().x() - width * height / 2),
                      std::round(plate.center().y() - height / 2));
    painter.scale(height, height);
    painter.setPen(QPen(ink, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(text);
    painter.restore();
}

/// A painter on `image` set up as every layer of the icon is drawn.
void begin(QPainter& painter, QImage& image, bool paused) {
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (paused)
        painter.setOpacity(0.45);
}

/// What stays the same from one minute to the next at one size: the mark, dimmed or not, for a
/// light or a dark panel.
struct Backdrop {
    int size = 0;
    bool paused = false;
    bool darkPanel = false;
    bool operator==(const Backdrop&) const = default;
};

/// The mark at `wanted`, drawn again only when its look changed. The mark's antialiased curves
/// are a large part of an icon's cost, and the icon changes every minute (and when a break starts
/// or ends) while the mark's look changes rarely; one image per size is kept (a few dozen
/// kilobytes at the panel sizes).
const QImage& backdrop(const Backdrop& wanted) {
    static std::vector<std::pair<Backdrop, QImage>> kept;
    constexpr std::size_t sizesKept = 8;
    auto found =
        std::find_if(kept.begin(), kept.end(), [&](const auto& k) { return k.first.size == wanted.size; });
    if (found != kept.end() && found->first == wanted)
        return found->second;
    if (found == kept.end()) {
        if (kept.size() == sizesKept)
            kept.erase(kept.begin());
        found = kept.emplace(kept.end());
    }
    QImage image(wanted.size, wanted.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter;
    begin(painter, image, wanted.paused);
    drawMark(painter, wanted.size, wanted.darkPanel);
    painter.end();
    // An image keeps the paint engine it was drawn with, its outline buffers included, for as long
    // as it lives; the backdrop lives all day, so it keeps a copy without one.
    *found = {wanted, image.copy()};
    return found->second;
}

} // namespace

bool TrayIconArt::panelIsDark() {
    if (!qGuiApp)
        return false;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

QImage TrayIconArt::image(int size, const QString& minutes, bool paused, bool darkPanel) {
    const QImage& mark = backdrop({size, paused, darkPanel});
    if (minutes.isEmpty())
        return mark;
    // Drawn over a copy: the layers land on the same pixels as when drawn one after the other.
    QImage image = mark.copy();
    QPainter painter;
    begin(painter, image, paused);
    drawPlate(painter, size, darkPanel);
    drawMinutes(painter, size, minutes, darkPanel);
    painter.end();
    // Without the paint engine, as the backdrop (the icon lives all day).
    return image.copy();
}

QIcon TrayIconArt::icon(const QString& minutes, bool paused, bool darkPanel) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(image(size, minutes, paused, darkPanel)));
    return icon;
}

} // namespace sorvala
