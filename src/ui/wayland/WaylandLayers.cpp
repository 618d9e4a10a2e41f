// SPDX-License-Identifier: MIT
#include "ui/wayland/WaylandLayers.h"

#include "platform/wayland/WaylandConnection.h"

#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace sorvala {

namespace {

WaylandLayers* self(void* data) {
    return static_cast<WaylandLayers*>(data);
}

} // namespace

WaylandLayers::WaylandLayers() {
    m_connection = std::make_unique<WaylandConnection>(
        [this](wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
            global(registry, name, interface, version);
        },
        [this](std::uint32_t name) { globalRemoved(name); });
    m_connection->onLost = [this] {
        forgetCompositor();
        if (onLost)
            onLost();
    };
    // The second round trip brings each output's scale.
    if (!m_connection->isConnected() || !m_connection->roundtrip()) {
        forgetCompositor();
        return;
    }
    m_listed = true;
    for (auto& output : m_outputs)
        output.announced = true;
    m_connection->startReading();
}

WaylandLayers::~WaylandLayers() = default;

bool WaylandLayers::isAvailable() const {
    return m_connection->isConnected() && m_compositor && m_shm && m_layerShell;
}

int WaylandLayers::scale(const wl_output* output) const {
    for (const auto& known : m_outputs)
        if (known.output == output)
            return known.scale;
    return 1;
}

void WaylandLayers::global(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    static const wl_output_listener outputListener = {
        /* geometry */ [](void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                          const char*, const char*, std::int32_t) {},
        /* mode */ [](void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {},
        /* done */
        [](void* data, wl_output* output) { self(data)->outputDone(output); },
        /* scale */
        [](void* data, wl_output* output, std::int32_t factor) {
            for (auto& known : self(data)->m_outputs)
                if (known.output == output)
                    known.scale = std::max(1, factor);
        },
        /* name */ [](void*, wl_output*, const char*) {},
        /* description */ [](void*, wl_output*, const char*) {},
    };
    static const wl_seat_listener seatListener = {
        [](void* data, wl_seat*, std::uint32_t capabilities) {
            self(data)->m_seatCapabilities = capabilities;
            if (self(data)->onSeatChanged)
                self(data)->onSeatChanged();
        },
        [](void*, wl_seat*, const char*) {},
    };
    static_assert(WL_SEAT_CAPABILITY_POINTER == 1u);
    using C = WaylandConnection;
    if (std::strcmp(interface, wl_compositor_interface.name) == 0)
        m_compositor = C::bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    else if (std::strcmp(interface, wl_shm_interface.name) == 0)
        m_shm = C::bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        m_layerShell = C::bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version, 1);
    else if (std::strcmp(interface, wp_viewporter_interface.name) == 0)
        m_viewporter = C::bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat) {
        m_seat = C::bind<wl_seat>(registry, name, &wl_seat_interface, version, 1);
        wl_seat_add_listener(m_seat, &seatListener, this);
    }
    else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto* output = C::bind<wl_output>(registry, name, &wl_output_interface, version, 2);
        wl_output_add_listener(output, &outputListener, this);
        m_outputs.push_back({name, output, 1, false});
    }
}

void WaylandLayers::outputDone(wl_output* output) {
    // An output plugged in later is announced once it has told its scale.
    for (auto& known : m_outputs)
        if (known.output == output && m_listed && !std::exchange(known.announced, true) && onOutputAdded)
            onOutputAdded(known);
}

void WaylandLayers::globalRemoved(std::uint32_t name) {
    const auto gone = std::find_if(m_outputs.begin(), m_outputs.end(), [&](const Output& o) { return o.name == name; });
    if (gone == m_outputs.end())
        return;
    const Output output = *gone;
    m_outputs.erase(gone);
    if (onOutputRemoved)
        onOutputRemoved(output);
    wl_output_destroy(output.output);
}

void WaylandLayers::forgetCompositor() {
    m_compositor = nullptr;
    m_shm = nullptr;
    m_layerShell = nullptr;
    m_viewporter = nullptr;
    m_seat = nullptr;
    m_seatCapabilities = 0;
    m_outputs.clear();
}

wl_buffer* WaylandLayers::buffer(int width, int height, const std::function<void(std::uint32_t*)>& paint) {
    static const wl_buffer_listener released = {
        [](void*, wl_buffer* buffer) { wl_buffer_destroy(buffer); },
    };
    if (!m_shm || width <= 0 || height <= 0)
        return nullptr;
    const std::size_t stride = std::size_t(width) * 4;
    const std::size_t size = stride * std::size_t(height);
    const int fd = memfd_create("sorvala-layer", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    wl_buffer* result = nullptr;
    if (ftruncate(fd, off_t(size)) == 0) {
        void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (pixels != MAP_FAILED) {
            paint(static_cast<std::uint32_t*>(pixels));
            munmap(pixels, size);
            auto* pool = wl_shm_create_pool(m_shm, fd, int(size));
            result = wl_shm_pool_create_buffer(pool, 0, width, height, int(stride), WL_SHM_FORMAT_ARGB8888);
            wl_shm_pool_destroy(pool);
            wl_buffer_add_listener(result, &released, nullptr);
        }
    }
    close(fd);
    return result;
}

} // namespace sorvala
