// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_buffer;
struct wl_compositor;
struct wl_output;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wp_viewporter;
struct zwlr_layer_shell_v1;

namespace sorvala {

class WaylandConnection;

/// What our layer-shell surfaces need from the compositor, on a connection of their own:
/// surfaces, shared-memory buffers, wlroots' layer shell, the viewporter where offered, the seat
/// and the outputs as they come and go.
class WaylandLayers final : public QObject {
public:
    /// One output and its scale.
    struct Output {
        std::uint32_t name = 0;
        wl_output* output = nullptr;
        int scale = 1;
        bool announced = false;
    };

    /// Connects and lists the globals; `isAvailable` says whether layer surfaces can be made.
    WaylandLayers();
    ~WaylandLayers() override;

    /// Whether the compositor offers a layer shell (sway, KWin; not GNOME).
    bool isAvailable() const;
    WaylandConnection& connection() { return *m_connection; }
    wl_compositor* compositor() const { return m_compositor; }
    zwlr_layer_shell_v1* layerShell() const { return m_layerShell; }
    wp_viewporter* viewporter() const { return m_viewporter; }
    wl_seat* seat() const { return m_seat; }
    /// Whether the seat has a pointer now.
    bool seatHasPointer() const { return m_seatCapabilities & 1u; }
    /// Called when the seat gains or loses its pointer or keyboard.
    std::function<void()> onSeatChanged;
    const std::vector<Output>& outputs() const { return m_outputs; }
    /// The scale of `output`, 1 when it is not known.
    int scale(const wl_output* output) const;

    /// Called when an output was plugged in (after it told its scale) or is about to go.
    std::function<void(const Output&)> onOutputAdded;
    std::function<void(const Output&)> onOutputRemoved;
    /// Called when the compositor broke the connection: every object made on it is gone.
    std::function<void()> onLost;

    /// A buffer of `width` × `height` premultiplied ARGB pixels, filled by `paint` (rows of
    /// `width` pixels, top first); it destroys itself when the compositor releases it. Null when
    /// no shared memory could be had.
    wl_buffer* buffer(int width, int height, const std::function<void(std::uint32_t* pixels)>& paint);

private:
    void global(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version);
    void globalRemoved(std::uint32_t name);
    void outputDone(wl_output* output);
    void forgetCompositor();

    std::unique_ptr<WaylandConnection> m_connection;
    wl_compositor* m_compositor = nullptr;
    wl_shm* m_shm = nullptr;
    zwlr_layer_shell_v1* m_layerShell = nullptr;
    wp_viewporter* m_viewporter = nullptr;
    wl_seat* m_seat = nullptr;
    std::uint32_t m_seatCapabilities = 0;
    std::vector<Output> m_outputs;
    bool m_listed = false;
};

} // namespace sorvala
