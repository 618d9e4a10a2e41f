// SPDX-License-Identifier: MIT
#pragma once

#include "core/Clock.h"
#include "core/Logger.h"

#include <string>
#include <vector>

namespace sorvala {

/// One run's record in time order: the application's log lines and, between them, what the
/// simulated windows were asked to do.
class Timeline final : public Logger {
public:
    struct Entry {
        Instant at;
        std::string text;
        bool isLogLine = true; ///< false for a port call, which the real log never sees
    };

    explicit Timeline(const Clock& clock) : m_clock(clock) {}
    void log(std::string_view message) override { m_entries.push_back({m_clock.now(), std::string(message), true}); }
    /// Notes a port call ("notice shown kind=preBreak").
    void note(std::string text) { m_entries.push_back({m_clock.now(), std::move(text), false}); }

    const std::vector<Entry>& entries() const { return m_entries; }
    /// Forgets every entry and the memory they took, for runs too long to keep them all.
    void clear() { std::vector<Entry>().swap(m_entries); }
    /// The log lines alone, without their dates.
    std::vector<std::string> logLines() const;
    /// Every entry's text, port calls included.
    std::vector<std::string> texts() const;
    /// Whether some log line contains `fragment`.
    bool logged(std::string_view fragment) const;
    /// How many log lines contain `fragment`.
    int count(std::string_view fragment) const;

private:
    const Clock& m_clock;
    std::vector<Entry> m_entries;
};

} // namespace sorvala
