// SPDX-License-Identifier: MIT
#include "core/ScreenOn.h"
#include "core/SessionState.h"

#include "support/CorePrinters.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace sorvala {
namespace {

const Instant t0 = Instant::fromSecondsSinceReferenceDate(818'000'000);

std::string golden(const char* name) {
    std::ifstream in(std::string(SORVALA_TEST_DATA_DIR) + "/core/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const SessionState goldenState{Instant::fromSecondsSinceReferenceDate(818'000'000.5),
                               Instant::fromSecondsSinceReferenceDate(817'999'000.25), std::nullopt,
                               Instant::fromSecondsSinceReferenceDate(818'000'100), "412"};

TEST(SessionStateCodec, StoredFormIsPinned) {
    EXPECT_EQ(SessionState::decoded(golden("session-state.json")), goldenState);
    const auto encoded = goldenState.encoded();
    ASSERT_TRUE(encoded);
    EXPECT_EQ(nlohmann::json::parse(*encoded), nlohmann::json::parse(golden("session-state.json")))
        << "absent values are omitted, instants count seconds from 2001";
    EXPECT_EQ(SessionState::decoded(R"({"savedAt":1,"version":"1","pausedUntil":null})"),
              (SessionState{std::nullopt, std::nullopt, std::nullopt, Instant::fromSecondsSinceReferenceDate(1), "1"}));
}

TEST(SessionStateStore, SaveLoadAndDamagedValues) {
    MemoryPreferences store;
    RecordingLogger log;
    EXPECT_EQ(SessionState::load(store, log), std::nullopt);
    goldenState.save(store, log);
    EXPECT_EQ(SessionState::load(store, log), goldenState);
    SessionState::clear(store);
    EXPECT_EQ(SessionState::load(store, log), std::nullopt);
    EXPECT_TRUE(log.lines.empty());

    const PreferenceValue damaged[] = {
        std::string("{not json"),
        std::string(R"({"version":"1"})"),
        std::string(R"({"savedAt":"yesterday","version":"1"})"),
        std::string(R"({"savedAt":1,"version":7})"),
        std::string(R"({"savedAt":1,"version":"1","longStretchStartedAt":"x"})"),
        std::string("[1,2]"),
        std::int64_t{3},
    };
    for (const auto& value : damaged) {
        SCOPED_TRACE(describe(value));
        log.lines.clear();
        store.set(SessionState::defaultsKey, value);
        EXPECT_EQ(SessionState::load(store, log), std::nullopt);
        EXPECT_EQ(log.lines, std::vector<std::string>{"saved session could not be read; discarded"});
        EXPECT_FALSE(store.storedValues().count(SessionState::defaultsKey));
    }

    log.lines.clear();
    SessionState broken = goldenState;
    broken.version = "\xff\xfe";
    broken.save(store, log);
    EXPECT_EQ(log.lines, std::vector<std::string>{"session state could not be encoded; pause and work clock not saved"});
    EXPECT_FALSE(store.storedValues().count(SessionState::defaultsKey));
}

TEST(SessionStateRestored, GapVersionAndClockMovedBack) {
    const Instant paused = t0 + 3600;
    const SessionState saved{paused, t0 - 600, t0 - 300, t0, "412"};
    struct Case {
        const char* name;
        SessionState state;
        double after;
        const char* version;
        std::optional<SessionState> expected;
    };
    const Case cases[] = {
        {"quick relaunch keeps everything", saved, 119, "412", saved},
        {"gap of the threshold drops the stretches", saved, 120, "412",
         SessionState{paused, std::nullopt, std::nullopt, t0, "412"}},
        {"build changed", saved, 10, "413", SessionState{paused, std::nullopt, std::nullopt, t0, "412"}},
        {"no build number", SessionState{std::nullopt, t0 - 600, t0 - 300, t0, ""}, 10, "", std::nullopt},
        {"clock moved back", saved, -1, "412", SessionState{paused, std::nullopt, std::nullopt, t0, "412"}},
        {"expired pause and old save", saved, 3600, "412", std::nullopt},
        {"pause until resumed survives", SessionState{Instant::distantFuture(), std::nullopt, std::nullopt, t0, "412"},
         1e7, "412", SessionState{Instant::distantFuture(), std::nullopt, std::nullopt, t0, "412"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.state.restored(t0 + c.after, c.version), c.expected);
    }
}

TEST(ScreenOnStore, RecordsAndReadsTheLastOnInstant) {
    MemoryPreferences store;
    EXPECT_EQ(ScreenOn::lastOnAt(store), std::nullopt);
    ScreenOn::record(t0, store);
    EXPECT_EQ(ScreenOn::lastOnAt(store), t0);
    store.set(ScreenOn::defaultsKey, std::string("818000000.5"));
    EXPECT_EQ(ScreenOn::lastOnAt(store), t0 + 0.5) << "a text store hands the number back as text";
    store.set(ScreenOn::defaultsKey, std::string("soon"));
    EXPECT_EQ(ScreenOn::lastOnAt(store), std::nullopt);
}

TEST(ScreenOnRules, ThresholdSpanAndAction) {
    EXPECT_EQ(ScreenOn::threshold(1), 120);
    EXPECT_EQ(ScreenOn::threshold(45), 2700);
    EXPECT_EQ(ScreenOn::darkSpanSeconds(t0, t0 + 2700, 2700), std::nullopt);
    EXPECT_EQ(ScreenOn::darkSpanSeconds(t0, t0 + 2701, 2700), 2701.0);
    EXPECT_EQ(ScreenOn::darkSpanSeconds(std::nullopt, t0, 0), std::nullopt);
    EXPECT_EQ(ScreenOn::action(t0, t0 + 3000, false, 2700), ScreenOn::Action(ScreenOn::Wait{}));
    EXPECT_EQ(ScreenOn::action(t0, t0 + 3000, true, 2700), ScreenOn::Action(ScreenOn::CreditThenRecord{3000}));
    EXPECT_EQ(ScreenOn::action(t0, t0 + 60, true, 2700), ScreenOn::Action(ScreenOn::Record{}));
}

// Drives the periodic check the way the application does and collects the credited spans.
struct ScreenWatch {
    MemoryPreferences store;
    std::optional<Instant> returnedAt;
    std::optional<Instant> lastTickAt;
    std::vector<double> credits;

    void check(Instant now, bool screenOn) {
        const auto tick = ScreenOn::tick(returnedAt, ScreenOn::lastOnAt(store), lastTickAt, now, screenOn,
                                         ScreenOn::threshold(45), 180);
        returnedAt = tick.returnedAt;
        lastTickAt = now;
        if (const auto* credit = std::get_if<ScreenOn::CreditThenRecord>(&tick.action))
            credits.push_back(credit->seconds);
        if (!std::holds_alternative<ScreenOn::Wait>(tick.action))
            ScreenOn::record(now, store);
    }
};

TEST(ScreenOnTick, FiftyDarkMinutesAreCreditedAfterTheGrace) {
    ScreenWatch watch;
    ScreenOn::record(t0, watch.store);
    double s = 0;
    for (; s < 50 * 60; s += 60)
        watch.check(t0 + s, false);
    for (; s < 50 * 60 + 180; s += 60)
        watch.check(t0 + s, true);
    EXPECT_TRUE(watch.credits.empty()) << "still within the grace";
    watch.check(t0 + s, true);
    EXPECT_EQ(watch.credits, std::vector<double>{3000});
    EXPECT_EQ(ScreenOn::lastOnAt(watch.store), t0 + s);
}

TEST(ScreenOnTick, BriefWakeThenSleepRestartsTheReturn) {
    ScreenWatch watch;
    ScreenOn::record(t0, watch.store);
    watch.check(t0 + 60, false);
    watch.check(t0 + 120, true); // a notification lit the screen
    watch.check(t0 + 180, false);
    EXPECT_EQ(watch.returnedAt, std::nullopt);
    // The machine slept: the next check comes late and only marks the return.
    watch.check(t0 + 3600, true);
    EXPECT_EQ(watch.returnedAt, t0 + 3600);
    EXPECT_TRUE(watch.credits.empty());
    watch.check(t0 + 3660, true);
    watch.check(t0 + 3720, true);
    watch.check(t0 + 3780, true);
    EXPECT_EQ(watch.credits, std::vector<double>{3600});
}

} // namespace
} // namespace sorvala
