// SPDX-License-Identifier: MIT
#include "report/IssueReport.h"

#include "support/TemporaryDirectory.h"
#include "support/ZoneCalendar.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using namespace IssueReport;

Instant utc(const char* text) {
    return *parseIso8601(text);
}

TEST(IssueReportDayWindow, WholeLocalDaysAcrossDaylightSaving) {
    const ZoneCalendar berlin("Europe/Berlin");
    struct Case { const char* name; Instant from; Instant to; const char* start; const char* end; };
    const Case cases[] = {
        {"one ordinary day", berlin.at("2026-03-10T15:00:00"), berlin.at("2026-03-10T08:00:00"),
         "2026-03-09T23:00:00Z", "2026-03-10T23:00:00Z"},
        {"the 23-hour spring day", berlin.at("2026-03-29T12:00:00"), berlin.at("2026-03-29T12:00:00"),
         "2026-03-28T23:00:00Z", "2026-03-29T22:00:00Z"},
        {"three days over the autumn change", berlin.at("2026-10-24T23:59:00"),
         berlin.at("2026-10-26T00:01:00"), "2026-10-23T22:00:00Z", "2026-10-26T23:00:00Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dayWindow(c.from, c.to, berlin), (Window{utc(c.start), utc(c.end)}));
    }
}

TEST(IssueReportSlice, KeepsOnlyDatedLinesInsideTheWindow) {
    const std::vector<std::string> lines = {
        "2026-12-01T23:59:59Z before the window",
        "2026-12-02T00:00:00Z first second",
        "no timestamp here",
        "2026-12-02T12:00:00Z",
        "2026-12-02T13:00:00Z break due kind=long",
        "garbage-time break due",
        "2026-12-03T00:00:00Z the end is outside",
    };
    EXPECT_EQ(slice(lines, utc("2026-12-02T00:00:00Z"), utc("2026-12-03T00:00:00Z")),
              (std::vector<std::string>{"2026-12-02T00:00:00Z first second",
                                        "2026-12-02T13:00:00Z break due kind=long"}));
}

TEST(IssueReportCap, CutsFromTheFrontBehindANote) {
    const std::vector<std::string> lines = {std::string(40, 'a'), std::string(40, 'b'), std::string(40, 'c')};
    EXPECT_EQ(cap(lines, 122), lines) << "everything fits, newlines included";
    EXPECT_EQ(cap({}, 0), std::vector<std::string>{});

    // The note for dropping all three is 36 bytes; with its newline 37 are set aside.
    const std::string one = "[truncated: 1 earlier line dropped]";
    const std::string two = "[truncated: 2 earlier lines dropped]";
    EXPECT_EQ(cap(lines, 121), (std::vector<std::string>{one, lines[1], lines[2]}));
    EXPECT_EQ(cap(lines, 37 + 81), (std::vector<std::string>{one, lines[1], lines[2]}));
    EXPECT_EQ(cap(lines, 37 + 80), (std::vector<std::string>{two, lines[2]}))
        << "one byte short of two lines";
    EXPECT_EQ(cap(lines, 10), (std::vector<std::string>{"[truncated: 3 earlier lines dropped]"}))
        << "a budget smaller than the note keeps no line";
}

// The plain-letter limit is the validation table's; here letters of every UTF-8 length count.
TEST(IssueReportMessage, LimitCountsUtf16CodeUnits) {
    // 4999 emoji are 9998 code units; two more letters reach 10000, three pass it.
    std::string emoji;
    for (int i = 0; i < 4999; ++i)
        emoji += "\xF0\x9F\x98\x80";
    EXPECT_TRUE(messageFitsLimit(emoji + "éa"));
    EXPECT_FALSE(messageFitsLimit(emoji + "éaa"));
    EXPECT_EQ(utf16Length("€"), 1U);
}

TEST(IssueReportValidation, EmailMessageAndRange) {
    const CivilDay monday{2026, 11, 30};
    const CivilDay tuesday{2026, 12, 1};
    struct Case {
        const char* name; std::string email, message; bool includeLogs; CivilDay from, to; bool canSend, tooLong;
    };
    const Case cases[] = {
        {"all good", "ann@example.org", "It froze.", true, monday, tuesday, true, false},
        {"spaces around the address", "  ann@example.org ", "It froze.", true, monday, monday, true, false},
        {"no dot after the at sign", "ann@example", "It froze.", false, monday, monday, false, false},
        {"two at signs", "ann@@example.org", "It froze.", false, monday, monday, false, false},
        {"a space inside", "ann smith@example.org", "It froze.", false, monday, monday, false, false},
        {"subdomains", "a.b@mail.example.co.uk", "It froze.", false, monday, monday, true, false},
        {"empty address", "", "It froze.", false, monday, monday, false, false},
        {"blank message", "ann@example.org", " \n\t ", false, monday, monday, false, false},
        {"10001 characters", "ann@example.org", std::string(10001, 'm'), false, monday, monday, false, true},
        {"trailing newlines do not count", "ann@example.org", std::string(10000, 'm') + "\n\n", false, monday,
         monday, true, false},
        {"from after to with logs", "ann@example.org", "It froze.", true, tuesday, monday, false, false},
        {"from after to without logs", "ann@example.org", "It froze.", false, tuesday, monday, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Validation v = validate(c.email, c.message, c.includeLogs, c.from, c.to);
        EXPECT_EQ(v.canSend, c.canSend);
        EXPECT_EQ(v.messageTooLong, c.tooLong);
    }
}

TEST(IssueReportPayload, SortedKeysAndAbsentFieldsLeftOut) {
    Payload fields{"42", "d1", "desk", "ann@example.org", "2026-12-02T10:00:00Z a\n2026-12-02T10:00:01Z b",
                   "It \"froze\"."};
    EXPECT_EQ(payload(fields),
              R"({"appBuild":"42","deviceId":"d1","deviceName":"desk","email":"ann@example.org",)"
              R"("logs":"2026-12-02T10:00:00Z a\n2026-12-02T10:00:01Z b","message":"It \"froze\"."})");
    fields.deviceName.reset();
    fields.logs.reset();
    EXPECT_EQ(payload(fields),
              R"({"appBuild":"42","deviceId":"d1","email":"ann@example.org","message":"It \"froze\"."})");
    fields.logs = std::string("2026-12-02T10:00:00Z bad \xFF byte");
    ASSERT_TRUE(payload(fields).has_value()) << "a damaged log line must not stop the report";
    EXPECT_NE(payload(fields)->find("bad \xEF\xBF\xBD byte"), std::string::npos);
}

TEST(IssueReportServer, StatusMappingAndEndpoint) {
    struct Case { std::optional<int> status; ServerResult result; };
    const Case cases[] = {{std::nullopt, ServerResult::unreachable}, {200, ServerResult::success},
                          {299, ServerResult::success},           {301, ServerResult::unreachable},
                          {400, ServerResult::rejected},          {429, ServerResult::rateLimited},
                          {499, ServerResult::rejected},          {500, ServerResult::unreachable},
                          {0, ServerResult::unreachable}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status.value_or(-1));
        EXPECT_EQ(serverResult(c.status), c.result);
    }
    EXPECT_EQ(endpoint("https://example.org"), "https://example.org/api/report");
    EXPECT_EQ(endpoint("http://127.0.0.1:8080/"), "http://127.0.0.1:8080/api/report");
}

TEST(IssueReportCollect, ReadsGenerationsOldestFirstAndSaysWhenNothingIsLeft) {
    TemporaryDirectory dir;
    const auto older = dir / "Sorvala.log.1", current = dir / "Sorvala.log", missing = dir / "Sorvala.log.3";
    writeFile(older, "2026-12-01T10:00:00Z yesterday\n2026-12-02T09:00:00Z older\n");
    writeFile(current, "\n2026-12-02T10:00:00Z newer\r\nstray text\n2026-12-03T00:00:01Z tomorrow\n");
    const Window day{utc("2026-12-02T00:00:00Z"), utc("2026-12-03T00:00:00Z")};
    EXPECT_EQ(collectLogText({missing, older, current}, day),
              "2026-12-02T09:00:00Z older\n2026-12-02T10:00:00Z newer");
    EXPECT_EQ(collectLogText({older, current}, day, 52), "[truncated: 2 earlier lines dropped]");
    const Window empty{utc("2026-11-01T00:00:00Z"), utc("2026-11-02T00:00:00Z")};
    EXPECT_EQ(collectLogText({older, current}, empty), "[no log lines in the selected range]");
}

} // namespace
} // namespace sorvala
