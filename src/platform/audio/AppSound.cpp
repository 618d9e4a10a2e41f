// SPDX-License-Identifier: MIT
#include "platform/audio/AppSound.h"

#include "platform/audio/SoundServer.h"

#include <QFile>

#include <algorithm>
#include <atomic>

namespace sorvala {

/// One chime on its way to the server. The player's thread asks it to stop; the chime's own
/// thread runs it and records how it ended.
struct AppSound::Chime {
    using End = SoundServer::End;

    std::unique_ptr<SoundServer::Chime> playback;
    std::atomic<End> end = End::playing;

    explicit Chime(std::unique_ptr<SoundServer::Chime> sound) : playback(std::move(sound)) {}
    void requestStop() { playback->requestStop(); }
    void run() { end = playback->run(); }
};

AppSound::AppSound(const PreferencesStore& store, Logger& log) : m_log(log), m_store(&store) {}

AppSound::AppSound(Logger& log) : m_log(log) {}

AppSound::~AppSound() {
    for (auto& [chime, thread] : m_chimes) {
        chime->requestStop();
        thread.join();
    }
}

std::string AppSound::resourcePath(std::string_view name) {
    return ":/sounds/" + std::string(name) + ".wav";
}

void AppSound::play(SoundDesign::Event event) {
    if (!m_store)
        return;
    const auto resolved = SoundDesign::storedResolve(*m_store, event);
    if (!resolved)
        return;
    playSound(resolved->soundName, resolved->volume);
}

bool AppSound::playSound(std::string_view name, float volume) {
    if (m_last)
        m_last->requestStop(); // chimes never overlap
    noteServer();
    std::erase_if(m_chimes, [](auto& entry) {
        if (entry.first->end == Chime::End::playing)
            return false;
        entry.second.join();
        return true;
    });
    QFile file(QString::fromStdString(resourcePath(name)));
    if (!SoundDesign::isSoundName(name) || !file.open(QIODevice::ReadOnly)) {
        m_log.log("sound not played: system sound " + std::string(name) + " is missing");
        return false;
    }
    SoundServer* server = SoundServer::load(&m_log);
    if (!server)
        return false; // the loader said why
    auto playback = server->chime(file.readAll(), std::clamp(volume, 0.0f, 1.0f));
    if (!playback) {
        m_log.log("sound not played: system sound " + std::string(name) + " is missing");
        return false;
    }
    m_last = std::make_shared<Chime>(std::move(playback));
    m_chimes.emplace_back(m_last, std::thread([chime = m_last] { chime->run(); }));
    return true;
}

// Said once when chimes stop reaching the server and once when they reach it again.
void AppSound::noteServer() {
    if (!m_last || m_last->end == Chime::End::playing || m_last->end == Chime::End::stopped)
        return;
    const bool missing = m_last->end == Chime::End::noServer;
    if (missing == m_serverMissing)
        return;
    m_serverMissing = missing;
    m_log.log(missing ? "sound server unreachable: chimes stay silent until it is back"
                      : "sound server reachable again: chimes sound");
}

bool AppSound::isPlaying() const {
    return m_last && m_last->end == Chime::End::playing;
}

bool AppSound::failed() const {
    const auto end = m_last ? m_last->end.load() : Chime::End::playing;
    return end == Chime::End::failed || end == Chime::End::noServer;
}

bool AppSound::unheard() const {
    return m_last && m_last->end == Chime::End::noServer;
}

} // namespace sorvala
