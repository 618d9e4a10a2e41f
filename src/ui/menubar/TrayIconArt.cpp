// SPDX-License-Identifier: MIT
#include "ui/menubar/TrayIconArt.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QSvgRenderer>

namespace sorvala {

namespace {

QString markResource(bool darkPanel) {
    return darkPanel ? QStringLiteral(":/icons/sorvala-tray-dark.svg") : QStringLiteral(":/icons/sorvala-tray-light.svg");
}

void drawMinutes(QPainter& painter, int size, const QString& minutes, bool darkPanel) {
    // The number sits on a solid plate over the lower part of the mark, so it stays legible at
    // 16 px on any panel.
    const qreal plateHeight = size * 0.56;
    const QRectF plate(0, size - plateHeight, size, plateHeight);
    const QColor ink = darkPanel ? QColor(0x1c, 0x1c, 0x1e) : QColor(0xff, 0xff, 0xff);
    const QColor fill = darkPanel ? QColor(0xf2, 0xf2, 0xf7) : QColor(0x1c, 0x1c, 0x1e);
    QPainterPath path;
    path.addRoundedRect(plate, size * 0.14, size * 0.14);
    painter.fillPath(path, fill);
    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setPixelSize(std::max(6, static_cast<int>(plateHeight * (minutes.size() > 2 ? 0.66 : 0.84))));
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(plate, Qt::AlignCenter, minutes);
}

} // namespace

bool TrayIconArt::panelIsDark() {
    if (!qGuiApp)
        return false;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

QImage TrayIconArt::image(int size, const QString& minutes, bool paused, bool darkPanel) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (paused)
        painter.setOpacity(0.45);
    QSvgRenderer mark(markResource(darkPanel));
    mark.render(&painter, QRectF(0, 0, size, size));
    if (!minutes.isEmpty())
        drawMinutes(painter, size, minutes, darkPanel);
    painter.end();
    return image;
}

QIcon TrayIconArt::icon(const QString& minutes, bool paused, bool darkPanel) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(image(size, minutes, paused, darkPanel)));
    return icon;
}

} // namespace sorvala
