// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "notices/SoundDesign.h"

#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sorvala {

/// Plays our chimes on the PulseAudio server, one at a time. Each chime opens a connection of
/// its own on a thread of its own, so a sound server that restarted is simply found again. The
/// sound module is loaded at the first chime.
class AppSound {
public:
    /// A player for `play`, which reads the chime settings from `store`.
    AppSound(const PreferencesStore& store, Logger& log);
    /// A player of named chimes only (`playSound`); `play` stays silent.
    explicit AppSound(Logger& log);
    ~AppSound();
    AppSound(const AppSound&) = delete;
    AppSound& operator=(const AppSound&) = delete;

    /// Reads the event's settings now and plays its chime, stopping the one before; silent when
    /// the chime is off or its volume is 0.
    void play(SoundDesign::Event event);

    /// Plays the chime `name` at `volume` (0 to 1), stopping the one before. False when the name
    /// is unknown or the chime is missing; whether the sound server took it shows later in
    /// `failed` and `unheard`.
    bool playSound(std::string_view name, float volume);

    /// Whether the chime played last is still sounding (or still reaching the server).
    bool isPlaying() const;
    /// Whether the chime played last ended without being played.
    bool failed() const;
    /// Whether the chime played last found no sound server to play on.
    bool unheard() const;

    /// Where the chime called `name` is stored (a Qt resource path).
    static std::string resourcePath(std::string_view name);

    struct Chime;

private:
    void noteServer();

    Logger& m_log;
    const PreferencesStore* m_store = nullptr;
    std::shared_ptr<Chime> m_last;
    std::vector<std::pair<std::shared_ptr<Chime>, std::thread>> m_chimes;
    bool m_serverMissing = false;
};

} // namespace sorvala
