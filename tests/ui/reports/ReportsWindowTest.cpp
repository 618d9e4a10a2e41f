// SPDX-License-Identifier: MIT
#include "ui/reports/ReportBarView.h"
#include "ui/reports/ReportsWindow.h"

#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"
#include "support/WidgetTestSupport.h"
#include "support/ZoneCalendar.h"

#include <QGridLayout>
#include <QLabel>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using Outcome = BreakEvent::Outcome;

const ZoneCalendar berlin("Europe/Berlin");

BreakEvent event(const std::string& local, Outcome outcome, std::optional<double> seconds = std::nullopt) {
    return BreakEvent{berlin.at(local), BreakEvent::Kind::long_, outcome, seconds};
}

class ReportsWindowTest : public ::testing::Test {
protected:
    QWidget* cell(const char* section, int row, int column) const {
        const auto* rows = window.findChild<QWidget*>(QLatin1String(section));
        const auto* grid = static_cast<QGridLayout*>(rows->layout());
        const QLayoutItem* item = grid->itemAtPosition(row, column);
        return item ? item->widget() : nullptr;
    }
    QString text(const char* section, int row, int column) const {
        return static_cast<QLabel*>(cell(section, row, column))->text();
    }

    TemporaryDirectory folder;
    std::filesystem::path file = folder.path() / "break-events.jsonl";
    RecordingLogger log;
    ReportsWindow window{{file, berlin, log}};
};

TEST_F(ReportsWindowTest, RowsShowTheContent) {
    appendHistory(file, {event("2026-10-05T10:00:00", Outcome::taken, 45.0),
                         event("2026-10-05T11:00:00", Outcome::taken, 320.0),
                         event("2026-10-05T12:00:00", Outcome::taken, 330.0),
                         event("2026-10-06T10:00:00", Outcome::skipped, 12.0),
                         event("2026-12-01T10:00:00", Outcome::taken, 700.0),
                         event("2026-12-01T11:00:00", Outcome::skipped)});
    window.showAndRaise();
    saveScreenshot(window, "reports");
    // The content's own tests spell its texts; here the last row of each section shows the
    // content's, and the dates are the window's.
    const auto& content = window.content();
    ASSERT_EQ(content.months.size(), 2u);
    ASSERT_EQ(content.extremes.size(), 2u);
    ASSERT_EQ(content.buckets.size(), 4u);
    EXPECT_EQ(text("monthlyTrends", 0, 0), "Oct 26");
    EXPECT_EQ(text("monthlyTrends", 1, 0), "Dec 26");
    EXPECT_EQ(text("bestAndWorstDays", 0, 1), "Mon, Oct 5, 2026");
    EXPECT_EQ(text("monthlyTrends", 1, 2), QString::fromStdString(content.months[1].percentText));
    EXPECT_EQ(text("bestAndWorstDays", 1, 2), QString::fromStdString(content.extremes[1].text));
    EXPECT_EQ(text("breakLengths", 3, 2), QString::fromStdString(content.buckets[3].countText));
    const auto* lengthBar = static_cast<ReportBarView*>(cell("breakLengths", 3, 1));
    EXPECT_EQ(lengthBar->toolTip(), QString::fromStdString(content.buckets[3].tooltip));
}

TEST_F(ReportsWindowTest, EmptyStatesAndTheirReplacementOnTheFirstRecord) {
    window.showAndRaise();
    EXPECT_EQ(text("monthlyTrends", 0, 0), "No breaks recorded yet.");
    EXPECT_EQ(text("bestAndWorstDays", 0, 0), "No resolved breaks yet.");
    EXPECT_EQ(text("breakLengths", 0, 0), "No recorded break lengths yet.");

    appendHistory(file, {event("2026-12-01T10:00:00", Outcome::taken, 20.0)});
    EXPECT_TRUE(waitFor([&] { return window.content().months.size() == 1; }));
    EXPECT_EQ(text("monthlyTrends", 0, 2), "100%");
    EXPECT_EQ(text("breakLengths", 0, 2), "1");
}

TEST_F(ReportsWindowTest, ExportWritesTheWholeHistoryAsCsvAndAFailureLosesNothing) {
    const std::vector<BreakEvent> history{event("2026-12-01T10:00:00", Outcome::taken, 59.5),
                                          event("2026-12-01T10:20:00", Outcome::postponed)};
    appendHistory(file, history);
    const std::string recorded = readFile(file);
    const auto target = folder.path() / "export.csv";
    appendHistory(target, history); // an older file in the way is replaced, not appended to
    EXPECT_EQ(window.exportTo(QString::fromStdString(target.string())), std::nullopt);
    EXPECT_EQ(readFile(target), "date,kind,outcome,duration_seconds\n"
                                "2026-12-01T10:00:00+01:00,long,taken,60\n"
                                "2026-12-01T10:20:00+01:00,long,postponed,\n");

    const auto missing = folder.path() / "no such folder" / "export.csv";
    const auto failure = window.exportTo(QString::fromStdString(missing.string()));
    ASSERT_TRUE(failure);
    EXPECT_THAT(failure->toStdString(), HasSubstr("could not be exported"));
    EXPECT_THAT(log.lines, Contains(HasSubstr("CSV export failed: ")));
    // Choosing the history itself as the export would replace every recorded break.
    EXPECT_TRUE(window.exportTo(QString::fromStdString((folder.path() / "." / "break-events.jsonl").string())));
    EXPECT_EQ(readFile(file), recorded);
}

} // namespace
} // namespace sorvala
