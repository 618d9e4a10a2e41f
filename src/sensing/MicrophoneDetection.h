// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Whether a call is on, read as "another program records from a microphone".
namespace sorvala::MicrophoneDetection {

/// One capture source of the sound server (PulseAudio, or PipeWire through pipewire-pulse).
struct Source {
    std::uint32_t index = 0;
    std::string name;       ///< "alsa_input.pci-0000_00_1f.3.analog-stereo"
    bool isMonitor = false; ///< the monitor of a sink (`monitor_of_sink` set): plays back, records no one
    bool operator==(const Source&) const = default;
};

/// One recording stream (a source output) with the client properties that identify it.
struct Stream {
    std::uint32_t index = 0;
    std::uint32_t source = 0;                 ///< index of the source it records from
    bool corked = false;                      ///< paused by its client
    std::string applicationId;                ///< "application.id", may be empty
    std::string applicationName;              ///< "application.name", may be empty
    std::optional<std::uint32_t> processId;   ///< "application.process.id"
    bool operator==(const Stream&) const = default;
};

/// Application ids of volume controls, whose level meters record from every source.
inline constexpr std::string_view levelMeterApplicationIds[] = {
    "org.PulseAudio.pavucontrol", "org.gnome.VolumeControl", "org.kde.kmixd", "org.kde.plasma-pa"};

/// True when some stream that is not corked, not a level meter and not ours (`ownProcessId`)
/// records from a source that is not a monitor. A stream on a source the list does not know
/// counts: better one held break than a call interrupted.
bool microphoneInUse(const std::vector<Source>& sources, const std::vector<Stream>& streams,
                     std::uint32_t ownProcessId);

/// Reads the text of `pactl list sources` (C locale) into sources. Lines it does not know are
/// skipped; a block without an index is dropped.
std::vector<Source> parseSourceList(std::string_view text);

/// Reads the text of `pactl list source-outputs` (C locale) into streams, the same way.
std::vector<Stream> parseSourceOutputList(std::string_view text);

/// Without a sound server: whether some ALSA capture substream under `procAsound`
/// (/proc/asound: card*/pcm*c/sub*/status) reads "state: RUNNING". Unreadable: false.
bool alsaCaptureRunning(const std::filesystem::path& procAsound);

} // namespace sorvala::MicrophoneDetection
