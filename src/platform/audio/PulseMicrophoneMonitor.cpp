// SPDX-License-Identifier: MIT
#include "platform/audio/PulseMicrophoneMonitor.h"

#include <pulse/pulseaudio.h>
#include <unistd.h>

#include <charconv>
#include <cstring>

namespace sorvala {

namespace {
constexpr auto retryAfter = std::chrono::seconds(30);

std::string property(pa_proplist* list, const char* key) {
    const char* value = list ? pa_proplist_gets(list, key) : nullptr;
    return value ? value : "";
}
} // namespace

// libpulse calls these on its own thread, with the mainloop lock held.
struct PulseMicrophoneMonitor::Callbacks {
    static void state(pa_context* context, void* self) {
        auto* monitor = static_cast<PulseMicrophoneMonitor*>(self);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            pa_context_set_subscribe_callback(context, event, self);
            pa_operation_unref(pa_context_subscribe(
                context,
                pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SOURCE | PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT),
                nullptr, nullptr));
            monitor->refresh();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED: {
            std::lock_guard lock(monitor->m_mutex);
            monitor->m_failed = true;
            break;
        }
        default: break;
        }
    }

    static void event(pa_context*, pa_subscription_event_type_t, uint32_t, void* self) {
        static_cast<PulseMicrophoneMonitor*>(self)->refresh();
    }

    static void source(pa_context*, const pa_source_info* info, int eol, void* self) {
        auto* monitor = static_cast<PulseMicrophoneMonitor*>(self);
        std::lock_guard lock(monitor->m_mutex);
        if (eol) {
            monitor->m_sources.swap(monitor->m_nextSources);
            monitor->m_nextSources.clear();
            monitor->m_haveSources = true;
            return;
        }
        monitor->m_nextSources.push_back(
            {info->index, info->name ? info->name : "", info->monitor_of_sink != PA_INVALID_INDEX});
    }

    static void stream(pa_context*, const pa_source_output_info* info, int eol, void* self) {
        auto* monitor = static_cast<PulseMicrophoneMonitor*>(self);
        std::lock_guard lock(monitor->m_mutex);
        if (eol) {
            monitor->m_streams.swap(monitor->m_nextStreams);
            monitor->m_nextStreams.clear();
            monitor->m_haveStreams = true;
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
        monitor->m_nextStreams.push_back(std::move(stream));
    }
};

PulseMicrophoneMonitor::PulseMicrophoneMonitor() {
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop || pa_threaded_mainloop_start(m_loop) < 0) {
        std::lock_guard lock(m_mutex);
        m_failed = true;
        return;
    }
    connect();
}

PulseMicrophoneMonitor::~PulseMicrophoneMonitor() {
    if (!m_loop)
        return;
    disconnect();
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
}

void PulseMicrophoneMonitor::connect() {
    pa_threaded_mainloop_lock(m_loop);
    m_lastAttempt = std::chrono::steady_clock::now();
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Sorvala");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "sorvala");
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Sorvala", props);
    pa_proplist_free(props);
    {
        std::lock_guard lock(m_mutex);
        m_failed = m_context == nullptr;
        m_haveSources = m_haveStreams = false;
    }
    if (m_context) {
        pa_context_set_state_callback(m_context, Callbacks::state, this);
        if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            std::lock_guard lock(m_mutex);
            m_failed = true;
        }
    }
    pa_threaded_mainloop_unlock(m_loop);
}

void PulseMicrophoneMonitor::disconnect() {
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

void PulseMicrophoneMonitor::refresh() {
    // Re-reading both lists on every change keeps the bookkeeping trivial; they are short.
    if (auto* op = pa_context_get_source_info_list(m_context, Callbacks::source, this))
        pa_operation_unref(op);
    if (auto* op = pa_context_get_source_output_info_list(m_context, Callbacks::stream, this))
        pa_operation_unref(op);
}

bool PulseMicrophoneMonitor::isReady() const {
    std::lock_guard lock(m_mutex);
    return !m_failed && m_haveSources && m_haveStreams;
}

bool PulseMicrophoneMonitor::failed() const {
    std::lock_guard lock(m_mutex);
    return m_failed;
}

std::optional<bool> PulseMicrophoneMonitor::microphoneInUse() {
    bool failed = false;
    {
        std::lock_guard lock(m_mutex);
        failed = m_failed;
        if (!failed && m_haveSources && m_haveStreams)
            return MicrophoneDetection::microphoneInUse(m_sources, m_streams,
                                                        static_cast<std::uint32_t>(getpid()));
    }
    if (failed && m_loop && std::chrono::steady_clock::now() - m_lastAttempt > retryAfter) {
        disconnect();
        connect();
    }
    return std::nullopt;
}

std::vector<MicrophoneDetection::Source> PulseMicrophoneMonitor::sources() const {
    std::lock_guard lock(m_mutex);
    return m_sources;
}

std::vector<MicrophoneDetection::Stream> PulseMicrophoneMonitor::streams() const {
    std::lock_guard lock(m_mutex);
    return m_streams;
}

} // namespace sorvala
