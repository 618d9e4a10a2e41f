// SPDX-License-Identifier: MIT
#include "platform/audio/AppSound.h"

#include <QFile>

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>

namespace sorvala {

namespace {

struct Pcm {
    pa_sample_spec spec{};
    QByteArray samples;
};

std::uint32_t little(const char* bytes, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes[i]);
    return value;
}

/// The 16-bit samples of a WAV file and their format; nullopt for anything else.
std::optional<Pcm> readWave(const QByteArray& file) {
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    Pcm pcm;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype size = little(file.constData() + at + 4, 4);
        const qsizetype body = at + 8;
        if (body + size > file.size())
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            const char* fmt = file.constData() + body;
            if (little(fmt, 2) != 1 || little(fmt + 14, 2) != 16)
                return std::nullopt; // integer PCM of 16 bits only
            pcm.spec = {PA_SAMPLE_S16LE, little(fmt + 4, 4), std::uint8_t(little(fmt + 2, 2))};
            haveFormat = pa_sample_spec_valid(&pcm.spec) != 0;
        } else if (id == "data" && haveFormat) {
            pcm.samples = file.mid(body, size);
            return pcm;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

} // namespace

/// One chime on its way to the server. The player's thread asks it to stop; the chime's own
/// thread runs its connection and reports how it ended.
struct AppSound::Chime {
    enum class End { playing, played, stopped, noServer, failed };

    Pcm pcm;
    pa_volume_t volume = PA_VOLUME_NORM;
    pa_mainloop* loop = pa_mainloop_new();
    std::atomic<bool> stop = false;
    std::atomic<End> end = End::playing;

    Chime(Pcm sound, float linear) : pcm(std::move(sound)), volume(pa_sw_volume_from_linear(linear)) {}
    ~Chime() {
        if (loop)
            pa_mainloop_free(loop);
    }

    void requestStop() {
        stop = true;
        if (loop)
            pa_mainloop_wakeup(loop); // the one call libpulse allows from another thread
    }

    void run() { end = loop ? play() : End::failed; }

private:
    // Blocks until something happens on the connection or a stop is asked for.
    bool iterate() { return !stop && pa_mainloop_iterate(loop, 1, nullptr) >= 0; }

    End play() {
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Sorvala");
        pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "sorvala");
        pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "event");
        pa_context* context = pa_context_new_with_proplist(pa_mainloop_get_api(loop), "Sorvala", props);
        pa_proplist_free(props);
        if (!context)
            return End::failed;
        End result = End::noServer;
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 && connected(context))
            result = stream(context);
        else if (stop)
            result = End::stopped;
        pa_context_disconnect(context);
        pa_context_unref(context);
        return result;
    }

    bool connected(pa_context* context) {
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY)
                return true;
            if (!PA_CONTEXT_IS_GOOD(state) || !iterate())
                return false;
        }
    }

    End stream(pa_context* context) {
        pa_stream* stream = pa_stream_new(context, "Chime", &pcm.spec, nullptr);
        if (!stream)
            return End::failed;
        // A short target buffer keeps the writes paced with the playback, so a stop is heard at once.
        pa_buffer_attr buffer{std::uint32_t(-1), std::uint32_t(pa_usec_to_bytes(100'000, &pcm.spec)),
                              std::uint32_t(-1), std::uint32_t(-1), std::uint32_t(-1)};
        pa_cvolume volumes;
        pa_cvolume_set(&volumes, pcm.spec.channels, volume);
        End result = End::failed;
        if (pa_stream_connect_playback(stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, &volumes, nullptr) >= 0)
            result = write(stream);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        return result;
    }

    End write(pa_stream* stream) {
        const auto good = [&] { return PA_STREAM_IS_GOOD(pa_stream_get_state(stream)); };
        qsizetype at = 0;
        while (at < pcm.samples.size()) {
            const std::size_t room = pa_stream_get_state(stream) == PA_STREAM_READY
                                         ? pa_stream_writable_size(stream)
                                         : 0;
            if (room == std::size_t(-1))
                return End::failed;
            if (room > 0) {
                const auto size = std::min<std::size_t>(room, std::size_t(pcm.samples.size() - at));
                if (pa_stream_write(stream, pcm.samples.constData() + at, size, nullptr, 0, PA_SEEK_RELATIVE) < 0)
                    return End::failed;
                at += qsizetype(size);
            } else if (!good() || !iterate()) {
                return stop ? End::stopped : End::failed;
            }
        }
        bool drained = false;
        pa_operation* drain = pa_stream_drain(
            stream, [](pa_stream*, int, void* done) { *static_cast<bool*>(done) = true; }, &drained);
        while (drain && !drained && good() && iterate()) {
        }
        if (drain) {
            pa_operation_cancel(drain);
            pa_operation_unref(drain);
        }
        return drained ? End::played : stop ? End::stopped : End::failed;
    }
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
    std::optional<Pcm> pcm;
    if (SoundDesign::isSoundName(name) && file.open(QIODevice::ReadOnly))
        pcm = readWave(file.readAll());
    if (!pcm) {
        m_log.log("sound not played: system sound " + std::string(name) + " is missing");
        return false;
    }
    m_last = std::make_shared<Chime>(std::move(*pcm), std::clamp(volume, 0.0f, 1.0f));
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
