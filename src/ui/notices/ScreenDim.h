// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QWidget>

#include <memory>
#include <vector>

namespace sorvala {

/// Darkens every display behind the pre-break countdown. Clicks pass through. With a compositor
/// the darkening is a translucent black veil over the live screen; without one a window cannot
/// be translucent, so the veil darkens a still picture of the screen taken when it appeared.
class ScreenDim {
public:
    ScreenDim();
    ~ScreenDim();
    ScreenDim(const ScreenDim&) = delete;
    ScreenDim& operator=(const ScreenDim&) = delete;

    /// How dark the screens are, from 0 (clear) to 1 (black).
    void setAlpha(double alpha);
    double alpha() const { return m_alpha; }
    /// The veil windows, one per display.
    std::vector<QWidget*> windows() const;
    /// Whether the veil darkens the live screen rather than a still picture.
    bool isLive() const { return m_live; }

    /// Whether a compositing manager runs, so windows may be translucent.
    static bool compositorRunning();

private:
    class Veil;
    std::vector<std::unique_ptr<Veil>> m_veils;
    double m_alpha = 0;
    bool m_live = false;
};

} // namespace sorvala
