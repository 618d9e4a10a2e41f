// SPDX-License-Identifier: MIT
#include "platform/audio/AppSound.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace sorvala {

AppSound::AppSound(const PreferencesStore& store, Logger& log) : m_log(log), m_store(&store) {}

AppSound::AppSound(Logger& log) : m_log(log) {}

AppSound::~AppSound() = default;

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
        m_last->stop(); // chimes never overlap
    const std::string path = resourcePath(name);
    if (!SoundDesign::isSoundName(name) || !QFile::exists(QString::fromStdString(path))) {
        m_log.log("sound not played: system sound " + std::string(name) + " is missing");
        return false;
    }
    // QSoundEffect reports Ready without a sound server, so ask for an output device first.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return false;
    QSoundEffect* sound = effect(std::string(name));
    sound->setVolume(std::clamp(volume, 0.0f, 1.0f));
    sound->play();
    m_last = sound;
    return true;
}

bool AppSound::isPlaying() const {
    if (!m_last)
        return false;
    return m_last->isPlaying() || m_last->status() == QSoundEffect::Loading;
}

bool AppSound::failed() const {
    return m_last && m_last->status() == QSoundEffect::Error;
}

QSoundEffect* AppSound::effect(const std::string& name) {
    auto found = m_effects.find(name);
    if (found != m_effects.end())
        return found->second.get();
    auto sound = std::make_unique<QSoundEffect>();
    sound->setSource(QUrl(QStringLiteral("qrc") + QString::fromStdString(resourcePath(name))));
    return m_effects.emplace(name, std::move(sound)).first->second.get();
}

} // namespace sorvala
