// SPDX-License-Identifier: MIT
#include "i18n/I18n.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace sorvala {
namespace {

TEST(Substitute, FillsNumberedPlacesInAnyOrder) {
    struct Case {
        const char* pattern;
        std::string expected;
    };
    const Case cases[] = {
        {"in %1 min", "in 5 min"},
        {"%2 before %1", "b before 5"},
        {"100%% at %1", "100% at 5"},
        {"%3 stays, so does 50% and a last %", "%3 stays, so does 50% and a last %"},
        {"%1%1", "55"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Translation::substitute(c.pattern, {5, "b"}), c.expected);
    }
    // An argument that looks like a place is not filled again.
    EXPECT_EQ(Translation::substitute("%1 and %2", {"%2", "x"}), "%2 and x");
}

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SORVALA_LOCALE_DIR", SORVALA_BUILD_LOCALE_DIR, 1);
        Translation::setUp();
    }
    void TearDown() override { Translation::useLanguage(""); }
};

TEST_F(Catalogue, LanguagesSwitchInOneProcessAndUnknownTextsStayEnglish) {
    const char* message = "--action needs a NAME (%1)";
    Translation::useLanguage("pseudo");
    const std::string pseudo = i18n(message, "pause");
    EXPECT_TRUE(pseudo.starts_with("[")) << pseudo;
    EXPECT_NE(pseudo.find("pause"), std::string::npos) << pseudo;
    EXPECT_EQ(i18n("a text no catalogue has"), "a text no catalogue has");
    EXPECT_EQ(i18n(""), "");

    Translation::useLanguage("");
    EXPECT_EQ(i18n(message, "pause"), "--action needs a NAME (pause)");
}

TEST_F(Catalogue, PluralsFollowTheLanguageAndContextsFallBackToTheText) {
    Translation::useLanguage("pseudo");
    // Texts no catalogue has, so the forms are the English ones.
    EXPECT_EQ(i18np("%1 pear", "%1 pears", -1), "-1 pear");
    EXPECT_EQ(i18np("%1 pear", "%1 pears", 3), "3 pears");
    EXPECT_EQ(i18nc("unknown context", "Pause"), "Pause");
}

} // namespace
} // namespace sorvala
