// SPDX-License-Identifier: MIT
#include "menubar/MenuBarCountdown.h"

#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <limits>

namespace sorvala {
namespace {

TEST(MenuBarCountdown, TitleForms) {
    struct Case { std::optional<double> seconds; std::optional<std::string> title; };
    const Case cases[] = {
        {75, "1:15"},          {59.4, "0:59"},        {3599.4, "59:59"},  {3599.6, "1:00:00"},
        {3729, "1:02:09"},     {-5, "0:00"},          {std::nullopt, std::nullopt},
        {36000 * 10, "100:00:00"},
        {std::numeric_limits<double>::infinity(), std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds ? std::to_string(*c.seconds) : "none");
        EXPECT_EQ(MenuBarCountdown::title(true, false, false, MenuBarCountdown::wholeSeconds(c.seconds)), c.title);
    }
}

TEST(MenuBarCountdown, NoTitleWhenOffOnABreakOrPaused) {
    EXPECT_EQ(MenuBarCountdown::title(false, false, false, 75), std::nullopt);
    EXPECT_EQ(MenuBarCountdown::title(true, true, false, 75), std::nullopt);
    EXPECT_EQ(MenuBarCountdown::title(true, false, true, 75), std::nullopt);
    EXPECT_EQ(MenuBarCountdown::title(true, false, false, 75), "1:15");
    MemoryPreferences store;
    store.set("menuBarCountdown", false);
    EXPECT_EQ(MenuBarCountdown::title(MenuBarCountdown::isEnabled(store), false, false, 75), std::nullopt);
}

TEST(MenuBarCountdown, IconTextCountsWholeMinutesUpThenHours) {
    struct Case { double seconds; const char* text; };
    const Case cases[] = {
        {0, "1"},       {1, "1"},       {60, "1"},     {61, "2"},          {1199.9, "20"},
        {3540, "59"},   {3541, "1h"},   {3599.5, "1h"}, {7199, "1h"},      {7200, "2h"},
        {1e9, "99h"},   {-30, "1"},     {std::numeric_limits<double>::quiet_NaN(), "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(MenuBarCountdown::iconText(c.seconds), c.text);
    }
}

} // namespace
} // namespace sorvala
