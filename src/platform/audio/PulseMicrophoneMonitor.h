// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/MicrophoneDetection.h"

#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;

namespace sorvala {

/// Keeps the sound server's capture sources and recording streams up to date on a thread of
/// its own (PulseAudio, or PipeWire through pipewire-pulse), so asking costs no round trip.
class PulseMicrophoneMonitor {
public:
    /// Connects in the background; never starts a sound server.
    PulseMicrophoneMonitor();
    ~PulseMicrophoneMonitor();
    PulseMicrophoneMonitor(const PulseMicrophoneMonitor&) = delete;
    PulseMicrophoneMonitor& operator=(const PulseMicrophoneMonitor&) = delete;

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
    struct Callbacks;
    void connect();
    void disconnect();
    void refresh(); // with the mainloop locked

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    std::chrono::steady_clock::time_point m_lastAttempt;

    mutable std::mutex m_mutex;
    bool m_failed = false;
    bool m_haveSources = false;
    bool m_haveStreams = false;
    std::vector<MicrophoneDetection::Source> m_sources;
    std::vector<MicrophoneDetection::Stream> m_streams;
    // Lists being filled by a running query, swapped in when it ends.
    std::vector<MicrophoneDetection::Source> m_nextSources;
    std::vector<MicrophoneDetection::Stream> m_nextStreams;
};

} // namespace sorvala
