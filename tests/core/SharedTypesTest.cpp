// SPDX-License-Identifier: MIT
#include "core/Calendar.h"
#include "core/PreferencesStore.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(CivilDayArithmetic, RoundTripsAndWeekdays) {
    for (std::int64_t days : {-719468LL, -1LL, 0LL, 59LL, 11016LL, 20793LL, 2932896LL})
        EXPECT_EQ(CivilDay::fromDaysSinceEpoch(days).daysSinceEpoch(), days);
    EXPECT_EQ((CivilDay{2026, 12, 6}).weekday(), 1); // a Sunday
    EXPECT_EQ((CivilDay{2024, 2, 28}).addingDays(1), (CivilDay{2024, 2, 29}));
    EXPECT_EQ((CivilDay{2026, 12, 31}).addingDays(1), (CivilDay{2027, 1, 1}));
}

TEST(InstantText, Iso8601BothWays) {
    const Instant at = *parseIso8601("2026-12-05T19:23:07Z");
    EXPECT_EQ(iso8601(at + 0.9), "2026-12-05T19:23:07Z");
    EXPECT_EQ(iso8601(at, 3600), "2026-12-05T20:23:07+01:00");
    EXPECT_EQ(iso8601(at, -5 * 3600 - 1800), "2026-12-05T13:53:07-05:30");
    EXPECT_EQ(parseIso8601("2026-12-05T20:23:07+01:00"), at);
    EXPECT_EQ(parseIso8601("2026-12-05T19:23:07.5Z"), std::nullopt);
    EXPECT_EQ(parseIso8601("2026-02-30T00:00:00Z"), std::nullopt);
}

TEST(PreferenceConversionRules, ReadLikeThePlatformStore) {
    using namespace PreferenceConversion;
    struct Case { const char* name; PreferenceValue value; bool asBoolean; std::int64_t asInteger; double asNumber; };
    const Case cases[] = {
        {"true", true, true, 1, 1.0},
        {"zero integer", std::int64_t{0}, false, 0, 0.0},
        {"fraction", 0.25, true, 0, 0.25},
        {"text of an integer", std::string("20"), true, 20, 20.0},
        {"text of a truth value", std::string("true"), true, 0, 0.0},
        {"text of a fraction", std::string("0.25"), true, 0, 0.25},
        {"text with a fraction as integer", std::string("20.7"), true, 20, 20.7},
        {"words", std::string("Glass"), false, 0, 0.0},
        {"list", std::vector<std::string>{"a"}, false, 0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toBoolean(c.value), c.asBoolean);
        EXPECT_EQ(toInteger(c.value), c.asInteger);
        EXPECT_DOUBLE_EQ(toNumber(c.value), c.asNumber);
    }
    EXPECT_EQ(toText(PreferenceValue{std::int64_t{20}}), "20");
    EXPECT_EQ(toText(PreferenceValue{std::vector<std::string>{}}), std::nullopt);
    EXPECT_EQ(describe(PreferenceValue{std::vector<std::string>{"a", "b"}}), "[a, b]");
}

} // namespace
} // namespace sorvala
