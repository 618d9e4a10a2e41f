// SPDX-License-Identifier: MIT
#include "platform/dbus/FreedesktopBannerCenter.h"

#include "support/RecordingLogger.h"

#include "SessionBusTest.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace sorvala {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

/// A small notification service on its own bus connection, as a desktop would run one.
class FakeNotificationServer final : public QDBusVirtualObject {
public:
    struct Call {
        uint replacesId = 0;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
    };

    FakeNotificationServer(const QString& connectionName, QStringList capabilities)
        : m_name(connectionName), m_capabilities(std::move(capabilities)),
          m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)) {
        m_bus.registerVirtualObject(FreedesktopBannerCenter::objectPath, this);
        m_bus.registerService(FreedesktopBannerCenter::serviceName);
    }
    ~FakeNotificationServer() override { stop(); }

    void stop() {
        if (!m_bus.isConnected())
            return;
        m_bus.unregisterService(FreedesktopBannerCenter::serviceName);
        m_bus.unregisterObject(FreedesktopBannerCenter::objectPath);
        QDBusConnection::disconnectFromBus(m_name);
        m_bus = QDBusConnection(QString());
    }

    void invoke(uint id, const QString& key) { emitSignal("ActionInvoked", {id, key}); }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const auto args = message.arguments();
        if (message.member() == "GetCapabilities") {
            connection.send(message.createReply(m_capabilities));
        } else if (message.member() == "Notify") {
            Call call{args[1].toUInt(), args[3].toString(), args[4].toString(), args[5].toStringList(),
                      qdbus_cast<QVariantMap>(args[6])};
            calls.push_back(call);
            const uint id = call.replacesId != 0 ? call.replacesId : ++m_lastId;
            connection.send(message.createReply(QVariant::fromValue(id)));
        } else if (message.member() == "CloseNotification") {
            closed.push_back(args[0].toUInt());
            connection.send(message.createReply());
            emitSignal("NotificationClosed", {args[0].toUInt(), 3u});
        } else {
            return false;
        }
        return true;
    }

    std::vector<Call> calls;
    std::vector<uint> closed;

private:
    void emitSignal(const char* name, const QVariantList& args) {
        auto signal = QDBusMessage::createSignal(FreedesktopBannerCenter::objectPath,
                                                 "org.freedesktop.Notifications", name);
        signal.setArguments(args);
        m_bus.send(signal);
    }

    QString m_name;
    QStringList m_capabilities;
    QDBusConnection m_bus;
    uint m_lastId = 0;
};

class Banners : public OnTheSessionBus {
protected:
    std::unique_ptr<FakeNotificationServer> startServer(QStringList capabilities = {"body", "actions"}) {
        return std::make_unique<FakeNotificationServer>("fake-notifications-" + QString::number(++m_servers),
                                                        std::move(capabilities));
    }

    void refresh(FreedesktopBannerCenter& center) {
        center.refreshAuthorization(false);
        ASSERT_TRUE(pumpUntil([&] { return !center.isRefreshing(); }));
    }

    static UserSignal headsUp() { return UserSignal::preBreak(true, 0, 3, std::nullopt, true); }

    RecordingLogger log;
    int m_servers = 0;
};

TEST_F(Banners, NoServiceMeansNoBanners) {
    FreedesktopBannerCenter center(log);
    refresh(center);
    EXPECT_FALSE(center.isAvailable());
    EXPECT_FALSE(center.supportsActions());
    EXPECT_TRUE(log.lines.empty()) << "it started unavailable; only changes are logged";
}

TEST_F(Banners, TheHeadsUpCarriesItsTextsActionsAndHints) {
    auto server = startServer();
    FreedesktopBannerCenter center(log);
    refresh(center);
    ASSERT_TRUE(center.isAvailable());
    EXPECT_TRUE(center.supportsActions());
    EXPECT_THAT(log.lines, ElementsAre("notification banners now available status=2",
                                       "notification service actions=true"));

    center.post(headsUp());
    center.post(headsUp()); // sent once the first has its id, so it replaces it
    ASSERT_TRUE(pumpUntil([&] { return server->calls.size() == 2; }));
    const auto& first = server->calls[0];
    EXPECT_EQ(first.summary, "Sorvala");
    EXPECT_EQ(first.body, "Break in 30 seconds");
    EXPECT_EQ(first.actions, (QStringList{"default", "", "snooze-1", "Snooze 1 min", "snooze-5",
                                          "Snooze 5 min", "snooze-15", "Snooze 15 min"}));
    EXPECT_EQ(first.hints.value("urgency").toInt(), 2);
    EXPECT_EQ(first.hints.value("desktop-entry").toString(), "org.sorvala.Sorvala");
    EXPECT_TRUE(first.hints.value("suppress-sound").toBool());
    EXPECT_EQ(first.hints.value("category").toString(), "x-sorvala.pre-break");
    EXPECT_EQ(first.replacesId, 0u);
    EXPECT_EQ(server->calls[1].replacesId, 1u);

    center.post(UserSignal::smartPause("a call is active"));
    ASSERT_TRUE(pumpUntil([&] { return server->calls.size() == 3; }));
    EXPECT_TRUE(server->calls[2].actions.isEmpty());
    EXPECT_EQ(server->calls[2].hints.value("urgency").toInt(), 0);
}

TEST_F(Banners, ClicksAndActionsComeBackAsResponses) {
    auto server = startServer();
    FreedesktopBannerCenter center(log);
    std::vector<BannerCenter::Response> responses;
    center.setOnResponse([&](const BannerCenter::Response& r) { responses.push_back(r); });
    refresh(center);
    center.post(headsUp());
    center.post(UserSignal::smartPause("a call is active"));
    ASSERT_TRUE(pumpUntil([&] { return server->calls.size() == 2; }));
    QCoreApplication::processEvents();

    // Anyone on the bus can send a signal that looks like the service's: only its owner counts.
    auto impostor = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "impostor");
    auto forged = QDBusMessage::createSignal(FreedesktopBannerCenter::objectPath, "org.freedesktop.Notifications",
                                             "ActionInvoked");
    forged.setArguments({1u, QString("snooze-15")});
    impostor.send(forged);
    server->invoke(1, "snooze-5");
    server->invoke(2, "default");
    server->invoke(77, "default"); // another application's banner
    ASSERT_TRUE(pumpUntil([&] { return responses.size() == 2; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    ASSERT_EQ(responses.size(), 2u);
    EXPECT_EQ(responses[0].action, "snooze-5");
    EXPECT_EQ(responses[0].category, "pre-break");
    EXPECT_FALSE(responses[0].isDefaultAction);
    EXPECT_EQ(responses[1].action, "default");
    EXPECT_EQ(responses[1].category, "");
    EXPECT_TRUE(responses[1].isDefaultAction);
}

TEST_F(Banners, WithdrawingClosesTheHeadsUpEvenWhileItIsStillBeingPosted) {
    auto server = startServer();
    FreedesktopBannerCenter center(log);
    refresh(center);
    center.post(headsUp());
    ASSERT_TRUE(pumpUntil([&] { return server->calls.size() == 1; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    center.clearDelivered();
    ASSERT_TRUE(pumpUntil([&] { return server->closed.size() == 1; }));
    EXPECT_EQ(server->closed[0], 1u);

    center.post(headsUp());
    center.clearDelivered(); // before the service has answered
    ASSERT_TRUE(pumpUntil([&] { return server->closed.size() == 2; }));
    EXPECT_EQ(server->closed[1], 2u);
}

TEST_F(Banners, ARestartedServiceStartsWithFreshIds) {
    auto server = startServer();
    FreedesktopBannerCenter center(log);
    refresh(center);
    center.post(headsUp());
    ASSERT_TRUE(pumpUntil([&] { return server->calls.size() == 1; }));

    server.reset();
    ASSERT_TRUE(pumpUntil([&] { return !center.isAvailable(); }));
    auto second = startServer();
    ASSERT_TRUE(pumpUntil([&] { return center.isAvailable() && !center.isRefreshing(); }));
    center.post(headsUp());
    ASSERT_TRUE(pumpUntil([&] { return second->calls.size() == 1; }));
    EXPECT_EQ(second->calls[0].replacesId, 0u) << "the old run's id means nothing to the new one";
    EXPECT_THAT(log.lines, Contains("notification banners now unavailable status=1"));
}

TEST_F(Banners, AServiceWithoutActionsGetsPlainBanners) {
    auto server = startServer({"body"});
    FreedesktopBannerCenter center(log);
    refresh(center);
    EXPECT_TRUE(center.isAvailable());
    EXPECT_FALSE(center.supportsActions());
    center.post(headsUp());
    ASSERT_TRUE(pumpUntil([&] { return server->calls.size() == 1; }));
    EXPECT_TRUE(server->calls[0].actions.isEmpty());
}

} // namespace
} // namespace sorvala
