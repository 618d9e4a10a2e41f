// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>

struct wl_output;
struct wl_surface;
struct wp_viewport;
struct zwlr_layer_surface_v1;

namespace sorvala {

class WaylandLayers;

/// Darkens every output with a see-through black layer above the windows, where the compositor
/// offers wlroots' layer shell (sway, KWin): one layer surface per output, following outputs
/// plugged in or out, taking no keys and letting the pointer through to the windows below.
class WaylandDim final {
public:
    WaylandDim();
    ~WaylandDim();
    WaylandDim(const WaylandDim&) = delete;
    WaylandDim& operator=(const WaylandDim&) = delete;

    /// Whether the compositor lets us lay the dim (it offers a layer shell).
    bool isShowing() const;
    /// How dark, from 0 (clear) to 1 (black).
    void setAlpha(double alpha);
    /// How many outputs are dimmed, as configured by the compositor.
    int coveredOutputs() const;

private:
    struct Veil {
        WaylandDim* owner = nullptr;
        wl_surface* surface = nullptr;
        zwlr_layer_surface_v1* layer = nullptr;
        wp_viewport* viewport = nullptr;
        int width = 0;
        int height = 0;
        int shownAlpha = -1;
    };

    void cover(wl_output* output);
    void uncover(wl_output* output);
    void configured(Veil& veil, std::uint32_t serial, int width, int height);
    void paint(Veil& veil);

    std::unique_ptr<WaylandLayers> m_layers;
    std::map<wl_output*, std::unique_ptr<Veil>> m_veils;
    int m_alpha = 0;
};

} // namespace sorvala
