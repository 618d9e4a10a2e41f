// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/MicrophoneDetection.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace sorvala {

class Logger;

/// The PulseAudio client (PipeWire through pipewire-pulse): our chimes and the capture lists.
/// It lives in the sound module, loaded at the first chime or microphone question, so a program
/// that has done neither maps no libpulse.
class SoundServer {
public:
    /// How a chime ended; `playing` until it has.
    enum class End { playing, played, stopped, noServer, failed };

    /// One chime on a connection of its own.
    class Chime {
    public:
        virtual ~Chime() = default;
        /// Plays to the end, blocking the calling thread (the chime's own).
        virtual End run() = 0;
        /// Asks a running `run` to stop soon; callable from any thread.
        virtual void requestStop() = 0;
    };

    /// The server's capture sources and recording streams, kept current on a thread of their own.
    class CaptureLists {
    public:
        struct Snapshot {
            bool failed = false;   ///< the connection failed or was lost
            bool complete = false; ///< both lists have arrived at least once
            std::vector<MicrophoneDetection::Source> sources;
            std::vector<MicrophoneDetection::Stream> streams;
        };
        virtual ~CaptureLists() = default;
        virtual Snapshot snapshot() const = 0;
        /// Drops the connection and starts a new one.
        virtual void reconnect() = 0;
    };

    virtual ~SoundServer() = default;
    /// A chime of `wave` (a WAV file of 16-bit integer PCM) at `volume` (0 to 1); null for any
    /// other file.
    virtual std::unique_ptr<Chime> chime(const QByteArray& wave, float volume) = 0;
    /// Lists that connect in the background; never starts a sound server.
    virtual std::unique_ptr<CaptureLists> captureLists() = 0;

    /// The sound module's server, loaded on the first call; null when the module cannot be
    /// loaded (said in `log`).
    static SoundServer* load(Logger* log);
};

} // namespace sorvala
