// SPDX-License-Identifier: MIT
#include "SubcommandRun.h"

#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace sorvala::ctl {
namespace {

using ::testing::HasSubstr;

using Result = SubcommandResult;

class HistoryCommand : public ::testing::Test {
protected:
    TemporaryDirectory home;
    std::filesystem::path history = home / "break-events.jsonl";

    ScopedEnvironment zone{"TZ", "Europe/Berlin"};
    ScopedEnvironment config{"XDG_CONFIG_HOME", (home / "config").string()};
    ScopedEnvironment data{"XDG_DATA_HOME", (home / "data").string()};

    void SetUp() override {
        // 09:00 and 11:00 Berlin time on Saturday 5 December 2026, five minutes each.
        writeFile(history,
                  "{\"date\":\"2026-12-04T09:00:00Z\",\"kind\":\"long\",\"outcome\":\"taken\",\"durationSeconds\":400}\n"
                  "{\"date\":\"2026-12-05T08:00:00Z\",\"kind\":\"long\",\"outcome\":\"taken\",\"durationSeconds\":300}\n"
                  "{\"date\":\"2026-12-05T09:30:00Z\",\"kind\":\"long\",\"outcome\":\"postponed\"}\n"
                  "{\"date\":\"2026-12-05T10:00:00Z\",\"kind\":\"long\",\"outcome\":\"taken\",\"durationSeconds\":300}\n"
                  "{\"date\":\"2026-12-05T23:30:00Z\",\"kind\":\"micro\",\"outcome\":\"skipped\",\"durationSeconds\":2.5}\n");
    }

    Result run(std::vector<std::string> args) { return runSubcommand("history", std::move(args)); }
};

TEST_F(HistoryCommand, StatsAsJsonUseTheLocalDayAndTheScheduleInterval) {
    const Result result = run({"stats", "--date", "2026-12-05", "--json", "--file", history.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto stats = nlohmann::json::parse(result.out);
    EXPECT_EQ(stats["date"], "2026-12-05");
    EXPECT_EQ(stats["score"], 91);
    EXPECT_EQ(stats["factors"], nlohmann::json::parse(R"([{"label":"Spent 1h 55m without a break","points":-9}])"));
    EXPECT_EQ(stats["streak"], 2);
    ASSERT_EQ(stats["dayBars"].size(), 7u);
    EXPECT_EQ(stats["dayBars"][6], nlohmann::json::parse(R"({"day":"2026-12-05","taken":2,"skipped":0,"postponed":1})"));

    // A long break every 30 minutes makes the same morning cost more.
    std::filesystem::create_directories(home / "config/Sorvala");
    writeFile(home / "config/Sorvala/Sorvala.conf", "[General]\nbreakCycleEnabled=false\nreminderMinutes=30\n");
    const auto stricter = nlohmann::json::parse(run({"stats", "--date", "2026-12-05", "--json", "--file", history.string()}).out);
    EXPECT_EQ(stricter["score"], 72);
}

TEST_F(HistoryCommand, StatsAsText) {
    EXPECT_THAT(run({"stats", "--date", "2026-12-05", "--file", history.string()}).out,
                HasSubstr("Screen score 2026-12-05 Sat: 91 out of 100\n  Spent 1h 55m without a break (-9)\n"
                          "Current streak: 2 days\nLongest streak: 2 days\n"));
}

TEST_F(HistoryCommand, ReportMirrorsTheThreeSections) {
    const Result result = run({"report", "--json", "--file", history.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::parse(R"({
        "monthlyTrends": [{"month":"2026-12","taken":3,"skipped":1,"takenPercent":75}],
        "bestAndWorstDays": {"best":{"day":"2026-12-05","taken":2,"resolved":2,"takenPercent":100},
                             "worst":{"day":"2026-12-06","taken":0,"resolved":1,"takenPercent":0}},
        "breakLengths": [{"name":"Under 1 min","count":0},{"name":"1–5 min","count":0},
                         {"name":"5–10 min","count":3},{"name":"Over 10 min","count":0}]})"));

    writeFile(history, "");
    EXPECT_EQ(run({"report", "--file", history.string()}).out,
              "Monthly Trends\n  No breaks recorded yet.\nBest & Worst Days\n  No resolved breaks yet.\n"
              "Break Lengths\n  No recorded break lengths yet.\n");
}

TEST_F(HistoryCommand, ExportWritesTheCsvWholeOrToStandardOutput) {
    const Result printed = run({"export", "--file", history.string()});
    ASSERT_EQ(printed.status, 0);
    EXPECT_THAT(printed.out, HasSubstr("date,kind,outcome,duration_seconds\n2026-12-04T10:00:00+01:00,long,taken,400\n"));
    EXPECT_THAT(printed.out, HasSubstr("2026-12-06T00:30:00+01:00,micro,skipped,3\n"));

    const auto target = home / "sorvala-breaks.csv";
    writeFile(target, "old export");
    const Result written = run({"export", "--output", target.string(), "--file", history.string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(readFile(target), printed.out);

    const Result failed = run({"export", "--output", (home / "missing/folder/x.csv").string(), "--file", history.string()});
    EXPECT_EQ(failed.status, 1);
    EXPECT_THAT(failed.err, HasSubstr("CSV export failed"));
}

TEST_F(HistoryCommand, TheUsersFileIsTheDefaultAndDamageIsAWarning) {
    std::filesystem::create_directories(home / "data/Sorvala");
    writeFile(home / "data/Sorvala/break-events.jsonl", readFile(history) + "garbage\n");
    const Result result = run({"report", "--json"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "sorvalactl: break history has 1 undecodable line(s); 5 event(s) still readable\n");
}

TEST_F(HistoryCommand, BadInputIsOneLineAndAUsageError) {
    const std::vector<std::vector<std::string>> bad = {
        {}, {"purge"}, {"stats", "--date"}, {"stats", "--date", "2026-02-30"}, {"export", "--json"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(::testing::PrintToString(args));
        expectRefused(run(args));
    }
    EXPECT_THAT(run({"export", "--help"}).out, HasSubstr("usage: sorvalactl history stats"));
}

} // namespace
} // namespace sorvala::ctl
