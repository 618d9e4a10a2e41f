// SPDX-License-Identifier: MIT
#include "ui/wayland/WaylandCapsuleSurface.h"

#include "platform/wayland/WaylandConnection.h"
#include "ui/wayland/WaylandLayers.h"

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <wayland-client.h>

#include <cstring>

#include <linux/input-event-codes.h>

namespace sorvala {

namespace {

WaylandCapsuleSurface* self(void* data) {
    return static_cast<WaylandCapsuleSurface*>(data);
}

QPointF surfacePoint(wl_fixed_t x, wl_fixed_t y) {
    return {wl_fixed_to_double(x), wl_fixed_to_double(y)};
}

} // namespace

WaylandCapsuleSurface::WaylandCapsuleSurface(QWidget& widget)
    : m_widget(widget), m_layers(std::make_unique<WaylandLayers>()) {
    static const wl_surface_listener surfaceListener = {
        /* enter */
        [](void* data, wl_surface*, wl_output* output) {
            auto* capsule = self(data);
            const int scale = capsule->m_layers->scale(output);
            if (scale != std::exchange(capsule->m_scale, scale))
                capsule->redrawSoon();
        },
        /* leave */ [](void*, wl_surface*, wl_output*) {},
    };
    static const zwlr_layer_surface_v1_listener layerListener = {
        [](void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t, std::uint32_t) {
            self(data)->configured(serial);
        },
        [](void* data, zwlr_layer_surface_v1*) { self(data)->m_configured = false; },
    };
    if (!m_layers->isAvailable())
        return;
    m_surface = wl_compositor_create_surface(m_layers->compositor());
    wl_surface_add_listener(m_surface, &surfaceListener, this);
    // No output named: the compositor shows it where the user is.
    m_layer = zwlr_layer_shell_v1_get_layer_surface(m_layers->layerShell(), m_surface, nullptr,
                                                    ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "sorvala-notice");
    zwlr_layer_surface_v1_add_listener(m_layer, &layerListener, this);
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    zwlr_layer_surface_v1_set_size(m_layer, std::uint32_t(m_widget.width()), std::uint32_t(m_widget.height()));
    place(Anchor::centre, 0);
    applyInputRegion();
    m_layers->onSeatChanged = [this] { applyInputRegion(); };
    wl_surface_commit(m_surface);
    m_layers->connection().flush();
    watch(&m_widget);
}

WaylandCapsuleSurface::~WaylandCapsuleSurface() {
    withdraw();
}

void WaylandCapsuleSurface::withdraw() {
    m_layers->onSeatChanged = nullptr;
    if (m_layers->connection().isConnected()) {
        // libwayland keeps a proxy alive until the event being handled returns, so this may run
        // inside the surface's own pointer event.
        if (m_pointer)
            wl_pointer_destroy(m_pointer);
        if (m_layer)
            zwlr_layer_surface_v1_destroy(m_layer);
        if (m_surface)
            wl_surface_destroy(m_surface);
        m_layers->connection().flush();
    }
    m_pointer = nullptr;
    m_layer = nullptr;
    m_surface = nullptr;
    m_configured = false;
}

bool WaylandCapsuleSurface::isAvailable() const {
    return m_layer != nullptr && m_layers->connection().isConnected();
}

void WaylandCapsuleSurface::place(Anchor anchor, int margin) {
    if (!isAvailable())
        return;
    std::uint32_t edges = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP;
    if (anchor == Anchor::left)
        edges |= ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;
    else if (anchor == Anchor::right)
        edges |= ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
    zwlr_layer_surface_v1_set_anchor(m_layer, edges);
    zwlr_layer_surface_v1_set_margin(m_layer, margin, margin, 0, margin);
    if (m_configured)
        redraw();
}

void WaylandCapsuleSurface::setTakesPointer(bool takes) {
    m_takesPointer = takes;
    applyInputRegion();
}

void WaylandCapsuleSurface::applyInputRegion() {
    static const wl_pointer_listener pointerListener = {
        /* enter */
        [](void* data, wl_pointer*, std::uint32_t, wl_surface*, wl_fixed_t x, wl_fixed_t y) {
            self(data)->pointerEntered(surfacePoint(x, y));
        },
        /* leave */ [](void* data, wl_pointer*, std::uint32_t, wl_surface*) { self(data)->pointerLeft(); },
        /* motion */
        [](void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
            self(data)->pointerMoved(surfacePoint(x, y));
        },
        /* button */
        [](void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button, std::uint32_t state) {
            if (button == BTN_LEFT)
                self(data)->pointerButton(state == WL_POINTER_BUTTON_STATE_PRESSED);
        },
        /* axis */ [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
        /* frame */ [](void*, wl_pointer*) {},
        /* axis_source */ [](void*, wl_pointer*, std::uint32_t) {},
        /* axis_stop */ [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
        /* axis_discrete */ [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
        /* axis_value120 */ [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    };
    if (!isAvailable())
        return;
    if (m_takesPointer && m_layers->seatHasPointer() && !m_pointer) {
        m_pointer = wl_seat_get_pointer(m_layers->seat());
        wl_pointer_add_listener(m_pointer, &pointerListener, this);
    } else if (!m_layers->seatHasPointer() && m_pointer) {
        wl_pointer_destroy(m_pointer);
        m_pointer = nullptr;
    }
    // A surface without an input region lets the pointer through to the windows below.
    if (m_takesPointer) {
        wl_surface_set_input_region(m_surface, nullptr);
    } else {
        auto* nothing = wl_compositor_create_region(m_layers->compositor());
        wl_surface_set_input_region(m_surface, nothing);
        wl_region_destroy(nothing);
    }
    if (m_configured)
        wl_surface_commit(m_surface);
    m_layers->connection().flush();
}

void WaylandCapsuleSurface::configured(std::uint32_t serial) {
    zwlr_layer_surface_v1_ack_configure(m_layer, serial);
    m_configured = true;
    redraw();
}

void WaylandCapsuleSurface::watch(QObject* object) {
    object->installEventFilter(this);
    for (QObject* child : object->children())
        if (child->isWidgetType())
            watch(child);
}

bool WaylandCapsuleSurface::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (auto* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
            watch(child);
        break;
    case QEvent::Resize:
        if (watched == &m_widget)
            resized();
        break;
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
        // A widget that is never shown on screen still repaints into its backing store: each
        // repaint is a new picture for the surface. Our own rendering paints too.
        if (!m_rendering)
            redrawSoon();
        break;
    default: break;
    }
    return false;
}

void WaylandCapsuleSurface::resized() {
    if (!isAvailable())
        return;
    zwlr_layer_surface_v1_set_size(m_layer, std::uint32_t(m_widget.width()), std::uint32_t(m_widget.height()));
    redrawSoon();
}

void WaylandCapsuleSurface::redrawSoon() {
    if (std::exchange(m_redrawPending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_redrawPending = false;
        redraw();
    });
}

void WaylandCapsuleSurface::redraw() {
    if (!isAvailable() || !m_configured || m_widget.width() <= 0 || m_widget.height() <= 0)
        return;
    const int width = m_widget.width() * m_scale;
    const int height = m_widget.height() * m_scale;
    // Premultiplied ARGB32 in memory is what wl_shm calls ARGB8888 on a little-endian machine.
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(m_scale);
    picture.fill(Qt::transparent);
    {
        m_rendering = true;
        QPainter painter(&picture);
        m_widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        m_rendering = false;
    }
    wl_buffer* buffer = m_layers->buffer(width, height, [&](std::uint32_t* pixels) {
        for (int row = 0; row < height; ++row)
            std::memcpy(pixels + std::size_t(row) * std::size_t(width), picture.constScanLine(row),
                        std::size_t(width) * 4);
    });
    if (!buffer)
        return;
    wl_surface_set_buffer_scale(m_surface, m_scale);
    wl_surface_attach(m_surface, buffer, 0, 0);
    wl_surface_damage(m_surface, 0, 0, m_widget.width(), m_widget.height());
    wl_surface_commit(m_surface);
    m_layers->connection().flush();
    m_shown = true;
}

void WaylandCapsuleSurface::hover(QWidget* target) {
    if (m_hovered == target)
        return;
    if (m_hovered) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_hovered, &leave);
    }
    m_hovered = target;
    if (target) {
        const QPointF local = target->mapFrom(&m_widget, m_pointerAt);
        QEnterEvent enter(local, m_pointerAt, m_pointerAt);
        QApplication::sendEvent(target, &enter);
    }
}

void WaylandCapsuleSurface::pointerEntered(QPointF at) {
    m_pointerAt = at;
    QWidget* under = m_widget.childAt(at.toPoint());
    hover(under ? under : &m_widget);
    pointerMoved(at);
}

void WaylandCapsuleSurface::pointerMoved(QPointF at) {
    m_pointerAt = at;
    if (onPointerMoved)
        onPointerMoved(at.x());
    // While a button is held the press's widget gets every move, as under a real pointer grab.
    QWidget* target = m_pressed;
    if (!target) {
        QWidget* under = m_widget.childAt(at.toPoint());
        hover(under ? under : &m_widget);
        target = m_hovered;
    }
    if (!target)
        return;
    const Qt::MouseButtons buttons = m_pressed ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent move(QEvent::MouseMove, target->mapFrom(&m_widget, at), at, at, Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

void WaylandCapsuleSurface::pointerButton(bool pressed) {
    QPointer<QWidget> target = pressed ? m_hovered : m_pressed;
    m_pressed = pressed ? target : nullptr;
    if (!target)
        return;
    const QPointF local = target->mapFrom(&m_widget, m_pointerAt);
    QMouseEvent click(pressed ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, local, m_pointerAt,
                      m_pointerAt, Qt::LeftButton, pressed ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    // The click may take the capsule down: nothing of it is used after this.
    QApplication::sendEvent(target, &click);
}

void WaylandCapsuleSurface::pointerLeft() {
    hover(nullptr);
}

} // namespace sorvala
