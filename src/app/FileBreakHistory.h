// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/BreakHistory.h"
#include "history/BreakLog.h"

#include <filesystem>

namespace sorvala {

class Clock;
class Logger;

/// The break history in its JSON Lines file.
class FileBreakHistory final : public BreakHistory {
public:
    /// The history in `url`, dating records by `clock` and reporting through `log`.
    FileBreakHistory(const Clock& clock, Logger& log, std::filesystem::path url = BreakLog::fileURL());

    void record(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> durationSeconds) override;
    std::vector<BreakEvent> events() override;
    std::vector<BreakEvent> eventsSince(Instant from) override;

private:
    const Clock& m_clock;
    Logger& m_log;
    BreakLogReader m_reader;
};

} // namespace sorvala
