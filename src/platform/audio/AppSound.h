// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "notices/SoundDesign.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

class QSoundEffect;

namespace sorvala {

/// Plays our chimes through Qt Multimedia, one at a time.
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
    /// the chime is off, its volume is 0 or there is no audio output.
    void play(SoundDesign::Event event);

    /// Plays the chime `name` at `volume` (0 to 1), stopping the one before. False when nothing
    /// will sound: the name is unknown, the chime is missing, or there is no audio output.
    bool playSound(std::string_view name, float volume);

    /// Whether the chime played last is still sounding (or still loading before it sounds).
    bool isPlaying() const;
    /// Whether the chime played last could not be loaded.
    bool failed() const;

    /// The chime played last, for callers that wait for it to end; null before the first.
    QSoundEffect* lastEffect() const { return m_last; }

    /// Where the chime called `name` is stored (a Qt resource path).
    static std::string resourcePath(std::string_view name);

private:
    QSoundEffect* effect(const std::string& name);

    Logger& m_log;
    const PreferencesStore* m_store = nullptr;
    std::map<std::string, std::unique_ptr<QSoundEffect>, std::less<>> m_effects;
    QSoundEffect* m_last = nullptr;
};

} // namespace sorvala
