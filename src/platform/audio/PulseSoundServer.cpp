// SPDX-License-Identifier: MIT
// The sound module: everything of ours that calls libpulse.
#include "platform/audio/SoundServer.h"

#include <QtGlobal>

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstring>
#include <mutex>
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

using End = SoundServer::End;

/// One chime on its way to the server. The player's thread asks it to stop; the chime's own
/// thread runs its connection and reports how it ended.
class PulseChime final : public SoundServer::Chime {
public:
    PulseChime(Pcm sound, float linear) : m_pcm(std::move(sound)), m_volume(pa_sw_volume_from_linear(linear)) {}
    ~PulseChime() override {
        if (m_loop)
            pa_mainloop_free(m_loop);
    }

    void requestStop() override {
        m_stop = true;
        if (m_loop)
            pa_mainloop_wakeup(m_loop); // the one call libpulse allows from another thread
    }

    End run() override {
        const End end = m_loop ? play() : End::failed;
        // The last chime's record outlives its playing; its samples need not.
        m_pcm.samples = QByteArray();
        return end;
    }

private:
    // Blocks until something happens on the connection or a stop is asked for.
    bool iterate() { return !m_stop && pa_mainloop_iterate(m_loop, 1, nullptr) >= 0; }

    End play() {
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Sorvala");
        pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "sorvala");
        pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "event");
        pa_context* context = pa_context_new_with_proplist(pa_mainloop_get_api(m_loop), "Sorvala", props);
        pa_proplist_free(props);
        if (!context)
            return End::failed;
        End result = End::noServer;
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 && connected(context))
            result = stream(context);
        else if (m_stop)
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
        pa_stream* stream = pa_stream_new(context, "Chime", &m_pcm.spec, nullptr);
        if (!stream)
            return End::failed;
        // A short target buffer keeps the writes paced with the playback, so a stop is heard at once.
        pa_buffer_attr buffer{std::uint32_t(-1), std::uint32_t(pa_usec_to_bytes(100'000, &m_pcm.spec)),
                              std::uint32_t(-1), std::uint32_t(-1), std::uint32_t(-1)};
        pa_cvolume volumes;
        pa_cvolume_set(&volumes, m_pcm.spec.channels, m_volume);
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
        while (at < m_pcm.samples.size()) {
            const std::size_t room = pa_stream_get_state(stream) == PA_STREAM_READY
                                         ? pa_stream_writable_size(stream)
                                         : 0;
            if (room == std::size_t(-1))
                return End::failed;
            if (room > 0) {
                const auto size = std::min<std::size_t>(room, std::size_t(m_pcm.samples.size() - at));
                if (pa_stream_write(stream, m_pcm.samples.constData() + at, size, nullptr, 0, PA_SEEK_RELATIVE) < 0)
                    return End::failed;
                at += qsizetype(size);
            } else if (!good() || !iterate()) {
                return m_stop ? End::stopped : End::failed;
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
        return drained ? End::played : m_stop ? End::stopped : End::failed;
    }

    Pcm m_pcm;
    pa_volume_t m_volume = PA_VOLUME_NORM;
    pa_mainloop* m_loop = pa_mainloop_new();
    std::atomic<bool> m_stop = false;
};

std::string property(pa_proplist* list, const char* key) {
    const char* value = list ? pa_proplist_gets(list, key) : nullptr;
    return value ? value : "";
}

/// The capture lists over a threaded mainloop; libpulse calls the callbacks on its own thread,
/// with the mainloop lock held.
class PulseCaptureLists final : public SoundServer::CaptureLists {
public:
    PulseCaptureLists() {
        m_loop = pa_threaded_mainloop_new();
        if (!m_loop || pa_threaded_mainloop_start(m_loop) < 0) {
            std::lock_guard lock(m_mutex);
            m_lists.failed = true;
            return;
        }
        connect();
    }

    ~PulseCaptureLists() override {
        if (!m_loop)
            return;
        disconnect();
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }

    Snapshot snapshot() const override {
        std::lock_guard lock(m_mutex);
        return m_lists;
    }

    void reconnect() override {
        if (!m_loop)
            return;
        disconnect();
        connect();
    }

private:
    static void state(pa_context* context, void* self) {
        auto* lists = static_cast<PulseCaptureLists*>(self);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            pa_context_set_subscribe_callback(context, event, self);
            pa_operation_unref(pa_context_subscribe(
                context,
                pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SOURCE | PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT),
                nullptr, nullptr));
            lists->refresh();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED: {
            std::lock_guard lock(lists->m_mutex);
            lists->m_lists.failed = true;
            break;
        }
        default: break;
        }
    }

    static void event(pa_context*, pa_subscription_event_type_t, uint32_t, void* self) {
        static_cast<PulseCaptureLists*>(self)->refresh();
    }

    static void source(pa_context*, const pa_source_info* info, int eol, void* self) {
        auto* lists = static_cast<PulseCaptureLists*>(self);
        std::lock_guard lock(lists->m_mutex);
        if (eol) {
            lists->m_lists.sources.swap(lists->m_nextSources);
            lists->m_nextSources.clear();
            lists->m_haveSources = true;
            lists->m_lists.complete = lists->m_haveStreams;
            return;
        }
        lists->m_nextSources.push_back(
            {info->index, info->name ? info->name : "", info->monitor_of_sink != PA_INVALID_INDEX});
    }

    static void stream(pa_context*, const pa_source_output_info* info, int eol, void* self) {
        auto* lists = static_cast<PulseCaptureLists*>(self);
        std::lock_guard lock(lists->m_mutex);
        if (eol) {
            lists->m_lists.streams.swap(lists->m_nextStreams);
            lists->m_nextStreams.clear();
            lists->m_haveStreams = true;
            lists->m_lists.complete = lists->m_haveSources;
            return;
        }
        MicrophoneDetection::Stream stream;
        stream.index = info->index;
        stream.source = info->source;
        stream.corked = info->corked != 0;
        stream.applicationId = property(info->proplist, PA_PROP_APPLICATION_ID);
        stream.applicationName = property(info->proplist, PA_PROP_APPLICATION_NAME);
        const std::string pid = property(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
        std::uint32_t value = 0;
        if (!pid.empty() && std::from_chars(pid.data(), pid.data() + pid.size(), value).ec == std::errc())
            stream.processId = value;
        lists->m_nextStreams.push_back(std::move(stream));
    }

    void connect() {
        pa_threaded_mainloop_lock(m_loop);
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Sorvala");
        pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "sorvala");
        m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Sorvala", props);
        pa_proplist_free(props);
        {
            std::lock_guard lock(m_mutex);
            m_lists.failed = m_context == nullptr;
            m_lists.complete = m_haveSources = m_haveStreams = false;
        }
        if (m_context) {
            pa_context_set_state_callback(m_context, state, this);
            if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
                std::lock_guard lock(m_mutex);
                m_lists.failed = true;
            }
        }
        pa_threaded_mainloop_unlock(m_loop);
    }

    void disconnect() {
        pa_threaded_mainloop_lock(m_loop);
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
        pa_threaded_mainloop_unlock(m_loop);
    }

    // With the mainloop locked. Re-reading both lists on every change keeps the bookkeeping
    // trivial; they are short.
    void refresh() {
        if (auto* op = pa_context_get_source_info_list(m_context, source, this))
            pa_operation_unref(op);
        if (auto* op = pa_context_get_source_output_info_list(m_context, stream, this))
            pa_operation_unref(op);
    }

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;

    mutable std::mutex m_mutex;
    Snapshot m_lists;
    bool m_haveSources = false;
    bool m_haveStreams = false;
    // Lists being filled by a running query, swapped in when it ends.
    std::vector<MicrophoneDetection::Source> m_nextSources;
    std::vector<MicrophoneDetection::Stream> m_nextStreams;
};

class PulseSoundServer final : public SoundServer {
public:
    std::unique_ptr<Chime> chime(const QByteArray& wave, float volume) override {
        auto pcm = readWave(wave);
        if (!pcm)
            return nullptr;
        return std::make_unique<PulseChime>(std::move(*pcm), volume);
    }

    std::unique_ptr<CaptureLists> captureLists() override { return std::make_unique<PulseCaptureLists>(); }
};

} // namespace

} // namespace sorvala

extern "C" Q_DECL_EXPORT void* sorvala_module() {
    static sorvala::PulseSoundServer server;
    return static_cast<sorvala::SoundServer*>(&server);
}
