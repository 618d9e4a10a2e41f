// SPDX-License-Identifier: MIT
#include "app/FileBreakHistory.h"

#include "core/Clock.h"

namespace sorvala {

FileBreakHistory::FileBreakHistory(const Clock& clock, Logger& log, std::filesystem::path url)
    : m_clock(clock), m_log(log), m_reader(std::move(url)) {}

void FileBreakHistory::record(BreakEvent::Kind kind, BreakEvent::Outcome outcome,
                              std::optional<double> durationSeconds) {
    BreakLog::record(kind, outcome, durationSeconds, m_clock.now(), m_log, m_reader.url());
}

std::vector<BreakEvent> FileBreakHistory::events() {
    return *m_reader.events(m_log);
}

std::vector<BreakEvent> FileBreakHistory::eventsSince(Instant from) {
    return m_reader.eventsSince(from, m_log);
}

} // namespace sorvala
