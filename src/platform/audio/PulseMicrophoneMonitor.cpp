// SPDX-License-Identifier: MIT
#include "platform/audio/PulseMicrophoneMonitor.h"

#include <unistd.h>

#include <thread>

namespace sorvala {

namespace {
constexpr auto retryAfter = std::chrono::seconds(30);
} // namespace

PulseMicrophoneMonitor::PulseMicrophoneMonitor(Logger* log) : m_lastAttempt(std::chrono::steady_clock::now()) {
    if (auto* server = SoundServer::load(log))
        m_lists = server->captureLists();
}

PulseMicrophoneMonitor::~PulseMicrophoneMonitor() = default;

SoundServer::CaptureLists::Snapshot PulseMicrophoneMonitor::snapshot() const {
    if (m_lists)
        return m_lists->snapshot();
    SoundServer::CaptureLists::Snapshot none;
    none.failed = true;
    return none;
}

void PulseMicrophoneMonitor::settle(std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    for (auto lists = snapshot(); !lists.failed && !lists.complete; lists = snapshot()) {
        if (std::chrono::steady_clock::now() >= until)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool PulseMicrophoneMonitor::isReady() const {
    const auto lists = snapshot();
    return !lists.failed && lists.complete;
}

bool PulseMicrophoneMonitor::failed() const {
    return snapshot().failed;
}

std::optional<bool> PulseMicrophoneMonitor::microphoneInUse() {
    const auto lists = snapshot();
    if (!lists.failed && lists.complete)
        return MicrophoneDetection::microphoneInUse(lists.sources, lists.streams,
                                                    static_cast<std::uint32_t>(getpid()));
    if (lists.failed && m_lists && std::chrono::steady_clock::now() - m_lastAttempt > retryAfter) {
        m_lastAttempt = std::chrono::steady_clock::now();
        m_lists->reconnect();
    }
    return std::nullopt;
}

std::vector<MicrophoneDetection::Source> PulseMicrophoneMonitor::sources() const {
    return snapshot().sources;
}

std::vector<MicrophoneDetection::Stream> PulseMicrophoneMonitor::streams() const {
    return snapshot().streams;
}

} // namespace sorvala
