// SPDX-License-Identifier: MIT
// The banner centre beside a real notification server, dunst, as a user's desktop runs one.
#include "platform/dbus/FreedesktopBannerCenter.h"

#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"

#include "SessionSupport.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using namespace test;

class WithDunst : public OnTheSessionBus {
protected:
    void SetUp() override {
        OnTheSessionBus::SetUp();
        if (IsSkipped())
            return;
        if (!hasProgram("dunst") || !hasProgram("dunstctl") || !hasDisplay())
            GTEST_SKIP() << "needs dunst (scripts/bootstrap) and the test session's display";
        // The context menu's chooser picks "Snooze 5 min", as a user would in dmenu.
        const auto chooser = folder / "choose";
        writeFile(chooser, "#!/bin/sh\ngrep -m1 'snooze-5'\n");
        std::filesystem::permissions(chooser, std::filesystem::perms::owner_all);
        writeFile(folder / "dunstrc", "[global]\n    dmenu = " + chooser.string() + "\n    timeout = 0\n");
        dunst = std::make_unique<Child>(
            "dunst", QStringList{"-conf", QString::fromStdString((folder / "dunstrc").string())});
        ASSERT_TRUE(waitUntil([] { return isOnTheBus(FreedesktopBannerCenter::serviceName); }));
    }

    /// What `dunstctl count displayed` says: the banners dunst shows now.
    static int displayed() { return output("dunstctl", {"count", "displayed"}).trimmed().toInt(); }

    TemporaryDirectory folder;
    std::unique_ptr<Child> dunst;
    RecordingLogger log;
};

TEST_F(WithDunst, TheHeadsUpShowsAndItsSnoozeComesBack) {
    FreedesktopBannerCenter center(log);
    std::vector<BannerCenter::Response> responses;
    center.setOnResponse([&](const BannerCenter::Response& r) { responses.push_back(r); });
    center.refreshAuthorization(false);
    ASSERT_TRUE(waitUntil([&] { return !center.isRefreshing(); }));
    ASSERT_TRUE(center.isAvailable());
    ASSERT_TRUE(center.supportsActions());
    const auto headsUp = UserSignal::preBreak(true, 0, 3, std::nullopt, true);

    center.post(headsUp);
    ASSERT_TRUE(waitUntil([] { return displayed() == 1; }));
    QProcess::execute("dunstctl", {"context"});
    ASSERT_TRUE(waitUntil([&] { return !responses.empty(); }));
    EXPECT_EQ(responses[0].action, "snooze-5");
    EXPECT_EQ(responses[0].category, "pre-break");
    EXPECT_TRUE(waitUntil([] { return displayed() == 0; })) << "the banner goes once its action is chosen";
}

} // namespace
} // namespace sorvala
