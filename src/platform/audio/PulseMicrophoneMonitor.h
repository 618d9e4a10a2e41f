// SPDX-License-Identifier: MIT
#pragma once

#include "platform/audio/SoundServer.h"
#include "sensing/MicrophoneDetection.h"

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace sorvala {

class Logger;

/// Keeps the sound server's capture sources and recording streams up to date on a thread of
/// its own (PulseAudio, or PipeWire through pipewire-pulse), so asking costs no round trip.
class PulseMicrophoneMonitor {
public:
    /// Loads the sound module and connects in the background; never starts a sound server.
    /// Without the module it has failed from the start (said in `log`).
    explicit PulseMicrophoneMonitor(Logger* log = nullptr);
    ~PulseMicrophoneMonitor();
    PulseMicrophoneMonitor(const PulseMicrophoneMonitor&) = delete;
    PulseMicrophoneMonitor& operator=(const PulseMicrophoneMonitor&) = delete;

    /// Waits up to `limit` for the first lists or the failure, so a first question right after
    /// connecting has its answer.
    void settle(std::chrono::milliseconds limit);

    /// Whether the server is connected and both lists have arrived at least once.
    bool isReady() const;
    /// Whether the connection failed or was lost (no sound server, or it went away).
    bool failed() const;

    /// Whether another program records from a microphone, over the latest lists; nullopt when
    /// not ready (the caller may then look elsewhere). A lost server is retried now and then.
    std::optional<bool> microphoneInUse();

    /// The sources and streams last seen, for tests and `sorvalactl probe`.
    std::vector<MicrophoneDetection::Source> sources() const;
    std::vector<MicrophoneDetection::Stream> streams() const;

private:
    SoundServer::CaptureLists::Snapshot snapshot() const;

    std::unique_ptr<SoundServer::CaptureLists> m_lists;
    std::chrono::steady_clock::time_point m_lastAttempt;
};

} // namespace sorvala
