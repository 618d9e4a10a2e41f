// SPDX-License-Identifier: MIT
#include "ProbeCommand.h"

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
    struct Result {
        int status;
        std::string out;
        std::string err;
    };

    Result run(std::vector<std::string> args) {
        std::ostringstream out, err;
        ProbeSources sources{signals, store, calendar, [this] { return now; }, [this](double seconds) {
                                 waits.push_back(seconds);
                                 now += seconds;
                                 signals.idleSeconds += seconds;
                                 return static_cast<int>(waits.size()) < rounds;
                             }};
        const int status = runProbe(Invocation{std::move(args), out, err}, sources);
        return {status, out.str(), err.str()};
    }

    FakeSystemSignals signals;
    MemoryPreferences store;
    ZoneCalendar calendar{"UTC"};
    Instant now = Instant::fromSecondsSinceEpoch(1'796'644'800);
    std::vector<double> waits;
    int rounds = 1;
};

TEST_F(ProbeCommandTest, JsonCarriesEveryReadingAndTheSweep) {
    signals.idleSeconds = 200;
    signals.secondsSinceKeyDown = 190;
    signals.frontmostApp = "org.gnome.Terminal";
    signals.fullscreen = true;
    signals.calendarEvent = true;
    signals.video = true;
    signals.backendList = {{"session", "x11 GNOME"}, {"idle", "x11-screensaver"}};
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    store.set(Keys::calendarSourcesKey, std::vector<std::string>{"/home/u/work.ics"});

    const auto result = run({"--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["idleSeconds"], 200.0);
    EXPECT_EQ(json["secondsSinceKeyDown"], 190.0);
    EXPECT_EQ(json["displayAsleep"], false);
    EXPECT_EQ(json["everyDisplayAsleep"], false);
    EXPECT_EQ(json["frontmostApp"], "org.gnome.Terminal");
    EXPECT_EQ(json["fullscreen"], true);
    EXPECT_EQ(json["videoPlaying"], true) << "the reading itself, whatever the setting";
    EXPECT_EQ(json["microphoneInUse"], false);
    EXPECT_EQ(json["screenCaptured"], false);
    EXPECT_EQ(json["doNotDisturb"], false);
    EXPECT_EQ(json["calendarEvent"], true);
    EXPECT_EQ(json["activeCause"], "Fullscreen app");
    EXPECT_EQ(json["presenceProven"], true) << "the calendar event is attended";
    EXPECT_EQ(json["backends"], (nlohmann::json{{"session", "x11 GNOME"}, {"idle", "x11-screensaver"}}));
    ASSERT_EQ(json["causes"].size(), 7u);
    EXPECT_EQ(json["causes"][2], (nlohmann::json{{"label", "Video playing"}, {"active", false}}));
    EXPECT_EQ(json["causes"][3], (nlohmann::json{{"label", "In a calendar event"}, {"active", true}}));
    EXPECT_EQ(signals.callCount("microphoneInUse"), 2) << "once as a reading, once as a cause, not in the sweep";
}

TEST_F(ProbeCommandTest, TextNamesEachCauseAndWhyItCannotFire) {
    signals.secondsSinceKeyDown = std::nullopt;
    const auto result = run({});
    ASSERT_EQ(result.status, 0) << result.err;
    // Names are padded to one column of 30.
    const auto row = [](std::string name, const std::string& value) {
        return name.append(30 - name.size(), ' ') + value + "\n";
    };
    EXPECT_THAT(result.out, HasSubstr(row("seconds since key down", "unavailable")));
    EXPECT_THAT(result.out, HasSubstr(row("  Video playing", "no (switched off)")));
    EXPECT_THAT(result.out, HasSubstr(row("  Screen recorded or shared", "no (switched off)")));
    EXPECT_THAT(result.out, HasSubstr(row("  Excluded app active", "no (no excluded apps)")));
    EXPECT_THAT(result.out, HasSubstr(row("  Do Not Disturb on", "no")));
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
    EXPECT_TRUE(signals.probed().empty());
    EXPECT_THAT(run({"--help"}).out, HasSubstr("usage: sorvalactl probe [--json] [--watch]"));
}

} // namespace
} // namespace sorvala::ctl
