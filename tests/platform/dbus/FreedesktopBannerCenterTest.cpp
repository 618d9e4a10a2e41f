// SPDX-License-Identifier: MIT
#include "platform/dbus/FreedesktopBannerCenter.h"

#include "support/RecordingLogger.h"

#include "SessionSupport.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace sorvala {
namespace {

using namespace test;
using ::testing::Contains;
using ::testing::ElementsAre;

/// A notification service as python3-dbusmock plays one, offering `capabilities`.
class Banners : public WithFakesOnTheBus {
protected:
    static std::unique_ptr<DBusMock> startServer(const QString& capabilities = "body actions") {
        auto server = std::make_unique<DBusMock>(
            FreedesktopBannerCenter::serviceName, FreedesktopBannerCenter::objectPath, QString(),
            QStringList{"--template", "notification_daemon", "-p",
                        QStringLiteral(R"({"capabilities": "%1"})").arg(capabilities)});
        // The template takes the id as a signed number; the interface says unsigned.
        server->addMethod("CloseNotification", "u", "",
                          "self.EmitSignal('', 'NotificationClosed', 'uu', [args[0], 3])");
        return server;
    }

    /// The banners the service was asked to show: summary, body, actions, hints and replaced id.
    struct Posted {
        std::string summary;
        std::string body;
        QStringList actions;
        QVariantMap hints;
        uint replacesId = 0;
    };
    static std::vector<Posted> posted(const DBusMock& server) {
        std::vector<Posted> banners;
        for (const auto& args : server.calls("Notify"))
            banners.push_back({args.at(3).toString().toStdString(), args.at(4).toString().toStdString(),
                               args.at(5).toStringList(), qdbus_cast<QVariantMap>(args.at(6)), args.at(1).toUInt()});
        return banners;
    }

    void refresh(FreedesktopBannerCenter& center) {
        center.refreshAuthorization(false);
        ASSERT_TRUE(waitUntil([&] { return !center.isRefreshing(); }));
    }

    static UserSignal headsUp() { return UserSignal::preBreak(true, 0, 3, std::nullopt, true); }

    RecordingLogger log;
};

TEST_F(Banners, TheHeadsUpCarriesItsTextsActionsAndHintsAndClicksComeBackAsResponses) {
    auto server = startServer();
    FreedesktopBannerCenter center(log);
    // Each response as "action category", with " (default)" for the banner's own action.
    std::vector<std::string> responses;
    center.setOnResponse([&](const BannerCenter::Response& r) {
        responses.push_back(r.action + " " + r.category + (r.isDefaultAction ? " (default)" : ""));
    });
    refresh(center);
    ASSERT_TRUE(center.isAvailable());
    EXPECT_TRUE(center.supportsActions());
    EXPECT_THAT(log.lines, ElementsAre("notification banners now available status=2",
                                       "notification service actions=true"));

    center.post(headsUp());
    center.post(headsUp()); // sent once the first has its id, so it replaces it
    ASSERT_TRUE(waitUntil([&] { return server->callCount("Notify") == 2; }));
    center.post(UserSignal::smartPause("a call is active"));
    ASSERT_TRUE(waitUntil([&] { return server->callCount("Notify") == 3; }));
    const auto banners = posted(*server);
    // The texts are the notices' own; here they travel, with what the service needs beside them.
    EXPECT_EQ(banners[0].summary, headsUp().title);
    EXPECT_EQ(banners[0].body, headsUp().body);
    EXPECT_EQ(banners[0].actions, (QStringList{"default", "", "snooze-1", "Snooze 1 min", "snooze-5",
                                               "Snooze 5 min", "snooze-15", "Snooze 15 min"}));
    EXPECT_EQ(banners[0].hints.value("urgency").toInt(), 2);
    EXPECT_EQ(banners[0].hints.value("desktop-entry").toString(), "org.sorvala.Sorvala");
    EXPECT_TRUE(banners[0].hints.value("suppress-sound").toBool());
    EXPECT_EQ(banners[0].hints.value("category").toString(), "x-sorvala.pre-break");
    EXPECT_EQ(banners[0].replacesId, 0u);
    EXPECT_EQ(banners[1].replacesId, 1u);
    EXPECT_TRUE(banners[2].actions.isEmpty());
    EXPECT_EQ(banners[2].hints.value("urgency").toInt(), 0);
    QCoreApplication::processEvents();

    // Anyone on the bus can send a signal that looks like the service's: only its owner counts.
    QDBusConnection::connectToBus(QDBusConnection::SessionBus, "impostor")
        .send(QDBusMessage::createSignal(FreedesktopBannerCenter::objectPath, "org.freedesktop.Notifications",
                                         "ActionInvoked")
              << 1u << QString("snooze-15"));
    server->emitSignal("ActionInvoked", "us", {1u, "snooze-5"});
    server->emitSignal("ActionInvoked", "us", {2u, "default"});
    server->emitSignal("ActionInvoked", "us", {77u, "default"}); // another application's banner
    ASSERT_TRUE(waitUntil([&] { return responses.size() == 2; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_THAT(responses, ElementsAre("snooze-5 pre-break", "default  (default)"));
}

TEST_F(Banners, WithdrawingClosesTheHeadsUpEvenWhileItIsStillBeingPosted) {
    auto server = startServer();
    FreedesktopBannerCenter center(log);
    refresh(center);
    center.post(headsUp());
    ASSERT_TRUE(waitUntil([&] { return server->callCount("Notify") == 1; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    center.clearDelivered();
    ASSERT_TRUE(waitUntil([&] { return server->callCount("CloseNotification") == 1; }));

    center.post(headsUp());
    center.clearDelivered(); // before the service has answered
    ASSERT_TRUE(waitUntil([&] { return server->callCount("CloseNotification") == 2; }));
    const auto closed = server->calls("CloseNotification");
    EXPECT_EQ(closed[0].at(0).toUInt(), 1u);
    EXPECT_EQ(closed[1].at(0).toUInt(), 2u);
}

TEST_F(Banners, AServiceThatComesAndGoesIsFollowedAndARestartedOneStartsAfresh) {
    FreedesktopBannerCenter center(log);
    refresh(center);
    EXPECT_FALSE(center.isAvailable());
    EXPECT_FALSE(center.supportsActions());
    EXPECT_TRUE(log.lines.empty()) << "it started unavailable; only changes are logged";

    auto server = startServer();
    ASSERT_TRUE(waitUntil([&] { return center.isAvailable() && !center.isRefreshing(); }));
    center.post(headsUp());
    ASSERT_TRUE(waitUntil([&] { return server->callCount("Notify") == 1; }));

    // Started again, now without actions: its own ids and plain banners.
    server.reset();
    ASSERT_TRUE(waitUntil([&] { return !center.isAvailable(); }));
    EXPECT_THAT(log.lines, Contains("notification banners now unavailable status=1"));
    server = startServer("body");
    ASSERT_TRUE(waitUntil([&] { return center.isAvailable() && !center.isRefreshing(); }));
    EXPECT_FALSE(center.supportsActions());
    center.post(headsUp());
    ASSERT_TRUE(waitUntil([&] { return server->callCount("Notify") == 1; }));
    EXPECT_EQ(posted(*server)[0].replacesId, 0u) << "the old run's id means nothing to the new one";
    EXPECT_TRUE(posted(*server)[0].actions.isEmpty());
}

} // namespace
} // namespace sorvala
