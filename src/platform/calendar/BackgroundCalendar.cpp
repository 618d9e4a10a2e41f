// SPDX-License-Identifier: MIT
#include "platform/calendar/BackgroundCalendar.h"

namespace sorvala {

BackgroundCalendar::BackgroundCalendar(Logger* log, std::chrono::seconds refresh, double readAheadSeconds)
    : m_refresh(refresh), m_readAhead(readAheadSeconds), m_log(log), m_thread([this] { run(); }) {}

BackgroundCalendar::~BackgroundCalendar() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool BackgroundCalendar::eventInProgress(const std::vector<std::string>& sources, Instant now) {
    std::lock_guard lock(m_mutex);
    const auto tick = std::chrono::steady_clock::now();
    const bool outside = now < m_askedFrom || now > m_askedFrom + m_readAhead / 2;
    if (sources != m_askedSources || !m_askedAt || tick - *m_askedAt >= m_refresh || outside) {
        if (sources != m_askedSources)
            m_events.clear(); // another calendar's events say nothing about these sources
        m_askedSources = sources;
        m_askedAt = tick;
        m_askedFrom = now;
        m_pending = Request{sources, now};
        m_changed.notify_all();
    }
    return CalendarPause::eventInProgress(m_events, now);
}

void BackgroundCalendar::waitUntilRead() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_reading; });
}

void BackgroundCalendar::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || m_pending; });
        if (m_stopping)
            return;
        const Request request = std::move(*m_pending);
        m_pending.reset();
        m_reading = true;
        lock.unlock();
        if (!m_files)
            if (auto* files = CalendarFiles::load(m_log))
                m_files = files->reader();
        auto events = m_files ? m_files->occurrences(request.sources, request.from, request.from + m_readAhead)
                              : std::vector<CalendarPause::Event>{};
        lock.lock();
        m_reading = false;
        // A reading overtaken by a change of sources is dropped; the newer request follows.
        if (request.sources == m_askedSources)
            m_events = std::move(events);
        m_changed.notify_all();
    }
}

} // namespace sorvala
