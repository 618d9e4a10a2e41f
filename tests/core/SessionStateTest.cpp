// SPDX-License-Identifier: MIT
#include "core/ScreenOn.h"
#include "core/SessionState.h"

#include "support/CorePrinters.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace sorvala {
namespace {

const Instant t0 = Instant::fromSecondsSinceReferenceDate(818'000'000);

TEST(SessionStateStore, StoredFormIsPinnedAndDamageIsDiscarded) {
    std::ifstream in(std::string(SORVALA_TEST_DATA_DIR) + "/core/session-state.json");
    const std::string golden{std::istreambuf_iterator<char>(in), {}};
    const SessionState state{t0 + 0.5, t0 - 999.75, std::nullopt, t0 + 100, "412"};
    EXPECT_EQ(SessionState::decoded(golden), state);
    EXPECT_EQ(nlohmann::json::parse(state.encoded().value()), nlohmann::json::parse(golden))
        << "absent values are omitted, instants count seconds from 2001";

    MemoryPreferences store;
    RecordingLogger log;
    state.save(store, log);
    EXPECT_EQ(SessionState::load(store, log), state);
    const PreferenceValue damaged[] = {std::string("{not json"), std::string(R"({"version":"1"})"),
                                       std::string(R"({"savedAt":"today","version":"1"})"),
                                       std::string(R"({"savedAt":1,"version":"1","pausedUntil":"x"})"),
                                       std::int64_t{3}};
    for (const auto& value : damaged) {
        store.set(SessionState::defaultsKey, value);
        EXPECT_EQ(SessionState::load(store, log), std::nullopt) << describe(value);
        EXPECT_FALSE(store.storedValues().count(SessionState::defaultsKey)) << describe(value);
    }
    EXPECT_EQ(log.lines, std::vector<std::string>(std::size(damaged), "saved session could not be read; discarded"));

    log.lines.clear();
    SessionState{std::nullopt, t0, t0, t0, "\xff"}.save(store, log);
    EXPECT_EQ(log.lines, std::vector<std::string>{"session state could not be encoded; pause and work clock not saved"});
    EXPECT_FALSE(store.storedValues().count(SessionState::defaultsKey));
}

TEST(SessionStateRestored, GapVersionAndClockMovedBack) {
    const Instant paused = t0 + 3600;
    const SessionState saved{paused, t0 - 600, t0 - 300, t0, "412"};
    const SessionState pauseOnly{paused, std::nullopt, std::nullopt, t0, "412"};
    EXPECT_EQ(saved.restored(t0 + 119, "412"), saved);
    EXPECT_EQ(saved.restored(t0 + 120, "412"), pauseOnly) << "gap of the threshold";
    EXPECT_EQ(saved.restored(t0 + 10, "413"), pauseOnly) << "build changed";
    EXPECT_EQ(saved.restored(t0 - 1, "412"), pauseOnly) << "clock moved back";
    EXPECT_EQ(saved.restored(t0 + 3600, "412"), std::nullopt) << "expired pause and old save";
    EXPECT_EQ((SessionState{std::nullopt, t0, t0, t0, ""}.restored(t0 + 10, "")), std::nullopt) << "no build number";
}

TEST(ScreenOnTick, DarkSpanIsCreditedAfterTheGraceAndABriefWakeCreditsNothing) {
    MemoryPreferences store;
    std::optional<Instant> returnedAt;
    std::optional<Instant> lastTickAt;
    std::vector<double> credits;
    const auto check = [&](double s, bool screenOn) {
        const auto tick = ScreenOn::tick(returnedAt, ScreenOn::lastOnAt(store), lastTickAt, t0 + s, screenOn,
                                         ScreenOn::threshold(45), 180);
        returnedAt = tick.returnedAt;
        lastTickAt = t0 + s;
        if (const auto* credit = std::get_if<ScreenOn::CreditThenRecord>(&tick.action))
            credits.push_back(credit->seconds);
        if (!std::holds_alternative<ScreenOn::Wait>(tick.action))
            ScreenOn::record(t0 + s, store);
    };
    ScreenOn::record(t0, store);
    check(60, false);
    check(120, true); // a notification lit the screen briefly
    for (double s = 180; s < 3000; s += 60)
        check(s, false);
    for (double s = 3000; s <= 3180; s += 60)
        check(s, true);
    EXPECT_EQ(credits, std::vector<double>{3000}) << "measured from the last sighting to the return";
    EXPECT_EQ(ScreenOn::lastOnAt(store), t0 + 3180);
    EXPECT_EQ(ScreenOn::threshold(1), 120);
    store.set(ScreenOn::defaultsKey, std::string("soon"));
    EXPECT_EQ(ScreenOn::lastOnAt(store), std::nullopt);
}

} // namespace
} // namespace sorvala
