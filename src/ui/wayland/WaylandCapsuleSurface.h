// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QPointF>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;
struct wl_pointer;
struct wl_surface;
struct zwlr_layer_surface_v1;

namespace sorvala {

class WaylandLayers;

/// Shows a widget that is never a window of its own as a layer-shell surface above all windows,
/// where the compositor offers one (sway, KWin): its pixels are rendered offscreen at the output's
/// scale and redrawn when it repaints; pointer events on the surface reach the child under the
/// pointer, so its buttons work. It never takes the keyboard.
class WaylandCapsuleSurface final : public QObject {
public:
    /// The top edge's place the surface is anchored to.
    enum class Anchor { left, centre, right };

    /// Makes the surface for `widget`, which must be shown with Qt::WA_DontShowOnScreen; an
    /// unavailable surface (no layer shell) shows nothing.
    explicit WaylandCapsuleSurface(QWidget& widget);
    ~WaylandCapsuleSurface() override;

    /// Whether the compositor offers a layer shell, so the widget can be shown this way.
    bool isAvailable() const;
    /// Places the surface `margin` pixels below the top edge and, left or right, from that side.
    void place(Anchor anchor, int margin);
    /// Whether pointer events reach the widget; without, the pointer passes through.
    void setTakesPointer(bool takes);
    /// Called with the pointer's x (in the widget) whenever it moves over the surface.
    std::function<void(double x)> onPointerMoved;

    /// Takes the surface off the screen at once; this object may then be deleted later. Safe from
    /// inside one of its own pointer events.
    void withdraw();
    /// Whether the compositor has shown the surface at least once.
    bool isShown() const { return m_shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void configured(std::uint32_t serial);
    void resized();
    void redrawSoon();
    void redraw();
    void applyInputRegion();
    void pointerEntered(QPointF at);
    void pointerMoved(QPointF at);
    void pointerButton(bool pressed);
    void pointerLeft();
    void hover(QWidget* target);
    void watch(QObject* object);

    QWidget& m_widget;
    std::unique_ptr<WaylandLayers> m_layers;
    wl_surface* m_surface = nullptr;
    zwlr_layer_surface_v1* m_layer = nullptr;
    wl_pointer* m_pointer = nullptr;
    int m_scale = 1;
    bool m_configured = false;
    bool m_shown = false;
    bool m_takesPointer = false;
    bool m_redrawPending = false;
    bool m_rendering = false;
    QPointF m_pointerAt;
    QPointer<QWidget> m_hovered;
    QPointer<QWidget> m_pressed;
};

} // namespace sorvala
