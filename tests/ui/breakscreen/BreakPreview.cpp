// SPDX-License-Identifier: MIT
// Shows one break at once, for screenshots and for trying the windows by hand:
//   sorvala_break_preview micro|long [--speed N] [--tier casual|balanced|hardcore]
// The break uses the real windows and rules with settings of its own; its log goes to stderr.
#include "app/ports/BreakHistory.h"
#include "core/Clock.h"
#include "core/SettingsKeys.h"
#include "history/BreakLog.h"
#include "platform/QTimerMainLoopTimer.h"
#include "simulation/MemoryPreferences.h"
#include "ui/breakscreen/QtBreakScreen.h"
#include "ui/style/QtDesignTokens.h"

#include <QApplication>

#include <iostream>

using namespace sorvala;

namespace {

class StderrLogger final : public Logger {
public:
    void log(std::string_view message) override { std::cerr << message << '\n'; }
};

class PrintedHistory final : public BreakHistory {
public:
    explicit PrintedHistory(Logger& log) : m_log(log) {}
    void record(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> duration) override {
        m_log.log(BreakLog::reportLine(kind, outcome, duration));
    }
    std::vector<BreakEvent> events() override { return {}; }

private:
    Logger& m_log;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QtDesignTokens::applyAppearanceOverride(application);
    const QStringList arguments = application.arguments();
    const bool micro = arguments.contains(QStringLiteral("micro"));
    SystemClock clock;
    QTimerMainLoopTimer timers(clock);
    StderrLogger log;
    PrintedHistory history(log);
    MemoryPreferences store;
    store.set(SettingsSchema::doubleEscapeSkipsKey, true);
    if (const auto at = arguments.indexOf(QStringLiteral("--speed")); at > 0 && at + 1 < arguments.size())
        store.set("speed", arguments[at + 1].toDouble());
    if (const auto at = arguments.indexOf(QStringLiteral("--tier")); at > 0 && at + 1 < arguments.size()) {
        store.set(SettingsSchema::enforcementMicroBreaksKey, arguments[at + 1].toStdString());
        store.set(SettingsSchema::enforcementLongBreaksKey, arguments[at + 1].toStdString());
    }
    QtBreakScreen screen({.clock = clock, .timers = timers, .log = log, .history = history, .store = store});
    screen.setOnBreakEnded([](bool) { QCoreApplication::quit(); });
    screen.begin(micro ? 20 : 0, micro, false);
    return screen.isActive() ? application.exec() : 1;
}
