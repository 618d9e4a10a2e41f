// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <memory>
#include <vector>

namespace sorvala {

class WaylandDim;

/// Darkens every display behind the pre-break countdown with a translucent black veil that clicks
/// pass through. Without a compositor windows cannot be translucent: then nothing is darkened. On
/// Wayland the veil is a layer surface per output where the compositor offers a layer shell, and
/// nothing where it does not.
class ScreenDim {
public:
    ScreenDim();
    ~ScreenDim();
    ScreenDim(const ScreenDim&) = delete;
    ScreenDim& operator=(const ScreenDim&) = delete;

    /// How dark the screens are, from 0 (clear) to 1 (black).
    void setAlpha(double alpha);
    double alpha() const { return m_alpha; }
    /// The veil windows, one per display (none on Wayland, where the veils are no windows).
    std::vector<QWidget*> windows() const;
    /// Whether the screens are darkened at all (a compositor runs).
    bool isLive() const { return m_live; }

    /// Whether a compositing manager runs, so windows may be translucent.
    static bool compositorRunning();

private:
    class Veil;
    std::vector<std::unique_ptr<Veil>> m_veils;
    std::unique_ptr<WaylandDim> m_layers;
    double m_alpha = 0;
    bool m_live = false;
};

} // namespace sorvala
