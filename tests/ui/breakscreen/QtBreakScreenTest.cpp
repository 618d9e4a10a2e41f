// SPDX-License-Identifier: MIT
#include "ui/breakscreen/QtBreakScreen.h"

#include "core/Clock.h"
#include "core/SettingsKeys.h"
#include "platform/desktop/DesktopPicture.h"
#include "platform/desktop/Gallery.h"
#include "platform/QTimerMainLoopTimer.h"
#include "platform/calendar/SystemCalendar.h"
#include "support/TemporaryDirectory.h"
#include "ui/breakscreen/BreakContent.h"
#include "simulation/MemoryPreferences.h"
#include "simulation/RecordingPorts.h"
#include "support/RecordingLogger.h"
#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace sorvala;

namespace {

std::vector<QWidget*> breakWindows() {
    std::vector<QWidget*> shown;
    for (auto* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && dynamic_cast<BreakWindow*>(widget))
            shown.push_back(widget);
    return shown;
}

class NoDesktopPicture final : public DesktopPicture {
public:
    std::vector<std::filesystem::path> currentPictures() override { return {}; }
    std::optional<Outcome> set(const std::filesystem::path&) override { return std::nullopt; }
};

void press(QWidget* window, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

struct QtBreakScreenRun : ::testing::Test {
    SystemClock clock;
    QTimerMainLoopTimer timers{clock};
    RecordingLogger log;
    MemoryBreakHistory history{clock, log};
    MemoryPreferences store;
    SystemCalendar calendar;
    NoDesktopPicture desktop;
    TemporaryDirectory galleryFolder;
    Gallery gallery{log, clock, calendar, desktop, galleryFolder.path()};
    std::vector<bool> ended;
    std::vector<std::string> around;
    std::unique_ptr<QtBreakScreen> screen;

    void SetUp() override {
        store.set("speed", 10.0); // the fastest pen, so a drawing finishes within the test
        store.set(SettingsSchema::doubleEscapeSkipsKey, true);
        screen = std::make_unique<QtBreakScreen>(QtBreakScreen::Dependencies{
            .clock = clock, .timers = timers, .log = log, .history = history, .store = store,
            .saveFinishedDrawing = [this](const SorvalaSaverView& view, qreal ratio) { gallery.save(view, ratio); },
            .aboutToShow = [this] { around.push_back("about to show, windows " + std::to_string(breakWindows().size())); },
            .windowsGone = [this] { around.push_back("gone, windows " + std::to_string(breakWindows().size())); }});
        screen->setOnBreakEnded([this](bool isMicro) {
            ended.push_back(isMicro);
            around.push_back("ended");
        });
    }
    void TearDown() override {
        screen->end(false, false);
        waitFor([&] { return !screen->isActive(); }, 3000);
    }
};

// Which tier lets what end a break is the break rules' own table; these rows wire it to the window.
// Escape is pressed twice; Return once, on the button Tab reached.
TEST_F(QtBreakScreenRun, TheTierDecidesWhatEndsTheBreakAndWhichButtonsShow) {
    struct Case { const char* tier; bool micro; bool skipShown; Qt::Key key; bool ends; };
    const Case cases[] = {
        {"casual", false, true, Qt::Key_Escape, true},
        {"hardcore", false, false, Qt::Key_Escape, false},
        {"hardcore", true, false, Qt::Key_Escape, false},
        {"casual", true, true, Qt::Key_Return, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tier) + (c.micro ? " micro" : " long"));
        store.set(c.micro ? SettingsSchema::enforcementMicroBreaksKey : SettingsSchema::enforcementLongBreaksKey,
                  std::string(c.tier));
        const auto before = history.recorded().size();
        screen->begin(c.micro ? 20 : 0, c.micro, false);
        const auto windows = breakWindows();
        ASSERT_EQ(windows.size(), size_t(QGuiApplication::screens().size()));
        EXPECT_EQ(windows.front()->geometry(), QGuiApplication::primaryScreen()->geometry());
        auto* skip = buttonTitled(*windows.front(), c.micro ? "Skip this break" : "Skip");
        ASSERT_NE(skip, nullptr);
        EXPECT_EQ(skip->isVisibleTo(windows.front()), c.skipShown);
        QPushButton* extend = nullptr;
        if (!c.micro) {
            extend = buttonTitled(*windows.front(), "5 more min");
            ASSERT_NE(extend, nullptr);
            EXPECT_TRUE(extend->isVisibleTo(windows.front()));
        }
        // With the keyboard alone Tab reaches the first button shown; a hidden Skip never.
        press(windows.front(), Qt::Key_Tab);
        QWidget* focused = windows.front()->focusWidget();
        EXPECT_EQ(qobject_cast<QPushButton*>(focused), c.skipShown ? skip : extend);
        // The window manager's close (Alt+F4, a panel's close) never takes a break window away.
        EXPECT_FALSE(windows.back()->close());
        EXPECT_TRUE(windows.back()->isVisible());

        if (c.key == Qt::Key_Return) {
            ASSERT_NE(focused, nullptr);
            press(focused, Qt::Key_Return);
        } else {
            press(windows.front(), Qt::Key_Escape);
            press(windows.front(), Qt::Key_Escape);
        }
        EXPECT_EQ(!screen->lifecycle().isOnScreen(), c.ends);
        ASSERT_EQ(history.recorded().size(), before + (c.ends ? 1 : 0));
        if (c.ends) {
            EXPECT_EQ(history.recorded().back().outcome, BreakEvent::Outcome::skipped);
        }
        screen->end(false, false);
        ASSERT_TRUE(waitFor([&] { return !screen->isActive(); }, 3000));
        EXPECT_TRUE(breakWindows().empty());
    }
}

// What the program does around a break (giving back the memory its windows took) hears of it
// before any window shows and after the last is gone, once a break whatever else is asked.
TEST_F(QtBreakScreenRun, TheBreakIsAnnouncedBeforeItsWindowsShowAndAfterTheyAreGone) {
    for (const bool micro : {false, true}) {
        SCOPED_TRACE(micro ? "micro" : "long");
        around.clear();
        screen->begin(micro ? 20 : 0, micro, false);
        screen->begin(micro ? 20 : 0, micro, false);
        ASSERT_FALSE(breakWindows().empty());
        screen->end(false, true);
        ASSERT_TRUE(waitFor([&] { return !screen->isActive(); }, 3000));
        EXPECT_EQ(around, (std::vector<std::string>{"about to show, windows 0", "gone, windows 0", "ended"}));
    }
}

// The break's caches are let go once its windows are gone; a window open through the break keeps
// drawing its text as before, and the next break draws its own again.
TEST_F(QtBreakScreenRun, AWindowOpenThroughABreakDrawsTheSameAfterIt) {
    QLabel open(QStringLiteral("Next break in 19:05"));
    QFont large = open.font();
    large.setPixelSize(40);
    open.setFont(large);
    open.show();
    const QImage before = open.grab().toImage();
    for (int round = 0; round < 2; ++round) {
        screen->begin(0, false, false);
        ASSERT_FALSE(breakWindows().empty());
        screen->end(false, true);
        ASSERT_TRUE(waitFor([&] { return !screen->isActive(); }, 3000));
        EXPECT_EQ(open.grab().toImage(), before) << "round " << round;
    }
}

TEST_F(QtBreakScreenRun, TheControlsHideWhenThePointerRestsAndComeBackWhenItMoves) {
    screen->begin(0, false, false);
    const auto windows = breakWindows();
    ASSERT_FALSE(windows.empty());
    auto* extend = buttonTitled(*windows.front(), "5 more min");
    ASSERT_NE(extend, nullptr);
    // The controls' row fades through the opacity effect on the widget that holds it and the hint.
    QGraphicsOpacityEffect* fade = nullptr;
    for (QWidget* w = extend; w && !fade; w = w->parentWidget())
        fade = qobject_cast<QGraphicsOpacityEffect*>(w->graphicsEffect());
    ASSERT_NE(fade, nullptr);
    waitFor([] { return false; }, 2500);
    EXPECT_GT(fade->opacity(), 0.99) << "shown for 3 s";
    EXPECT_TRUE(waitFor([&] { return fade->opacity() == 0; }, 2000));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(windows.front(), &move);
    EXPECT_TRUE(waitFor([&] { return fade->opacity() == 1; }, 2000));
}

TEST_F(QtBreakScreenRun, AFinishedSpeedTenBreakSavesItsDrawingAndIsTaken) {
    screen->begin(0, false, false);
    ASSERT_TRUE(waitFor([&] { return !ended.empty(); }, 240000));
    ASSERT_EQ(history.recorded().size(), 1u);
    EXPECT_EQ(history.recorded()[0].outcome, BreakEvent::Outcome::taken);
    const auto drawings = gallery.drawings();
    ASSERT_TRUE(drawings);
    ASSERT_EQ(drawings->size(), 1u);
    EXPECT_GT(std::filesystem::file_size(galleryFolder.path() / (*drawings)[0].name), 1000u);
}

TEST(LongBreakContent, AFinishedDrawingStaysFinishedWhileTheBreakLingers) {
    // A screen saver holds a finished drawing 20 s, fades it and starts another; the break screen
    // keeps it for as long as the break lasts.
    MemoryPreferences store;
    store.set("speed", 10.0);
    LongBreakContent content(store, {BreakPalette::resolve(false), Qt::white, true}, {}, {}, nullptr);
    content.resize(480, 360);
    content.show();
    content.stopFrames();
    QCoreApplication::processEvents();
    double now = 0;
    while (!content.view().isDrawingComplete() && now < 600)
        content.advanceFrame(now += 1.0 / 60);
    ASSERT_TRUE(content.view().isDrawingComplete());
    for (const double end = now + 30; now < end;)
        content.advanceFrame(now += 1.0 / 60);
    EXPECT_TRUE(content.view().isDrawingComplete());
}

TEST_F(QtBreakScreenRun, AMicroBreakShowsItsCountdownAndEndsByItself) {
    screen->begin(2, true, false);
    const auto windows = breakWindows();
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(labelReading(*windows.front(), QStringLiteral("0:02")), nullptr);
    // A screen reader hears the ring as a progress bar with the seconds left.
    const auto rings = windows.front()->findChildren<QWidget*>();
    const auto ring = std::find_if(rings.begin(), rings.end(), [](QWidget* widget) {
        return widget->accessibleName() == QStringLiteral("2 seconds of rest left");
    });
    ASSERT_NE(ring, rings.end());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(*ring)->role(), QAccessible::ProgressBar);
    ASSERT_TRUE(waitFor([&] { return !ended.empty(); }, 5000));
    EXPECT_EQ(ended, std::vector<bool>{true});
    ASSERT_EQ(history.recorded().size(), 1u);
    EXPECT_EQ(history.recorded()[0].outcome, BreakEvent::Outcome::taken);
}

} // namespace
