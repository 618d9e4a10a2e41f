// SPDX-License-Identifier: MIT
#pragma once

#include "notices/Notice.h"
#include "notices/PreBreakOverlay.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace sorvala {

class WaylandCapsuleSurface;

/// One floating capsule near the top of the main screen. It never takes keyboard focus, stays
/// above ordinary and fullscreen windows, and lets clicks through unless it has buttons.
class NoticeCapsule final : public QWidget {
public:
    /// The narrowest and lowest a capsule gets.
    static constexpr int minimumWidth = 200;
    static constexpr int minimumHeight = 44;
    static constexpr int cornerRadius = 22;

    /// A capsule for `notice`; `action` receives the role of a pressed button.
    NoticeCapsule(const Notice& notice, std::function<void(Notice::Button::Role)> action);
    ~NoticeCapsule() override;

    /// Sets the body text and fits the capsule to it.
    void setBody(const QString& text);
    QString body() const;
    /// Resizes to the content's size, never below the minimum.
    void fit();
    /// Moves to `position` on the main screen; where no screen is known it stays where it is.
    void place(PreBreakOverlay::Position position);
    /// Places and shows without taking focus.
    void present(PreBreakOverlay::Position position);
    bool acceptsClicks() const { return m_acceptsClicks; }
    /// Calls `moved` with the pointer's x whenever it moves over the capsule, where the capsule
    /// is a layer surface and the pointer is nowhere else to be seen. Set before `present`.
    void watchPointer(std::function<void(double x)> moved) { m_pointerMoved = std::move(moved); }
    /// Whether the capsule is a layer-shell surface of its own rather than a window (Wayland
    /// compositors that offer a layer shell).
    bool isLayerSurface() const { return m_surface != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void becomeLayerSurface();

    QLabel* m_body = nullptr;
    bool m_acceptsClicks = false;
    std::function<void(double)> m_pointerMoved;
    std::unique_ptr<WaylandCapsuleSurface> m_surface;
};

} // namespace sorvala
