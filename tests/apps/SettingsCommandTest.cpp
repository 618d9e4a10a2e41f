// SPDX-License-Identifier: MIT
#include "SubcommandRun.h"

#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace sorvala::ctl {
namespace {

namespace fs = std::filesystem;

using Result = SubcommandResult;

// Each test gets its own XDG_CONFIG_HOME, so the command finds its own settings file there.
class SettingsCommandTest : public ::testing::Test {
protected:
    static Result run(std::vector<std::string> args) { return runSubcommand("settings", std::move(args)); }

    fs::path settingsFile() const { return home / "Sorvala" / "Sorvala.conf"; }
    std::string fileBytes() const { return readFile(settingsFile()); }
    std::string get(const std::string& key) const {
        const Result result = run({"get", key});
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    }

    TemporaryDirectory home;
    ScopedEnvironment config{"XDG_CONFIG_HOME", home.path().string()};
};

TEST_F(SettingsCommandTest, ListShowsEverySettingWithDefaultValueAndLiveness) {
    ASSERT_EQ(run({"set", "microMinutes", "25"}).status, 0);
    const Result json = run({"list", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto rows = nlohmann::json::parse(json.out);
    ASSERT_EQ(rows.size(), 43u);
    EXPECT_EQ(rows[1], (nlohmann::json{{"key", "microMinutes"}, {"type", "integer"}, {"default", 20}, {"value", 25},
                                       {"live", true}}));
    EXPECT_EQ(rows.back().at("key"), "calendarSources");
    EXPECT_EQ(rows.back().at("value"), nlohmann::json::array());
    EXPECT_EQ(rows.back().at("live"), false);
}

TEST_F(SettingsCommandTest, SetTakesEachTypeAndGetReadsItBack) {
    struct Case { const char* key; const char* value; const char* reads; };
    const Case cases[] = {
        {"breakCycleEnabled", "0", "false\n"},
        {"reminderMinutes", "480", "480\n"},
        {"reminderMinutes", "+0", "0\n"},
        {"smartPauseCooldownSeconds", "300", "300\n"},
        {"breaksSoundVolume", "0.5", "0.5\n"},
        {"soundPair", "Submarine & Hero", "Submarine & Hero\n"},
        {"enforcementLongBreaks", "hardcore", "hardcore\n"},
        {"breakStartCommand", "", "\n"},
        {"excludedAppBundleIdentifiers", " org.a , org.b,,", "[org.a, org.b]\n"},
        {"calendarSources", "/home/me/work.ics", "[/home/me/work.ics]\n"},
        {"calendarSources", "", "[]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        const Result result = run({"set", c.key, c.value});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(get(c.key), c.reads);
    }
}

TEST_F(SettingsCommandTest, BadInputIsOneLineExitTwoAndLeavesTheFileAlone) {
    ASSERT_EQ(run({"set", "soundPair", "Tink"}).status, 0);
    const std::string before = fileBytes();
    ASSERT_FALSE(before.empty());
    const std::vector<std::vector<std::string>> cases = {
        {"set", "noSuchKey", "1"}, {"set", "breakCycleEnabled", "yes"}, {"set", "reminderMinutes", "2.5"},
        {"set", "reminderMinutes", "481"}, {"set", "reminderMinutes", "-1"},
        {"set", "reminderMinutes", "99999999999999999999"}, {"set", "smartPauseCooldownSeconds", "45"},
        {"set", "breaksSoundVolume", "1.5"}, {"set", "breaksSoundVolume", "nan"}, {"set", "breaksSoundVolume", ""},
        {"set", "soundPair"}, {"set", "soundPair", "Pebble"}, {"set", "enforcementLongBreaks", "Hardcore"},
        {"get", "noSuchKey"}, {"reset", "noSuchKey"}, {"reset"}, {"list", "--yaml"}, {"frobnicate"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        expectRefused(run(args));
        EXPECT_EQ(fileBytes(), before);
    }
}

TEST_F(SettingsCommandTest, AChoiceRefusesOtherWordsAndListShowsTheChoices) {
    EXPECT_EQ(run({"set", "enforcementLongBreaks", "Hardcore"}).err,
              "sorvalactl: enforcementLongBreaks takes one of casual, balanced, hardcore, not 'Hardcore'\n");
    const Result list = run({"list"});
    EXPECT_NE(list.out.find("(one of Glass, Submarine & Hero, Purr & Pop, Tink)\n"), std::string::npos) << list.out;
}

TEST_F(SettingsCommandTest, AFailedRunCreatesNoFile) {
    EXPECT_EQ(run({"set", "microMinutes", "121"}).status, 2);
    EXPECT_EQ(run({"get", "microMinutes"}).status, 0);
    EXPECT_EQ(run({"list"}).status, 0);
    EXPECT_FALSE(fs::exists(settingsFile())) << "reading must not write";
}

TEST_F(SettingsCommandTest, ResetOneOrAllLeavesOtherKeysAlone) {
    ASSERT_EQ(run({"set", "microMinutes", "5"}).status, 0);
    ASSERT_EQ(run({"set", "soundPair", "Tink"}).status, 0);
    writeFile(settingsFile(), fileBytes() + "sessionState=kept\n");
    ASSERT_EQ(run({"reset", "microMinutes"}).status, 0);
    EXPECT_EQ(get("microMinutes"), "20\n");
    EXPECT_EQ(get("soundPair"), "Tink\n");
    ASSERT_EQ(run({"reset", "--all"}).status, 0);
    EXPECT_EQ(get("soundPair"), "Glass\n");
    EXPECT_NE(fileBytes().find("sessionState=kept"), std::string::npos);
}

TEST_F(SettingsCommandTest, AnUnwritableStoreIsAFailureNotSuccess) {
    const fs::path blocker = home / "blocker";
    writeFile(blocker, "a file where a folder should be");
    const ScopedEnvironment unwritable("XDG_CONFIG_HOME", blocker.string());
    const Result result = run({"set", "microMinutes", "5"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("preferences write failed"), std::string::npos) << result.err;
}

} // namespace
} // namespace sorvala::ctl
