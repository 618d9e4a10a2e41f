// SPDX-License-Identifier: MIT
#include "ui/onboarding/OnboardingWindow.h"
#include "ui/onboarding/OnboardingOnDemand.h"
#include "ui/onboarding/OnboardingFigures.h"

#include "app/SettingsSchema.h"
#include "core/SettingsKeys.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"
#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDBusConnection>
#include <QGraphicsOpacityEffect>

#include <gtest/gtest.h>

#include <vector>

namespace sorvala {
namespace {

using OnboardingFlow::NotificationState;
using OnboardingFlow::Step;

class OnboardingWindowTest : public testing::Test {
protected:
    OnboardingWindowTest() { SettingsSchema::registerDefaults(store); }

    OnboardingWindow::Services services() {
        return {store, log, [this] { return notifications; }, [this] { ++scheduleRestarts; }};
    }

    MemoryPreferences store;
    RecordingLogger log;
    NotificationState notifications = NotificationState::granted;
    int scheduleRestarts = 0;
};

TEST_F(OnboardingWindowTest, FirstLaunchWalksFivePagesAndMarksItselfShownOnce) {
    OnboardingWindow window(services());
    window.showIfNeeded();
    settle();
    ASSERT_TRUE(window.isShowing());
    EXPECT_EQ(buttonTitled(window, "Back", true), nullptr);
    saveScreenshot(window, "1-the-break");

    const char* names[] = {"2-rhythm", "3-waiting", "4-tray", "5-start"};
    for (const char* name : names) {
        buttonTitled(window, "Continue", true)->click();
        settle();
        saveScreenshot(window, name);
    }
    EXPECT_EQ(window.step(), Step::start);
    EXPECT_TRUE(store.boolean(OnboardingFlow::onboardingShownKey)) << "set on arriving, before Done";

    buttonTitled(window, "Back", true)->click();
    buttonTitled(window, "Continue", true)->click();
    settle();
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "onboarding completed"), 1);

    buttonTitled(window, "Done", true)->click();
    settle();
    EXPECT_FALSE(window.isShowing());

    OnboardingWindow relaunched(services());
    relaunched.showIfNeeded();
    EXPECT_FALSE(relaunched.isShowing()) << "a relaunch after finishing shows nothing";
    relaunched.present();
    EXPECT_TRUE(relaunched.isShowing()) << "Welcome… shows it regardless";
    relaunched.close();
}

// The desktop's animation setting, as Plasma stores it: factor 0 asks for no motion.
TEST_F(OnboardingWindowTest, MotionFollowsTheDesktopAndEndsWithTheDrawing) {
    for (const bool reduced : {false, true}) {
        SCOPED_TRACE(reduced ? "reduced motion" : "full motion");
        TemporaryDirectory config;
        writeFile(config / "kdeglobals",
                  reduced ? "[KDE]\nAnimationDurationFactor=0\n" : "[KDE]\nAnimationDurationFactor=1\n");
        ScopedEnvironment home("XDG_CONFIG_HOME", config.path().string());
        ScopedEnvironment gnome("GSETTINGS_BACKEND", std::string("memory"));

        OnboardingWindow window(services());
        window.present();
        settle();
        OnboardingDrawingView* drawing = nullptr; // no meta-object of its own: findChild cannot tell it
        for (auto* widget : window.findChildren<QWidget*>())
            if (auto* view = dynamic_cast<OnboardingDrawingView*>(widget))
                drawing = view;
        ASSERT_NE(drawing, nullptr);
        EXPECT_EQ(drawing->isAnimating(), !reduced);
        EXPECT_TRUE(waitFor([&] { return !drawing->isAnimating(); }, 60000))
            << "the frames outlive the finished drawing";

        window.advance();
        EXPECT_EQ(window.findChild<QGraphicsOpacityEffect*>() != nullptr, !reduced);
        window.close();
    }
}

TEST_F(OnboardingWindowTest, ClosingEarlyLeavesItUnfinishedAndReopensAtTheStart) {
    OnboardingWindow window(services());
    window.present();
    window.advance();
    window.close();
    settle();
    EXPECT_FALSE(store.boolean(OnboardingFlow::onboardingShownKey));
    window.showIfNeeded();
    EXPECT_EQ(window.step(), Step::theBreak);
    window.advance();
    window.present(); // while open: only raised
    EXPECT_EQ(window.step(), Step::rhythm);
    window.close();
}

TEST_F(OnboardingWindowTest, MicroSwitchRewritesTheRhythmAndRestartsTheSchedule) {
    OnboardingWindow window(services());
    window.present();
    window.advance();
    settle();
    saveScreenshot(window, "2-rhythm-on");
    window.findChild<QCheckBox*>()->click();
    settle();
    EXPECT_EQ(store.integer(SettingsSchema::microMinutesKey), 0);
    EXPECT_EQ(scheduleRestarts, 1);
    EXPECT_TRUE(shownTexts(window).contains("Long breaks only.")) << "the page follows the switch";
    saveScreenshot(window, "2-rhythm-off");
    window.close();
}

TEST_F(OnboardingWindowTest, TrayPageFollowsTheNotificationService) {
    notifications = NotificationState::denied;
    OnboardingWindow window(services());
    window.present();
    for (int i = 0; i < 3; ++i)
        window.advance();
    settle();
    EXPECT_NE(buttonTitled(window, "Open Notification Settings", true), nullptr);
    saveScreenshot(window, "4-tray-denied");

    notifications = NotificationState::granted;
    window.refresh({Step::menuBar});
    settle();
    EXPECT_EQ(buttonTitled(window, "Open Notification Settings", true), nullptr);

    // A notification service that goes and comes on the bus is seen without being asked.
    auto bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("notifier"));
    if (bus.isConnected()) {
        notifications = NotificationState::denied;
        bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
        EXPECT_TRUE(
            waitFor([&] { return shownTexts(window).contains("Breaks will arrive without warning"); }));
        bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("notifier"));
    window.close();
}

// The program holds the walkthrough on demand: a returning user's program makes no window at all;
// a first launch shows it, with the schedule reminder the program set after building it.
TEST_F(OnboardingWindowTest, OnDemandMakesTheWindowOnlyWhenItIsShown) {
    const auto made = [] {
        std::vector<OnboardingWindow*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = dynamic_cast<OnboardingWindow*>(widget))
                windows.push_back(window);
        return windows;
    };
    OnboardingOnDemand onboarding({store, log, [this] { return notifications; }, {}});
    store.set(OnboardingFlow::onboardingShownKey, true);
    onboarding.showIfNeeded();
    EXPECT_FALSE(onboarding.isShowing());
    EXPECT_TRUE(made().empty());

    onboarding.setScheduleReminder([this] { ++scheduleRestarts; });
    store.set(OnboardingFlow::onboardingShownKey, false);
    onboarding.showIfNeeded();
    settle();
    ASSERT_TRUE(onboarding.isShowing());
    ASSERT_EQ(made().size(), 1u);
    OnboardingWindow* window = made().front();
    window->advance();
    settle();
    window->findChild<QCheckBox*>()->click();
    EXPECT_EQ(scheduleRestarts, 1) << "the reminder set before the window was made reaches it";
    onboarding.present(); // while open: raised, not made again
    EXPECT_EQ(made().size(), 1u);
    window->close();
}

} // namespace
} // namespace sorvala
