// SPDX-License-Identifier: MIT
#include "ui/breakscreen/QtBreakScreen.h"

#include "core/Clock.h"
#include "core/SettingsKeys.h"
#include "platform/QTimerMainLoopTimer.h"
#include "simulation/MemoryPreferences.h"
#include "simulation/RecordingPorts.h"
#include "support/RecordingLogger.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace sorvala;

namespace {

/// Runs the event loop until `done` or `milliseconds` have passed; whether `done` came true.
bool waitUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

std::vector<QWidget*> breakWindows() {
    std::vector<QWidget*> shown;
    for (auto* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && dynamic_cast<BreakWindow*>(widget))
            shown.push_back(widget);
    return shown;
}

struct QtBreakScreenRun : ::testing::Test {
    SystemClock clock;
    QTimerMainLoopTimer timers{clock};
    RecordingLogger log;
    MemoryBreakHistory history{clock, log};
    MemoryPreferences store;
    std::vector<bool> ended;
    const SorvalaSaverView* saved = nullptr;
    std::unique_ptr<QtBreakScreen> screen;

    void SetUp() override {
        store.set("speed", 10.0); // the fastest pen, so a drawing finishes within the test
        screen = std::make_unique<QtBreakScreen>(QtBreakScreen::Dependencies{
            .clock = clock, .timers = timers, .log = log, .history = history, .store = store,
            .saveFinishedDrawing = [this](const SorvalaSaverView& view, qreal) { saved = &view; }});
        screen->setOnBreakEnded([this](bool isMicro) { ended.push_back(isMicro); });
    }
};

TEST_F(QtBreakScreenRun, ALongBreakCoversTheScreenDrawsAndFadesAwayOnSkip) {
    screen->begin(0, false, false);
    const auto windows = breakWindows();
    ASSERT_EQ(windows.size(), size_t(QGuiApplication::screens().size()));
    EXPECT_EQ(windows.front()->geometry(), QGuiApplication::primaryScreen()->geometry());
    waitUntil([] { return false; }, 300);
    screen->lifecycle().skipPressed();
    EXPECT_TRUE(screen->isActive()) << "fading";
    ASSERT_TRUE(waitUntil([&] { return !screen->isActive(); }, 3000));
    EXPECT_EQ(ended, std::vector<bool>{false});
    EXPECT_TRUE(breakWindows().empty());
    ASSERT_EQ(history.recorded().size(), 1u);
    EXPECT_EQ(history.recorded()[0].outcome, BreakEvent::Outcome::skipped);
}

TEST_F(QtBreakScreenRun, AMicroBreakShowsItsCountdownAndEndsByItself) {
    screen->begin(2, true, false);
    const auto windows = breakWindows();
    ASSERT_FALSE(windows.empty());
    bool countdownShown = false;
    for (auto* label : windows.front()->findChildren<QLabel*>())
        countdownShown = countdownShown || label->text() == QStringLiteral("0:02");
    EXPECT_TRUE(countdownShown);
    ASSERT_TRUE(waitUntil([&] { return !ended.empty(); }, 5000));
    EXPECT_EQ(ended, std::vector<bool>{true});
    ASSERT_EQ(history.recorded().size(), 1u);
    EXPECT_EQ(history.recorded()[0].outcome, BreakEvent::Outcome::taken);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
