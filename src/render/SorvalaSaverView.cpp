// SPDX-License-Identifier: MIT
#include "render/SorvalaSaverView.h"

#include "render/InkRaster.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sorvala {

namespace {

constexpr double glowOpacity = 0.95;

QRect alignedBounds(const std::vector<Point>& points, double grow) {
    const Extent extent = extentOf(points);
    return QRectF(QPointF(extent.minX - grow, extent.minY - grow), QPointF(extent.maxX + grow, extent.maxY + grow))
        .toAlignedRect();
}

} // namespace

SorvalaSaverView::SorvalaSaverView(PreferencesStore& store, double now, ProgressiveRenderer::Environment environment)
    : m_logic(store, std::move(environment), now) {}

SorvalaSaverView::SorvalaSaverView(Settings appearance, double now, ProgressiveRenderer::Environment environment)
    : m_logic(std::move(appearance), std::move(environment), now) {}

QSize SorvalaSaverView::pixelSize() const {
    return {static_cast<int>(std::ceil(m_size.width() * m_dpr)), static_cast<int>(std::ceil(m_size.height() * m_dpr))};
}

QRect SorvalaSaverView::bounds() const {
    return {0, 0, static_cast<int>(std::ceil(m_size.width())), static_cast<int>(std::ceil(m_size.height()))};
}

void SorvalaSaverView::setGeometry(QSizeF size, qreal devicePixelRatio) {
    if (!(devicePixelRatio > 0))
        devicePixelRatio = 2.0;
    const bool sizeChanged = size != m_size;
    const bool scaleChanged = devicePixelRatio != m_dpr;
    if (!sizeChanged && !scaleChanged)
        return;
    m_size = size;
    m_dpr = devicePixelRatio;
    m_grain = QImage();
    m_glow = QImage();
    if (sizeChanged) {
        m_ink = QImage();
    } else if (!m_ink.isNull()) {
        // Same drawing at a new ratio: keep the ink laid so far rather than losing it.
        m_ink = m_ink.scaled(pixelSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_ink.setDevicePixelRatio(m_dpr);
    }
    m_logic.setSize(size.width(), size.height());
    m_lastChanged = bounds();
}

void SorvalaSaverView::setDrawsOverHostBackground(bool over) {
    m_drawsOverHostBackground = over;
    m_lastChanged = bounds();
}

void SorvalaSaverView::prepareInk() {
    const QSize pixels = pixelSize();
    if (pixels.isEmpty() || m_ink.size() == pixels)
        return;
    // Transparent is all zero bits: zeroed pages from the system need no fill, and those the pen
    // never reaches never become resident.
    const qsizetype bytesPerLine = qsizetype(pixels.width()) * 4;
    void* bits = std::calloc(std::size_t(bytesPerLine) * std::size_t(pixels.height()), 1);
    m_ink = bits ? QImage(static_cast<uchar*>(bits), pixels.width(), pixels.height(), bytesPerLine,
                          QImage::Format_ARGB32_Premultiplied, std::free, bits)
                 : QImage();
    m_ink.setDevicePixelRatio(m_dpr);
    m_inkBlank = true;
}

void SorvalaSaverView::prepareSurfaces(bool inking) {
    const QSize pixels = pixelSize();
    if (pixels.isEmpty())
        return;
    // The ink is made with the first stamps to lay: the frame that starts a drawing has its
    // generation to do, and a host must not wait for an image it does not need yet.
    if (inking)
        prepareInk();
    const bool grained = m_logic.theme() == Settings::Theme::paper && !m_logic.suppressed() && !m_drawsOverHostBackground;
    if (grained && m_grain.size() != pixels) {
        m_grain = paperGrain(pixels);
        m_grain.setDevicePixelRatio(m_dpr);
    }
}

QRegion SorvalaSaverView::tailRegion() const {
    if (m_logic.phase().kind != ProgressiveRenderer::Phase::Kind::drawing)
        return {};
    QRegion region;
    const auto tail = m_logic.livePenTail();
    if (tail.size() >= 2) {
        // Half the widest pass, the pencil's jitter and a pixel of anti-aliasing.
        const double grow = m_logic.currentPenWidth() * 2.6 / 2 + 0.45 + 1.5;
        region += alignedBounds(tail, grow);
    }
    if (m_glowAt)
        region += QRect(static_cast<int>(std::floor(m_glowAt->x())) - penGlowReach - 1,
                        static_cast<int>(std::floor(m_glowAt->y())) - penGlowReach - 1, 2 * penGlowReach + 3,
                        2 * penGlowReach + 3);
    return region;
}

QRegion SorvalaSaverView::animateOneFrame(double now) {
    m_logic.animateOneFrame(now);
    auto changes = m_logic.takeChanges();
    prepareSurfaces(!changes.stamps.empty());
    // Over the host's own background, blank ink shows nothing of the theme or the opacity: a new
    // drawing there needs only its first stamps and tail painted, not the whole surface.
    const bool everything = (changes.repaintAll || changes.inkCleared) && !(m_drawsOverHostBackground && m_inkBlank);
    if (changes.inkCleared && !m_inkBlank && !m_ink.isNull()) {
        m_ink.fill(Qt::transparent);
        m_inkBlank = true;
    }

    m_lastStamps = QRegion();
    if (!m_ink.isNull()) {
        const Settings::Style style = m_logic.currentStyle();
        for (const auto& stamp : changes.stamps) {
            const QRect touched = rasterizeStamp(m_ink, stamp, style, m_logic.theme());
            if (!touched.isEmpty()) {
                m_lastStamps += touched;
                m_inkBlank = false;
            }
            ++m_stampsRasterized;
        }
    }

    const auto tail = m_logic.livePenTail();
    if (m_logic.phase().kind != ProgressiveRenderer::Phase::Kind::drawing || tail.empty())
        m_glowAt.reset();
    else if (tail.size() >= 2)
        m_glowAt = QPointF(tail.back().x, tail.back().y);
    // A one-point tail is a pen lift: the tip rests where the last stroke ended.

    const QRegion currentTail = tailRegion();
    QRegion changed = m_lastStamps + m_lastTail + currentTail;
    m_lastTail = currentTail;
    if (everything)
        changed = bounds();
    m_lastChanged = changed & bounds();
    return m_lastChanged;
}

const QImage& SorvalaSaverView::glowSprite() {
    const auto& colors = m_logic.strokeColors();
    const QColor fill = toQColor(colors.glowFill);
    const QColor shadow = toQColor(colors.glowShadow);
    if (m_glow.isNull() || m_glowKey[0] != fill.rgb() || m_glowKey[1] != shadow.rgb() || m_glowScale != m_dpr) {
        m_glow = penGlowSprite(fill, shadow, m_dpr);
        m_glowKey[0] = fill.rgb();
        m_glowKey[1] = shadow.rgb();
        m_glowScale = m_dpr;
    }
    return m_glow;
}

void SorvalaSaverView::paintTailAndTip(QPainter& painter) {
    if (m_logic.phase().kind != ProgressiveRenderer::Phase::Kind::drawing)
        return;
    const auto tail = m_logic.livePenTail();
    painter.setOpacity(m_logic.inkOpacity());
    if (tail.size() >= 2) {
        const Settings::Style style = m_logic.currentStyle();
        const QPainterPath path = styledPath(tail, m_logic.penTailPhaseBase(), style);
        const auto& colors = m_logic.strokeColors();
        const auto passes = stylePasses(style);
        painter.setRenderHint(QPainter::Antialiasing);
        for (std::size_t i = 0; i < passes.size() && i < colors.tailPassColors.size(); ++i) {
            QPen pen(toQColor(colors.tailPassColors[i]), m_logic.currentPenWidth() * passes[i].widthFactor, Qt::SolidLine,
                     Qt::FlatCap, Qt::RoundJoin);
            painter.strokePath(path, pen);
        }
    }
    if (m_glowAt) {
        painter.setOpacity(m_logic.inkOpacity() * glowOpacity);
        painter.drawImage(*m_glowAt - QPointF(penGlowReach, penGlowReach), glowSprite());
    }
    painter.setOpacity(1);
}

void SorvalaSaverView::paint(QPainter& painter, const QRegion& region) {
    painter.save();
    painter.setClipRegion(region);
    if (m_logic.suppressed()) {
        for (const QRect& rect : region)
            painter.fillRect(rect, Qt::black);
        painter.restore();
        return;
    }
    const bool grained = m_logic.theme() == Settings::Theme::paper && !m_drawsOverHostBackground;
    for (const QRect& rect : region) {
        if (!m_drawsOverHostBackground)
            paintPaper(painter, rect, m_logic.theme(), grained ? m_grain : QImage());
        if (!m_ink.isNull()) {
            painter.setOpacity(m_logic.inkOpacity());
            painter.drawImage(QRectF(rect), m_ink,
                              QRectF(rect.x() * m_dpr, rect.y() * m_dpr, rect.width() * m_dpr, rect.height() * m_dpr));
            painter.setOpacity(1);
        }
    }
    paintTailAndTip(painter);
    painter.restore();
}

void SorvalaSaverView::renderInto(QImage& target, bool everything) {
    QPainter painter(&target);
    paint(painter, everything ? QRegion(bounds()) : m_lastChanged);
}

FinishedLook SorvalaSaverView::finishedLook() const {
    FinishedLook look;
    look.theme = m_logic.theme();
    look.style = m_logic.resolvedStyle().value_or(Settings::Style::pencil);
    look.ink = m_logic.inkPlan();
    look.withPaper = true;
    return look;
}

bool desktopPrefersDark() {
    if (qGuiApp == nullptr)
        return false;
    // Qt 6.4 has no colour-scheme query; the window colour of the desktop's palette tells.
    return QGuiApplication::palette().color(QPalette::Window).lightnessF() < 0.5;
}

QImage renderFinishedDrawing(const Sorvala& sorvala, QSizeF size, qreal scale, const FinishedLook& look) {
    if (!(scale > 0) || !(size.width() > 0) || !(size.height() > 0))
        return {};
    const QSize pixels(static_cast<int>(std::ceil(size.width() * scale)), static_cast<int>(std::ceil(size.height() * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    if (look.withPaper) {
        QImage grain;
        if (look.theme == Settings::Theme::paper) {
            grain = paperGrain(pixels);
            grain.setDevicePixelRatio(scale);
        }
        QPainter painter(&image);
        paintPaper(painter, QRectF(QPointF(0, 0), size), look.theme, grain);
    }
    for (const auto& stamp : finishedStamps(sorvala, look.ink))
        rasterizeStamp(image, stamp, look.style, look.theme);
    return image;
}

} // namespace sorvala
