// SPDX-License-Identifier: MIT
// Helpers for widget tests; only test folders that link Qt Widgets include this header.
#pragma once

#include "core/Clock.h"
#include "history/BreakLog.h"
#include "support/EventLoopWait.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
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

/// Saves what `widget` shows as NAME.png when SORVALA_SCREENSHOT_DIR names a folder, for looking
/// at; a hidden widget is shown for it, and the event loop runs a little so fades and layouts settle.
inline void saveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("SORVALA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    const bool hidden = widget.isHidden();
    widget.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 400)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QDir().mkpath(folder);
    widget.grab().save(folder + "/" + name + ".png");
    widget.setHidden(hidden);
}

} // namespace sorvala
