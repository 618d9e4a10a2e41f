// SPDX-License-Identifier: MIT
#include "app/StatusLine.h"
#include "i18n/I18n.h"
#include "menubar/StatusMenu.h"
#include "notices/UserSignal.h"
#include "sensing/Sensors.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <set>
#include <string>

namespace sorvala {
namespace {

TEST(Substitute, FillsNumberedPlacesInAnyOrder) {
    struct Case { const char* pattern; std::string expected; };
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

TEST_F(Catalogue, GermanViewModelsSpeakItWithPluralsAndContexts) {
    Translation::useLanguage("de");
    StatusLine::Facts counting;
    counting.secondsUntilNextBreak = 19 * 60 + 59;
    const auto onACall = [] { return std::optional<std::string>(Sensors::callLabel); };
    struct Case { const char* name; std::string shown; std::string german; };
    const Case cases[] = {
        {"what holds breaks, named in English, read in German", StatusLine::text(counting, onACall, {}),
         "Im Gespräch — nächste Pause in 19:59"},
        {"one, in a context", StatusMenu::snoozeTitle(1), "Um 1 Minute"},
        {"many, in a context", StatusMenu::snoozeTitle(5), "Um 5 Minuten"},
        {"a menu label keeps its mnemonic", StatusMenu::items({})[2].label, "&Sorvala öffnen"},
        {"the heads-up with today's score",
         UserSignal::preBreak(true, 0, std::nullopt, UserSignal::DailyScore{1, 3}, false).body,
         "Pause in 30 Sekunden\nHeute: 1 von 3 genommen (33 %)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shown, c.german);
    }
}

// A translator picks the letters anew; two items of one menu must not share one.
TEST_F(Catalogue, EveryMenuLevelHasDistinctMnemonics) {
    const auto check = [](const std::vector<StatusMenu::Item>& items, const auto& self) -> void {
        std::set<std::string> letters;
        for (const auto& item : items) {
            const auto at = item.label.find('&');
            if (at != std::string::npos && at + 1 < item.label.size() && item.label[at + 1] != '&') {
                // One byte, or the two of a letter such as "Ü".
                std::string letter = item.label.substr(at + 1, (item.label[at + 1] & 0x80) != 0 ? 2 : 1);
                if (letter.size() == 1)
                    letter[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(letter[0])));
                EXPECT_TRUE(letters.insert(letter).second) << item.label;
            }
            self(item.submenu, self);
        }
    };
    for (const char* language : {"de", ""}) {
        SCOPED_TRACE(*language ? language : "English");
        Translation::useLanguage(language);
        check(StatusMenu::items({}), check);
    }
}

} // namespace
} // namespace sorvala
