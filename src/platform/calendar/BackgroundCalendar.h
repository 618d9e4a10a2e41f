// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"
#include "platform/calendar/CalendarFiles.h"
#include "sensing/CalendarPause.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sorvala {

/// Whether a calendar event is in progress, asked on the main thread and answered at once from
/// the last reading: the iCalendar files are read and parsed on a thread of its own, which may
/// take seconds for a large folder or a long recurrence. No event is known before the first
/// reading ends.
class BackgroundCalendar {
public:
    /// A reading covers `readAhead` from its instant; a new one starts when the sources change,
    /// the last one is older than `refresh`, or the clock leaves what was read.
    /// The calendar module is loaded at the first reading; without it no event is known, which
    /// each reading says in `log`.
    explicit BackgroundCalendar(Logger* log = nullptr, std::chrono::seconds refresh = std::chrono::seconds(60),
                                double readAheadSeconds = 3600);
    ~BackgroundCalendar();
    BackgroundCalendar(const BackgroundCalendar&) = delete;
    BackgroundCalendar& operator=(const BackgroundCalendar&) = delete;

    /// Whether an event of `sources` is in progress at `now`, from the last reading.
    bool eventInProgress(const std::vector<std::string>& sources, Instant now);
    /// Waits until no reading is pending or running (for the command line, tests and benchmarks).
    void waitUntilRead();

private:
    struct Request {
        std::vector<std::string> sources;
        Instant from;
    };
    void run();

    const std::chrono::seconds m_refresh;
    const double m_readAhead;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Request> m_pending;
    bool m_reading = false;
    bool m_stopping = false;
    // The last reading finished, or asked for: what the main thread answers from.
    std::vector<std::string> m_askedSources;
    std::optional<std::chrono::steady_clock::time_point> m_askedAt;
    Instant m_askedFrom;
    std::vector<CalendarPause::Event> m_events;
    Logger* m_log;
    std::unique_ptr<CalendarFiles::Reader> m_files; ///< only the reading thread touches it
    std::thread m_thread;
};

} // namespace sorvala
