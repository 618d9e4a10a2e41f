// SPDX-License-Identifier: MIT
#include "history/BreakLog.h"

#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"
#include "support/ZoneCalendar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::filesystem::path dataDir = std::filesystem::path(SORVALA_TEST_DATA_DIR) / "history";

Instant at(const char* utc) {
    return *parseIso8601(utc);
}

TEST(BreakLogFormat, GoldenLinesDecodeAndEncodeBackUnchanged) {
    const std::string golden = readFile(dataDir / "break-events.jsonl");
    const auto decoded = BreakLog::decode(golden);
    ASSERT_EQ(decoded.undecodableLines, 0);
    ASSERT_EQ(decoded.events.size(), 6u);
    EXPECT_EQ(decoded.events[0],
              (BreakEvent{at("2026-12-05T19:23:07Z"), BreakEvent::Kind::long_, BreakEvent::Outcome::taken, 312.5}));
    EXPECT_EQ(decoded.events[2].durationSeconds, std::nullopt);

    const auto lines = linesOf(golden);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(BreakLog::encode(decoded.events[i]), lines[i]);
    }
}

TEST(BreakLogFormat, CsvInTheLocalZoneRoundsHalvesAwayFromZero) {
    const auto events = BreakLog::decode(readFile(dataDir / "break-events.jsonl")).events;
    // Covers 312.5 -> 313, 59.5 -> 60, 0.4 -> 0 and the empty field of a missing duration.
    EXPECT_EQ(BreakLog::csv(events, ZoneCalendar("Europe/Berlin")), readFile(dataDir / "break-events-berlin.csv"));
    const auto utc = [](double seconds) {
        return BreakLog::csv({BreakEvent{at("2026-07-01T10:00:00Z"), BreakEvent::Kind::micro, BreakEvent::Outcome::taken,
                                         seconds}},
                             ZoneCalendar("UTC"));
    };
    EXPECT_EQ(utc(20.0), "date,kind,outcome,duration_seconds\n2026-07-01T10:00:00Z,micro,taken,20\n");
    EXPECT_THAT(utc(-0.4), ::testing::EndsWith(",taken,0\n"));
    EXPECT_THAT(utc(1e20), ::testing::EndsWith(",taken,100000000000000000000\n"));
}

TEST(BreakLogFormat, LinesThatAreNotRecordsAreRefused) {
    const char* refused[] = {
        "not json",
        R"({"kind":"long","outcome":"taken"})",
        R"({"date":"2026-12-05T19:23:07Z","kind":"long"})",
        R"({"date":"2026-12-05T19:23:07Z","kind":"lunch","outcome":"taken"})",
        R"({"date":"2026-12-05T19:23:07Z","kind":"long","outcome":"later"})",
        R"({"date":"2026-12-05T19:23:07.250Z","kind":"long","outcome":"taken"})",
        R"({"date":1733426587,"kind":"long","outcome":"taken"})",
        R"({"date":"2026-12-05T19:23:07Z","kind":"long","outcome":"taken","durationSeconds":"300"})",
        R"({"date":"2026-12-05T19:23:07Z","kind":"long","outcome":"taken","durationSeconds":012})",
        (R"({"date":"2026-12-05T19:23:07Z","kind":"long","outcome":"taken"})" "}"),
    };
    for (const char* line : refused) {
        SCOPED_TRACE(line);
        EXPECT_EQ(BreakLog::decodeLine(line), std::nullopt);
    }
    // Any JSON spelling of a record reads the same as the written one.
    const BreakEvent expected{at("2026-12-05T19:23:07Z"), BreakEvent::Kind::long_, BreakEvent::Outcome::taken, 300.0};
    const char* spellings[] = {
        R"({"date":"2026-12-05T19:23:07Z","kind":"long","outcome":"taken","durationSeconds":3.0E+2})",
        R"( { "outcome" : "taken", "durationSeconds": 300.0, "kind":"lo\u006eg", "date":"2026-12-05T19:23:07Z" } )",
        "{\"date\":\"2026-12-05T20:23:07+01:00\",\"kind\":\"long\",\"outcome\":\"taken\",\"durationSeconds\":300}\r",
    };
    for (const char* line : spellings) {
        SCOPED_TRACE(line);
        EXPECT_EQ(BreakLog::decodeLine(line), expected);
    }
    // Unknown members are ignored and a null duration is no duration.
    EXPECT_EQ(BreakLog::decodeLine(
                  R"({"date":"2026-12-05T19:23:07Z","kind":"micro","outcome":"taken","durationSeconds":null,"app":"x"})"),
              (BreakEvent{at("2026-12-05T19:23:07Z"), BreakEvent::Kind::micro, BreakEvent::Outcome::taken, {}}));
}

TEST(BreakLogRecording, ReportsFirstThenAppendsOneLine) {
    TemporaryDirectory home;
    const auto file = home / "Sorvala/break-events.jsonl";
    RecordingLogger report;
    BreakLog::record(BreakEvent::Kind::long_, BreakEvent::Outcome::taken, 312.9, at("2026-12-05T19:23:07Z"), report,
                     file);
    BreakLog::record(BreakEvent::Kind::long_, BreakEvent::Outcome::postponed, std::nullopt,
                     at("2026-12-05T19:30:00Z"), report, file);
    EXPECT_THAT(report.lines, ElementsAre("break taken kind=long duration=312s", "break postponed kind=long"));
    EXPECT_EQ(readFile(file),
              "{\"date\":\"2026-12-05T19:23:07Z\",\"kind\":\"long\",\"outcome\":\"taken\",\"durationSeconds\":312.9}\n"
              "{\"date\":\"2026-12-05T19:30:00Z\",\"kind\":\"long\",\"outcome\":\"postponed\"}\n");
}

TEST(BreakLogRecording, FailuresAreReportedAfterTheReportLine) {
    TemporaryDirectory home;
    const auto file = home / "break-events.jsonl";
    writeFile(file, "");
    RecordingLogger report;
    const auto cannotOpen = [](const std::filesystem::path&) { return -1; };
    BreakLog::record(BreakEvent::Kind::micro, BreakEvent::Outcome::skipped, 3.0, at("2026-12-05T19:23:07Z"), report,
                     file, cannotOpen);
    BreakLog::record(BreakEvent::Kind::micro, BreakEvent::Outcome::taken, 1.0 / 0.0, at("2026-12-05T19:23:07Z"),
                     report, file);
    EXPECT_THAT(report.lines,
                ElementsAre("break skipped kind=micro duration=3s",
                            "break event NOT recorded: break-events.jsonl exists but could not be opened for appending",
                            "break taken kind=micro", "break event NOT recorded: encoding failed"));
    EXPECT_EQ(readFile(file), "");
}

TEST(BreakLogRecording, OnlyCompletedOrUserEndedBreaksAreRecorded) {
    EXPECT_TRUE(BreakLog::shouldRecord(true, true, true));
    EXPECT_TRUE(BreakLog::shouldRecord(false, false, false)) << "skipped by the user";
    EXPECT_FALSE(BreakLog::shouldRecord(false, true, false)) << "manual break skipped";
    EXPECT_FALSE(BreakLog::shouldRecord(false, false, true)) << "torn down by the app";
}

class BreakLogReading : public ::testing::Test {
protected:
    TemporaryDirectory home;
    std::filesystem::path file = home / "break-events.jsonl";
    RecordingLogger log;

    void recordTaken(const char* utc) {
        RecordingLogger ignored;
        BreakLog::record(BreakEvent::Kind::long_, BreakEvent::Outcome::taken, 300.0, at(utc), ignored, file);
    }
};

TEST_F(BreakLogReading, DamagedLinesAreSkippedAndReportedOncePerRun) {
    const std::string good = "{\"date\":\"2026-12-05T09:00:00Z\",\"kind\":\"long\",\"outcome\":\"taken\"}\n";
    writeFile(file, good + good + "garbage\n" + good +
                        "{\"date\":\"2026-12-05T09:00:00Z\",\"kind\":\"long\",\"outcome\":\"later\"}\n");
    BreakLogReader reader(file);
    EXPECT_EQ(reader.events(log)->size(), 3u);
    recordTaken("2026-12-05T10:00:00Z"); // forces a fresh decode of the same damage
    EXPECT_EQ(reader.events(log)->size(), 4u);
    EXPECT_THAT(log.lines, ElementsAre("break history has 2 undecodable line(s); 3 event(s) still readable"));
}

TEST_F(BreakLogReading, UnreadableFilesReadAsEmptyWithOneLine) {
    // Bytes no UTF-8 encoder writes: a stray byte, a surrogate half, an overlong '/', past U+10FFFF.
    for (const char* bad : {"\xff\xfe", "\xed\xa0\x80", "\xc0\xaf", "\xf4\x90\x80\x80"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(bad)));
        log.lines.clear();
        writeFile(file, "{\"date\":\"2026-12-05T09:00:00Z\",\"kind\":\"long\",\"outcome\":\"taken\"}\n" +
                            std::string(bad) + "\n");
        BreakLogReader reader(file);
        EXPECT_THAT(*reader.events(log), IsEmpty());
        EXPECT_THAT(*reader.events(log), IsEmpty());
        EXPECT_THAT(log.lines, ElementsAre("break history is not valid UTF-8; every statistic reads as empty"));
    }
    log.lines.clear();
    const auto folder = home / "a-folder";
    std::filesystem::create_directory(folder);
    BreakLogReader reader(folder);
    EXPECT_THAT(*reader.events(log), IsEmpty());
    EXPECT_THAT(log.lines,
                ElementsAre("break history unreadable at " + folder.string() + "; every statistic reads as empty"));
}

TEST_F(BreakLogReading, AMissingFileIsAnEmptyHistoryUntilTheNextRecord) {
    recordTaken("2026-12-05T09:00:00Z");
    BreakLogReader reader(file);
    EXPECT_EQ(reader.events(log)->size(), 1u);
    std::filesystem::remove(file);
    EXPECT_THAT(*reader.events(log), IsEmpty());
    recordTaken("2026-12-05T10:00:00Z");
    EXPECT_EQ(reader.events(log)->size(), 1u);
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(BreakLogReading, TheRecentDaysAreReadFromTheEndAlone) {
    const auto line = [](const BreakEvent& event) { return *BreakLog::encode(event) + "\n"; };
    const BreakEvent old{at("2021-03-01T09:00:00Z"), BreakEvent::Kind::long_, BreakEvent::Outcome::taken, 300.0};
    // Years back a byte no UTF-8 encoder writes: a read of the whole file refuses it all.
    std::string text = "\xff\n";
    for (int i = 0; i < 3000; ++i)
        text += line(old);
    text += line({at("2026-12-06T20:00:00Z"), BreakEvent::Kind::micro, BreakEvent::Outcome::skipped, {}});
    // More of today than one read from the end holds, so lines straddle its edges.
    std::vector<BreakEvent> today;
    for (int i = 0; i < 1500; ++i) {
        today.push_back({at("2026-12-07T08:00:00Z") + 7.0 * i, BreakEvent::Kind::micro,
                         BreakEvent::Outcome::postponed, {}});
        text += line(today.back());
    }
    writeFile(file, text);
    BreakLogReader reader(file);
    EXPECT_EQ(reader.eventsSince(at("2026-12-07T00:00:00Z"), log), today);
    EXPECT_THAT(log.lines, IsEmpty()) << "the damaged years were not read";
    EXPECT_THAT(*reader.events(log), IsEmpty());
}

} // namespace
} // namespace sorvala
