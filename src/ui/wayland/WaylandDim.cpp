// SPDX-License-Identifier: MIT
#include "ui/wayland/WaylandDim.h"

#include "platform/wayland/WaylandConnection.h"
#include "ui/wayland/WaylandLayers.h"

#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cmath>

namespace sorvala {

namespace {

constexpr std::uint32_t allEdges = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

} // namespace

WaylandDim::WaylandDim() : m_layers(std::make_unique<WaylandLayers>()) {
    if (!m_layers->isAvailable())
        return;
    m_layers->onOutputAdded = [this](const WaylandLayers::Output& output) { cover(output.output); };
    m_layers->onOutputRemoved = [this](const WaylandLayers::Output& output) { uncover(output.output); };
    m_layers->onLost = [this] { m_veils.clear(); };
    for (const auto& output : m_layers->outputs())
        cover(output.output);
    m_layers->connection().flush();
}

WaylandDim::~WaylandDim() {
    while (!m_veils.empty())
        uncover(m_veils.begin()->first);
    m_layers->connection().flush();
}

bool WaylandDim::isShowing() const {
    return m_layers->isAvailable();
}

int WaylandDim::coveredOutputs() const {
    return int(std::count_if(m_veils.begin(), m_veils.end(), [](const auto& v) { return v.second->width > 0; }));
}

void WaylandDim::setAlpha(double alpha) {
    m_alpha = int(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
    for (auto& [output, veil] : m_veils)
        paint(*veil);
    m_layers->connection().flush();
}

void WaylandDim::cover(wl_output* output) {
    static const zwlr_layer_surface_v1_listener listener = {
        [](void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
            auto* veil = static_cast<Veil*>(data);
            veil->owner->configured(*veil, serial, int(width), int(height));
        },
        // The compositor took the surface down (its output went): it is destroyed with the output.
        [](void*, zwlr_layer_surface_v1*) {},
    };
    auto veil = std::make_unique<Veil>();
    veil->owner = this;
    veil->surface = wl_compositor_create_surface(m_layers->compositor());
    // Clicks go through to the windows below, as they do through the dim on X11.
    auto* nothing = wl_compositor_create_region(m_layers->compositor());
    wl_surface_set_input_region(veil->surface, nothing);
    wl_region_destroy(nothing);
    if (m_layers->viewporter())
        veil->viewport = wp_viewporter_get_viewport(m_layers->viewporter(), veil->surface);
    // The top layer, one below the capsules' overlay: within one layer compositors stack
    // surfaces as they please (sway puts the newest lowest), and the countdown must show above
    // its own dim. A full-screen window hides this layer on sway; the countdown still shows.
    veil->layer = zwlr_layer_shell_v1_get_layer_surface(m_layers->layerShell(), veil->surface, output,
                                                        ZWLR_LAYER_SHELL_V1_LAYER_TOP, "sorvala-dim");
    zwlr_layer_surface_v1_add_listener(veil->layer, &listener, veil.get());
    zwlr_layer_surface_v1_set_anchor(veil->layer, allEdges);
    zwlr_layer_surface_v1_set_exclusive_zone(veil->layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(veil->layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(veil->surface);
    m_veils[output] = std::move(veil);
}

void WaylandDim::uncover(wl_output* output) {
    const auto found = m_veils.find(output);
    if (found == m_veils.end())
        return;
    Veil& veil = *found->second;
    zwlr_layer_surface_v1_destroy(veil.layer);
    if (veil.viewport)
        wp_viewport_destroy(veil.viewport);
    wl_surface_destroy(veil.surface);
    m_veils.erase(found);
}

void WaylandDim::configured(Veil& veil, std::uint32_t serial, int width, int height) {
    zwlr_layer_surface_v1_ack_configure(veil.layer, serial);
    if (width != veil.width || height != veil.height)
        veil.shownAlpha = -1;
    veil.width = width;
    veil.height = height;
    paint(veil);
}

void WaylandDim::paint(Veil& veil) {
    if (veil.width <= 0 || veil.height <= 0 || veil.shownAlpha == m_alpha)
        return;
    // Premultiplied black: only the alpha byte is set. With a viewport one pixel stretched over
    // the output does; each step of the fade is then four bytes, not a screenful.
    const std::uint32_t pixel = std::uint32_t(m_alpha) << 24;
    const int width = veil.viewport ? 1 : veil.width;
    const int height = veil.viewport ? 1 : veil.height;
    wl_buffer* buffer =
        m_layers->buffer(width, height, [&](std::uint32_t* pixels) { std::fill_n(pixels, width * height, pixel); });
    if (!buffer)
        return;
    if (veil.viewport)
        wp_viewport_set_destination(veil.viewport, veil.width, veil.height);
    wl_surface_attach(veil.surface, buffer, 0, 0);
    wl_surface_damage(veil.surface, 0, 0, veil.width, veil.height);
    wl_surface_commit(veil.surface);
    veil.shownAlpha = m_alpha;
}

} // namespace sorvala
