// SPDX-License-Identifier: MIT
// Shows one break at once, for screenshots and for trying the windows by hand:
//   sorvala_break_preview micro|long [--speed N] [--tier casual|balanced|hardcore] [--theme paper|dark]
//                         [--lock COMMAND] [--list-windows]
// The break uses the real windows and rules with settings of its own; its log goes to stderr.
// With --list-windows, Qt's view of the break windows (screen, full screen) goes to stdout every
// two seconds, for compositors that list no windows to other programs (Mutter without a shell).
// With --lock, a long break locks the screen by running COMMAND ("xscreensaver-command -lock").
#include "app/ports/BreakHistory.h"
#include "core/Clock.h"
#include "core/SettingsKeys.h"
#include "history/BreakLog.h"
#include "i18n/I18n.h"
#include "platform/QTimerMainLoopTimer.h"
#include "simulation/MemoryPreferences.h"
#include "support/FakeSystemSignals.h"
#include "ui/breakscreen/QtBreakScreen.h"
#include "ui/style/QtDesignTokens.h"

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QTimer>

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

/// Locks the screen with a command of the user's choosing.
class CommandLock final : public FakeSystemSignals {
public:
    explicit CommandLock(QString command) : m_command(std::move(command)) {}
    void lockScreen() override {
        QStringList words = QProcess::splitCommand(m_command);
        if (!words.isEmpty())
            QProcess::startDetached(words.takeFirst(), words);
    }

private:
    QString m_command;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Translation::setUp();
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
    if (const auto at = arguments.indexOf(QStringLiteral("--theme")); at > 0 && at + 1 < arguments.size())
        store.set("theme", arguments[at + 1] == QStringLiteral("dark") ? 1 : 0);
    std::unique_ptr<CommandLock> lock;
    if (const auto at = arguments.indexOf(QStringLiteral("--lock")); at > 0 && at + 1 < arguments.size()) {
        lock = std::make_unique<CommandLock>(arguments[at + 1]);
        store.set(SettingsSchema::lockScreenOnBreakStartKey, true);
    }
    QtBreakScreen screen(
        {.clock = clock, .timers = timers, .log = log, .history = history, .store = store, .system = lock.get()});
    screen.setOnBreakEnded([](bool) { QCoreApplication::quit(); });
    QTimer listing;
    if (arguments.contains(QStringLiteral("--list-windows"))) {
        QObject::connect(&listing, &QTimer::timeout, [round = 0]() mutable {
            ++round;
            for (const QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible() && window->screen())
                    std::cout << "round=" << round << " break window screen=" << window->screen()->name().toStdString()
                              << " fullscreen=" << (window->isFullScreen() ? "yes" : "no") << std::endl;
        });
        listing.start(2000);
    }
    screen.begin(micro ? 20 : 0, micro, false);
    return screen.isActive() ? application.exec() : 1;
}
