// SPDX-License-Identifier: MIT
#pragma once

#include "core/Clock.h"
#include "history/BreakLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace sorvala {

/// A clock that stays where it is put.
class FixedClock final : public Clock {
public:
    explicit FixedClock(Instant now) : m_now(now) {}
    Instant now() const override { return m_now; }

private:
    Instant m_now;
};

/// Appends the events to a history file as the application would store them.
inline void appendHistory(const std::filesystem::path& file, const std::vector<BreakEvent>& events) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::app | std::ios::binary);
    for (const auto& event : events)
        out << *BreakLog::encode(event) << '\n';
}

/// Runs the event loop until `done` holds or five seconds pass; answers whether it held.
inline bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace sorvala
