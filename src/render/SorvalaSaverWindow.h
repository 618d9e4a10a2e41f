// SPDX-License-Identifier: MIT
#pragma once

#include "render/SorvalaSaverView.h"

#include <QElapsedTimer>
#include <QRasterWindow>

namespace sorvala {

/// A window that hosts the drawing view on its own (the screen saver, a preview): one frame per
/// display refresh, on a monotonic media clock, repainting only what changed.
class SorvalaSaverWindow : public QRasterWindow {
public:
    explicit SorvalaSaverWindow(PreferencesStore& store, QWindow* parent = nullptr);

    SorvalaSaverView& view() { return m_view; }

    /// Starts the frames and the drawing; they run until `stopAnimation`.
    void startAnimation();
    /// Stops asking for frames; the picture stays as it is.
    void stopAnimation();

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    double mediaNow() const;
    void followGeometry();

    QElapsedTimer m_clock;
    SorvalaSaverView m_view;
    bool m_animating = false;
};

} // namespace sorvala
