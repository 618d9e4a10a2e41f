// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"
#include "drawing/ProgressiveRenderer.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSizeF>

#include <optional>

class QPainter;

namespace sorvala {

struct FinishedLook;

/// Paints a drawing the way a hand draws it, for any host: a widget, a window or an offscreen
/// image. Finished line is laid into a persistent ink image once; only the live tail and the pen
/// tip are drawn again each frame, and only the region that changed is repainted. The host calls
/// `animateOneFrame` once per refresh, repaints the region it answers, and forwards its paint
/// events to `paint`.
class SorvalaSaverView {
public:
    /// A view reading its appearance from `store`; `now` is the media clock at creation.
    SorvalaSaverView(PreferencesStore& store, double now, ProgressiveRenderer::Environment environment = {});
    /// A view with a fixed appearance, for tools and measurements.
    SorvalaSaverView(Settings appearance, double now, ProgressiveRenderer::Environment environment = {});

    /// The pen logic: overrides, phases, completion.
    ProgressiveRenderer& logic() { return m_logic; }
    const ProgressiveRenderer& logic() const { return m_logic; }

    /// The host's size in points and its device-pixel ratio. A new size mid-drawing starts a new
    /// drawing; a new ratio keeps the drawing and its ink.
    void setGeometry(QSizeF size, qreal devicePixelRatio);
    /// When true the paper is left out, so the host's own background shows through.
    void setDrawsOverHostBackground(bool over);
    /// Whether the desktop prefers a dark appearance.
    void setSystemDark(bool dark) { m_logic.setSystemDark(dark); }
    /// Whether this host is a secondary screen that stays black.
    void setSuppressed(bool suppressed) { m_logic.setSuppressed(suppressed); }

    /// Re-rolls the random theme and starts a drawing if there is none.
    void startAnimation() { m_logic.startAnimation(); }
    /// Reads the appearance again (a new drawing when one exists).
    void reloadSettings() { m_logic.reloadSettings(); }

    /// Advances one frame to media time `now`, lays down finished stamps and answers the region,
    /// in points, that the host must repaint.
    QRegion animateOneFrame(double now);

    /// Paints `region` (points) of the current frame. The painter's device must have this view's
    /// device-pixel ratio. Drawing over the host's background, the host paints that region first.
    void paint(QPainter& painter, const QRegion& region);

    /// Offscreen host: repaints the last frame's changed region into `target` (an image of this
    /// view's pixel size), or everything when `everything` is true.
    void renderInto(QImage& target, bool everything = false);

    bool isDrawingComplete() const { return m_logic.isDrawingComplete(); }
    /// Stamps laid into the ink since the view was made.
    long long stampsRasterized() const { return m_stampsRasterized; }
    /// The region answered by the last frame.
    const QRegion& lastChangedRegion() const { return m_lastChanged; }
    /// The region of the last frame that was new ink; the rest is the live tail and pen tip.
    const QRegion& lastStampRegion() const { return m_lastStamps; }
    /// Pixel size of the surface.
    QSize pixelSize() const;
    qreal devicePixelRatio() const { return m_dpr; }
    /// The host's size in points.
    QSizeF size() const { return m_size; }

    /// How the current drawing looks finished, always on its paper, to render it again at another
    /// scale with `renderFinishedDrawing` (a break screen's view draws over its host's background,
    /// but a picture kept on its own needs the paper).
    FinishedLook finishedLook() const;
    /// The ink laid down so far, at this view's ratio; null before the first stamp.
    const QImage& inkImage() const { return m_ink; }

private:
    QRect bounds() const;
    QRegion tailRegion() const;
    void prepareInk();
    void prepareSurfaces(bool inking);
    void paintTailAndTip(QPainter& painter);
    const QImage& glowSprite();

    ProgressiveRenderer m_logic;
    QSizeF m_size;
    qreal m_dpr = 2.0;
    bool m_drawsOverHostBackground = false;
    QImage m_ink;
    /// Nothing laid into the ink since it was made or cleared: clearing it again changes nothing.
    bool m_inkBlank = true;
    QImage m_grain;
    Settings::Theme m_grainTheme = Settings::Theme::dark;
    QImage m_glow;
    QRgb m_glowKey[2] = {0, 0};
    qreal m_glowScale = 0;
    std::optional<QPointF> m_glowAt;
    QRegion m_lastTail;
    QRegion m_lastChanged;
    QRegion m_lastStamps;
    long long m_stampsRasterized = 0;
};

/// Whether the desktop's palette is a dark one, for `setSystemDark`; false without an application.
bool desktopPrefersDark();

/// How a finished drawing looks: paper, style and ink plan, all resolved.
struct FinishedLook {
    Settings::Theme theme = Settings::Theme::paper;
    Settings::Style style = Settings::Style::pencil;
    InkPlan ink;
    bool withPaper = true;
};

/// The finished drawing on a surface of `size` points, at `scale` pixels per point, painted as the
/// live view leaves it. A null image when the size is empty or too large to allocate.
QImage renderFinishedDrawing(const Sorvala& sorvala, QSizeF size, qreal scale, const FinishedLook& look);

} // namespace sorvala
