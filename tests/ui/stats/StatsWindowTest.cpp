// SPDX-License-Identifier: MIT
#include "ui/stats/StatsViews.h"
#include "ui/stats/StatsWindow.h"

#include "app/SettingsSchema.h"
#include "core/BreakSchedule.h"
#include "history/ScreenScore.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"
#include "support/WidgetTestSupport.h"
#include "support/ZoneCalendar.h"

#include <QAccessible>
#include <QLabel>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using Outcome = BreakEvent::Outcome;

const ZoneCalendar berlin("Europe/Berlin");

BreakEvent event(const std::string& local, Outcome outcome, std::optional<double> seconds = std::nullopt) {
    return BreakEvent{berlin.at(local), BreakEvent::Kind::long_, outcome, seconds};
}

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

class StatsWindowTest : public ::testing::Test {
protected:
    StatsWindowTest() { SettingsSchema::registerDefaults(store); }

    TemporaryDirectory folder;
    std::filesystem::path file = folder.path() / "Sorvala" / "break-events.jsonl";
    FixedClock clock{berlin.at("2026-12-03T16:00:00")};
    MemoryPreferences store;
    RecordingLogger log;
    StatsWindow window{{file, berlin, clock, store, log}};
};

TEST_F(StatsWindowTest, ShowsTheNumbersOfTheContent) {
    appendHistory(file, {event("2026-11-27T09:00:00", Outcome::taken, 300.0),
                         event("2026-11-27T12:00:00", Outcome::taken, 300.0),
                         event("2026-12-02T10:00:00", Outcome::taken, 300.0),
                         event("2026-12-03T09:00:00", Outcome::taken, 300.0),
                         event("2026-12-03T10:30:00", Outcome::skipped),
                         event("2026-12-03T11:00:00", Outcome::taken, 300.0)});
    window.refresh();
    saveScreenshot(window, "stats");
    const auto& content = window.content();
    // Measured against the interval of the user's schedule, as `sorvalactl history stats` does.
    const auto today = ScreenScore::daily(*BreakLogReader(file).events(log), clock.now(),
                                          BreakSchedule::stored(store).overtimeLimitMinutes(), berlin);
    ASSERT_TRUE(today);
    ASSERT_EQ(content.ring.score, today->score);

    const auto* ring = window.findChild<ScoreRingView*>();
    EXPECT_EQ(ring->score(), content.ring.score);
    EXPECT_EQ(ring->toolTip(), qText(content.ring.tooltip));
    // A screen reader hears the ring as a progress bar that says the score.
    const auto* heard = QAccessible::queryAccessibleInterface(const_cast<ScoreRingView*>(ring));
    EXPECT_EQ(heard->role(), QAccessible::ProgressBar);
    EXPECT_EQ(heard->text(QAccessible::Name), ring->toolTip());
    // What each view shows is the content's own test; here one element of each shows its part.
    const auto* lines = window.findChild<QWidget*>(QStringLiteral("scoreLines"));
    ASSERT_EQ(lines->layout()->count(), int(content.scoreLines.size()));
    EXPECT_EQ(static_cast<QLabel*>(lines->layout()->itemAt(0)->widget())->text(), qText(content.scoreLines[0]));

    const auto bars = window.findChildren<ScoreBarView*>();
    ASSERT_EQ(bars.size(), 7);
    EXPECT_EQ(bars[6]->barHeight(), content.week[6].height);
    EXPECT_EQ(bars[6]->toolTip(), qText(content.week[6].tooltip));

    // December 2026 starts on a Tuesday: one blank cell in a week from Monday.
    const auto cells = window.findChildren<HeatDayView*>();
    ASSERT_EQ(std::count_if(cells.begin(), cells.end(), [](auto* cell) { return !cell->isHidden(); }), 31);
    EXPECT_TRUE(cells[0]->isHidden());
    EXPECT_FALSE(cells[1]->isHidden());
    EXPECT_EQ(cells[3]->dayOfMonth(), 3);
    EXPECT_TRUE(cells[3]->isToday());
    EXPECT_EQ(cells[3]->score(), content.monthDays[2].score);
    EXPECT_EQ(cells[3]->toolTip(), qText(content.monthDays[2].tooltip));
}

TEST_F(StatsWindowTest, AFileThatAppearsWhileTheViewIsOpenIsFollowed) {
    window.toggle(QPoint(400, 10));
    ASSERT_TRUE(window.isVisible());
    // The first record creates the folder and the file; the open view follows it.
    appendHistory(file, {event("2026-12-03T15:00:00", Outcome::skipped)});
    EXPECT_TRUE(waitFor([&] { return window.findChild<ScoreRingView*>()->score() == 95; }));
    appendHistory(file, {event("2026-12-03T15:30:00", Outcome::skipped)});
    EXPECT_TRUE(waitFor([&] { return window.findChild<ScoreRingView*>()->score() == 90; }));
}

TEST_F(StatsWindowTest, ASecondToggleClosesAndTheClosingClickDoesNotReopen) {
    window.toggle();
    ASSERT_TRUE(window.isVisible());
    window.toggle();
    EXPECT_FALSE(window.isVisible());
    window.toggle(); // the tray's activation of the click that just closed the view
    EXPECT_FALSE(window.isVisible());
}

TEST(StatsPopupOrigin, StaysInsideTheAvailableArea) {
    const QRect screen(0, 0, 1920, 1050); // a panel along the bottom
    const QSize size(300, 500);
    struct Case { const char* name; QPoint anchor; QPoint origin; };
    const Case cases[] = {
        {"top panel: centred below the icon", {1000, 12}, {850, 18}},
        {"bottom panel: above the icon", {1000, 1065}, {850, 550}},
        {"near the right edge", {1910, 12}, {1620, 18}},
        {"near the left edge", {5, 12}, {0, 18}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StatsWindow::popupOrigin(c.anchor, size, screen), c.origin);
    }
}

} // namespace
} // namespace sorvala
