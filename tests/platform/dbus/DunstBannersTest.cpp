// SPDX-License-Identifier: MIT
// The banner centre beside a real notification server, dunst, as a user's desktop runs one.
#include "platform/dbus/FreedesktopBannerCenter.h"

#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"

#include "SessionBusTest.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace sorvala {
namespace {

class WithDunst : public OnTheSessionBus {
protected:
    void SetUp() override {
        OnTheSessionBus::SetUp();
        if (IsSkipped())
            return;
        if (QStandardPaths::findExecutable("dunst").isEmpty() || !std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs dunst (scripts/bootstrap) and the test session's display";
        // The context menu's chooser picks "Snooze 5 min", as a user would in dmenu.
        const auto chooser = folder.path() / "choose";
        std::ofstream(chooser) << "#!/bin/sh\ngrep -m1 'snooze-5'\n";
        std::filesystem::permissions(chooser, std::filesystem::perms::owner_all);
        std::ofstream(folder.path() / "dunstrc") << "[global]\n    dmenu = " << chooser.string()
                                                  << "\n    timeout = 0\n";
        dunst.start("dunst", {"-conf", QString::fromStdString((folder.path() / "dunstrc").string())});
        ASSERT_TRUE(dunst.waitForStarted());
        ASSERT_TRUE(pumpUntil([] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(FreedesktopBannerCenter::serviceName).value();
        }));
    }
    void TearDown() override {
        dunst.terminate();
        dunst.waitForFinished(3000);
    }

    /// What `dunstctl count displayed` says: the banners dunst shows now.
    static int displayed() {
        QProcess count;
        count.start("dunstctl", {"count", "displayed"});
        count.waitForFinished(3000);
        return count.readAllStandardOutput().trimmed().toInt();
    }

    TemporaryDirectory folder;
    QProcess dunst;
    RecordingLogger log;
};

TEST_F(WithDunst, TheHeadsUpShowsIsWithdrawnAndItsSnoozeComesBack) {
    FreedesktopBannerCenter center(log);
    std::vector<BannerCenter::Response> responses;
    center.setOnResponse([&](const BannerCenter::Response& r) { responses.push_back(r); });
    center.refreshAuthorization(false);
    ASSERT_TRUE(pumpUntil([&] { return !center.isRefreshing(); }));
    ASSERT_TRUE(center.isAvailable());
    ASSERT_TRUE(center.supportsActions());
    const auto headsUp = UserSignal::preBreak(true, 0, 3, std::nullopt, true);

    center.post(headsUp);
    EXPECT_TRUE(pumpUntil([] { return displayed() == 1; }));
    center.clearDelivered(); // a snooze from the menu, say
    EXPECT_TRUE(pumpUntil([] { return displayed() == 0; }));

    center.post(headsUp);
    ASSERT_TRUE(pumpUntil([] { return displayed() == 1; }));
    QProcess::execute("dunstctl", {"context"});
    ASSERT_TRUE(pumpUntil([&] { return !responses.empty(); }));
    EXPECT_EQ(responses[0].action, "snooze-5");
    EXPECT_EQ(responses[0].category, "pre-break");
    EXPECT_TRUE(pumpUntil([] { return displayed() == 0; })) << "the banner goes once its action is chosen";
}

} // namespace
} // namespace sorvala
