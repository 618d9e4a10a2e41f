// SPDX-License-Identifier: MIT
#include "render/InkRaster.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace sorvala {

namespace {

constexpr double shadowAlpha = 0.3;
constexpr double shadowOffsetPoints = 0.75;
constexpr double shadowBlurPoints = 1.5;
// The paper's grain is 50 % grey at a low alpha; over the paper colour (about 0.94 bright) the same
// result comes from black at this fraction of that alpha, which an alpha mask can hold.
constexpr double grainBlackFraction = (0.94 - 0.5) / 0.94;

// Separable box blur repeated until it approaches a Gaussian of `sigma` pixels.
void blur(std::vector<float>& values, int width, int height, double sigma) {
    if (sigma <= 0 || width <= 0 || height <= 0)
        return;
    const int radius = std::max(1, static_cast<int>(std::lround(sigma / 1.5)));
    const double variance = ((2.0 * radius + 1) * (2.0 * radius + 1) - 1) / 12;
    const int passes = std::max(1, static_cast<int>(std::lround(sigma * sigma / variance)));
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    std::vector<float> line(static_cast<std::size_t>(std::max(width, height)));
    auto run = [&](float* first, int count, int stride) {
        for (int i = 0; i < count; ++i)
            line[static_cast<std::size_t>(i)] = first[static_cast<std::ptrdiff_t>(i) * stride];
        float sum = 0;
        for (int i = 0; i <= radius && i < count; ++i)
            sum += line[static_cast<std::size_t>(i)];
        for (int i = 0; i < count; ++i) {
            first[static_cast<std::ptrdiff_t>(i) * stride] = sum * scale;
            const int enter = i + radius + 1;
            const int leave = i - radius;
            if (enter < count)
                sum += line[static_cast<std::size_t>(enter)];
            if (leave >= 0)
                sum -= line[static_cast<std::size_t>(leave)];
        }
    };
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y)
            run(values.data() + static_cast<std::ptrdiff_t>(y) * width, width, 1);
        for (int x = 0; x < width; ++x)
            run(values.data() + x, height, width);
    }
}

std::vector<float> alphaOf(const QImage& image) {
    std::vector<float> alpha(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width()) + static_cast<std::size_t>(x)] =
                static_cast<float>(qAlpha(row[x]));
    }
    return alpha;
}

// Writes `colour` (premultiplied by each alpha × `opacity`) into a new image the size of `like`.
QImage tinted(const std::vector<float>& alpha, const QImage& like, QRgb colour, double opacity) {
    QImage out(like.size(), QImage::Format_ARGB32_Premultiplied);
    out.setDevicePixelRatio(like.devicePixelRatio());
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const float a = alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width()) + static_cast<std::size_t>(x)];
            const int level = std::clamp(static_cast<int>(a * static_cast<float>(opacity) + 0.5f), 0, 255);
            row[x] = qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), level));
        }
    }
    return out;
}

} // namespace

QColor toQColor(const Rgba& colour) {
    return QColor::fromRgbF(static_cast<float>(colour.r), static_cast<float>(colour.g), static_cast<float>(colour.b),
                            static_cast<float>(colour.a));
}

QPainterPath styledPath(std::span<const Point> points, int phaseBase, Settings::Style style) {
    QPainterPath path;
    for (const auto& copy : styledCopies(points, phaseBase, style)) {
        if (copy.empty())
            continue;
        path.moveTo(copy[0].x, copy[0].y);
        for (std::size_t i = 1; i < copy.size(); ++i)
            path.lineTo(copy[i].x, copy[i].y);
    }
    return path;
}

QImage paperGrain(QSize pixelSize) {
    const int w = pixelSize.width();
    const int h = pixelSize.height();
    if (w < 1 || h < 1)
        return {};
    QImage grain(pixelSize, QImage::Format_Alpha8);
    if (grain.isNull())
        return {};
    grain.fill(0);
    const std::uint64_t specks = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) / 220;
    std::uint64_t state = 0x9E3779B9u;
    for (std::uint64_t i = 0; i < specks; ++i) {
        state = state * 0x5851F42D4C957F2Dull + 0x14057B7EF767814Full;
        const int x = static_cast<int>((state >> 33) % static_cast<std::uint64_t>(w));
        const int y = static_cast<int>((state >> 13) % static_cast<std::uint64_t>(h));
        const double alpha = static_cast<double>((state >> 3) & 31u) / 31.0 * 0.05 * grainBlackFraction;
        for (int dy = 0; dy < 2 && y + dy < h; ++dy) {
            uchar* row = grain.scanLine(y + dy);
            for (int dx = 0; dx < 2 && x + dx < w; ++dx) {
                const double below = row[x + dx] / 255.0;
                row[x + dx] = static_cast<uchar>(std::lround((alpha + below * (1 - alpha)) * 255));
            }
        }
    }
    return grain;
}

void paintPaper(QPainter& painter, const QRectF& rect, Settings::Theme theme, const QImage& grain) {
    painter.fillRect(rect, toQColor(Appearance::backgroundColor(theme)));
    if (grain.isNull())
        return;
    const qreal dpr = grain.devicePixelRatio();
    painter.drawImage(rect, grain, QRectF(rect.x() * dpr, rect.y() * dpr, rect.width() * dpr, rect.height() * dpr));
}

QRect rasterizeStamp(QImage& ink, const PendingStamp& stamp, Settings::Style style, Settings::Theme theme) {
    if (stamp.points.size() < 2 || ink.isNull())
        return {};
    const QPainterPath path = styledPath(stamp.points, stamp.phaseBase, style);
    const QRectF bounds = path.boundingRect();
    const double reach = stamp.width * widestFactor(style);
    const double pad = reach + 6 + 2;
    const QRectF padded = bounds.adjusted(-pad, -pad, pad, pad);
    QRect rect(QPoint(static_cast<int>(std::floor(padded.left())), static_cast<int>(std::floor(padded.top()))),
               QPoint(static_cast<int>(std::ceil(padded.right())) - 1, static_cast<int>(std::ceil(padded.bottom())) - 1));
    const QSizeF inkPoints = ink.deviceIndependentSize();
    rect &= QRect(0, 0, static_cast<int>(std::ceil(inkPoints.width())), static_cast<int>(std::ceil(inkPoints.height())));
    if (rect.isEmpty())
        return {};
    const QRectF clip = bounds.adjusted(-(reach + 6), -(reach + 6), reach + 6, reach + 6);
    const qreal dpr = ink.devicePixelRatio();

    QImage layer(static_cast<int>(std::ceil(rect.width() * dpr)), static_cast<int>(std::ceil(rect.height() * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return {};
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    const Rgba colour = Appearance::inkColor(theme, stamp.ink);
    // Round caps only at a stroke's open ends. Where one chunk of a stroke meets the next, round
    // caps on both would overlap and leave a darker dot at every join of the translucent line;
    // flat ends meet without overlapping.
    QPainterPath capSeeds;
    for (const auto& copy : styledCopies(stamp.points, stamp.phaseBase, style)) {
        const auto seed = [&](const Point& at, const Point& toward) {
            const double length = std::hypot(toward.x - at.x, toward.y - at.y);
            const double step = length > 0 ? 0.01 / length : 0;
            capSeeds.moveTo(at.x, at.y);
            capSeeds.lineTo(at.x + (toward.x - at.x) * step, at.y + (toward.y - at.y) * step);
        };
        if (stamp.roundStart)
            seed(copy[0], copy[1]);
        if (stamp.roundEnd)
            seed(copy[copy.size() - 1], copy[copy.size() - 2]);
    }
    {
        QPainter painter(&layer);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-rect.topLeft());
        painter.setClipRect(clip);
        painter.setPen(Qt::NoPen);
        for (const auto& pass : stylePasses(style)) {
            QPainterPathStroker body;
            body.setWidth(stamp.width * pass.widthFactor);
            body.setCapStyle(Qt::FlatCap);
            body.setJoinStyle(Qt::RoundJoin);
            QPainterPath outline = body.createStroke(path);
            if (!capSeeds.isEmpty()) {
                QPainterPathStroker caps;
                caps.setWidth(stamp.width * pass.widthFactor);
                caps.setCapStyle(Qt::RoundCap);
                outline.addPath(caps.createStroke(capSeeds));
            }
            // Every outline the stroker makes turns the same way, so winding fill is their union.
            outline.setFillRule(Qt::WindingFill);
            painter.fillPath(outline, toQColor(colour.withAlpha(pass.alpha)));
        }
    }
    std::vector<float> alpha = alphaOf(layer);
    blur(alpha, layer.width(), layer.height(), shadowBlurPoints / 2 * dpr);
    const QImage shadow = tinted(alpha, layer, qRgb(0, 0, 0), shadowAlpha);

    QPainter painter(&ink);
    painter.setClipRect(clip);
    painter.drawImage(QPointF(rect.left(), rect.top() + shadowOffsetPoints), shadow);
    painter.drawImage(rect.topLeft(), layer);
    return rect;
}

QImage penGlowSprite(const QColor& fill, const QColor& shadow, qreal devicePixelRatio) {
    const int side = static_cast<int>(std::ceil(2 * penGlowReach * devicePixelRatio));
    QImage disc(side, side, QImage::Format_ARGB32_Premultiplied);
    disc.setDevicePixelRatio(devicePixelRatio);
    disc.fill(Qt::transparent);
    const QPointF centre(penGlowReach, penGlowReach);
    {
        QPainter painter(&disc);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(centre, 6, 6);
    }
    std::vector<float> alpha = alphaOf(disc);
    blur(alpha, side, side, 3 * devicePixelRatio);
    QImage sprite = tinted(alpha, disc, shadow.rgb(), 1.0);
    QPainter painter(&sprite);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(centre, 2, 2);
    return sprite;
}

} // namespace sorvala
