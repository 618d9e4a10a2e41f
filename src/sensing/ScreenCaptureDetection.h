// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Whether the desktop shares or records the screen, read from the PipeWire graph: every
/// Wayland screencast (GNOME, KDE, the wlroots portal) is a video source node that no camera
/// device backs.
namespace sorvala::ScreenCaptureDetection {

/// The media class of every video producer in the graph, screencasts and cameras alike.
inline constexpr std::string_view videoSourceClass = "Video/Source";

/// The part of one PipeWire node that tells a screencast from a camera.
struct PipeWireNode {
    std::uint32_t id = 0;
    std::string mediaClass;                ///< "media.class"
    std::optional<std::string> deviceApi;  ///< "device.api": "v4l2", "libcamera"; absent for streams
    std::string nodeName;                  ///< "node.name"
    std::string applicationName;           ///< "application.name"
    std::string state;                     ///< "creating", "suspended", "idle", "running", "error"
    bool operator==(const PipeWireNode&) const = default;
};

/// The nodes of a `pw-dump` document (a JSON array of objects); objects of other types and
/// removed objects are left out. Nullopt when the text is not such a document.
std::optional<std::vector<PipeWireNode>> parsePwDump(std::string_view json);

/// True when some node is a video source without a device behind it, in the "idle" or
/// "running" state (a stream somebody consumes; a suspended one is linked to nothing).
bool screenCaptured(const std::vector<PipeWireNode>& nodes);

} // namespace sorvala::ScreenCaptureDetection
