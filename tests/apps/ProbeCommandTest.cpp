// SPDX-License-Identifier: MIT
#include "ProbeCommand.h"
#include "SubcommandRun.h"

#include "core/SettingsKeys.h"
#include "support/FakeSystemSignals.h"
#include "support/MemoryPreferences.h"
#include "support/ZoneCalendar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace sorvala::ctl {
namespace {

namespace Keys = SettingsSchema;
using ::testing::HasSubstr;

class ProbeCommandTest : public ::testing::Test {
protected:
    SubcommandResult run(std::vector<std::string> args) {
        std::ostringstream out, err;
        ProbeSources sources{system, store, calendar, [this] { return now; }, [this](double seconds) {
                                 waits.push_back(seconds);
                                 now += seconds;
                                 system.idleSeconds += seconds;
                                 return static_cast<int>(waits.size()) < rounds;
                             }};
        const int status = runProbe(Invocation{std::move(args), out, err}, sources);
        return {status, out.str(), err.str()};
    }

    FakeSystemSignals system;
    MemoryPreferences store;
    ZoneCalendar calendar{"UTC"};
    Instant now = Instant::fromSecondsSinceEpoch(1'796'644'800);
    std::vector<double> waits;
    int rounds = 1;
};

TEST_F(ProbeCommandTest, JsonCarriesEveryReadingAndTheSweep) {
    system.idleSeconds = 200;
    system.secondsSinceKeyDown = 190;
    system.frontmostApp = "org.gnome.Terminal";
    system.fullscreen = true;
    system.calendarEvent = true;
    system.video = true;
    system.backendList = {{"session", "x11 GNOME"}, {"idle", "x11-screensaver"}};
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    store.set(Keys::calendarSourcesKey, std::vector<std::string>{"/home/u/work.ics"});

    const auto result = run({"--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    auto json = nlohmann::json::parse(result.out);
    const auto causes = json["causes"];
    json.erase("causes");
    // videoPlaying is the reading itself, whatever the setting; the calendar event proves presence.
    EXPECT_EQ(json, nlohmann::json::parse(R"({
        "idleSeconds": 200.0, "secondsSinceKeyDown": 190.0, "displayAsleep": false,
        "everyDisplayAsleep": false, "frontmostApp": "org.gnome.Terminal", "fullscreen": true,
        "videoPlaying": true, "microphoneInUse": false, "screenCaptured": false, "doNotDisturb": false,
        "calendarEvent": true, "activeCause": "Fullscreen app", "presenceProven": true,
        "backends": {"session": "x11 GNOME", "idle": "x11-screensaver"}, "withinWorkingHours": true})"));
    ASSERT_EQ(causes.size(), 7u);
    EXPECT_EQ(causes[2], (nlohmann::json{{"label", "Video playing"}, {"active", false}}));
    EXPECT_EQ(causes[3], (nlohmann::json{{"label", "In a calendar event"}, {"active", true}}));
}

TEST_F(ProbeCommandTest, TextNamesEachCauseAndWhyItCannotFire) {
    system.secondsSinceKeyDown = std::nullopt;
    const auto result = run({});
    ASSERT_EQ(result.status, 0) << result.err;
    // Names are padded to one column of 30.
    const auto row = [](std::string name, const std::string& value) {
        return name.append(30 - name.size(), ' ') + value + "\n";
    };
    EXPECT_THAT(result.out, HasSubstr(row("seconds since key down", "unavailable")));
    EXPECT_THAT(result.out, HasSubstr(row("  Video playing", "no (switched off)")));
    EXPECT_THAT(result.out, HasSubstr(row("  Excluded app active", "no (no excluded apps)")));
    EXPECT_THAT(result.out, HasSubstr(row("active cause", "none") + row("presence proven", "no")));
    EXPECT_THAT(result.out, HasSubstr(row("back end session", "fake")));
}

TEST_F(ProbeCommandTest, WatchRepeatsUntilStopped) {
    rounds = 3;
    const auto result = run({"--watch", "--json"});
    ASSERT_EQ(result.status, 0);
    std::istringstream lines(result.out);
    std::vector<double> idle;
    for (std::string line; std::getline(lines, line);)
        idle.push_back(nlohmann::json::parse(line)["idleSeconds"].get<double>());
    EXPECT_EQ(idle, (std::vector<double>{0, 2, 4}));
    EXPECT_EQ(waits, (std::vector<double>{probeWatchInterval, probeWatchInterval, probeWatchInterval}));
}

TEST_F(ProbeCommandTest, UnknownOptionChangesNothing) {
    const auto result = run({"--jsn"});
    EXPECT_EQ(result.status, usageError);
    EXPECT_EQ(result.err, "sorvalactl: probe does not take '--jsn' (see sorvalactl probe --help)\n");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(system.probed().empty());
    EXPECT_THAT(run({"--help"}).out, HasSubstr("usage: sorvalactl probe [--json] [--watch]"));
}

} // namespace
} // namespace sorvala::ctl
