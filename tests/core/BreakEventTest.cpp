// SPDX-License-Identifier: MIT
#include "core/BreakEvent.h"
#include "core/PreferencesStore.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(BreakEventText, EveryKindAndOutcomeRoundTrips) {
    for (const auto kind : allBreakKinds)
        EXPECT_EQ(kindFromText(text(kind)), kind);
    for (const auto outcome : allBreakOutcomes)
        EXPECT_EQ(outcomeFromText(text(outcome)), outcome);
    EXPECT_EQ(text(BreakEvent::Kind::long_), "long");
    EXPECT_EQ(kindFromText("lunch"), std::nullopt);
    EXPECT_EQ(outcomeFromText("Taken"), std::nullopt);
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
