// SPDX-License-Identifier: MIT
#include "platform/dbus/ControlService.h"
#include "platform/dbus/LogindSleepWatcher.h"

#include "support/RecordingLogger.h"

#include "SessionSupport.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QXmlStreamReader>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace sorvala {
namespace {

using namespace test;
using ::testing::ElementsAre;

/// A running program's side of the interface, with what its commands did.
class ControlInterface : public OnTheSessionBus {
protected:
    void SetUp() override {
        OnTheSessionBus::SetUp();
        if (IsSkipped())
            return;
        // The program and its clients each on a connection of their own, as in two processes.
        m_service = std::make_unique<ControlService>(
            log, [this] { return status; },
            ControlService::Commands{
                .open = [this] { done.push_back("open"); },
                .action = [this](ControlAction action) -> ControlService::Refusal {
                    if (action == ControlAction::skipBreak)
                        return "No break is on screen.";
                    done.push_back(std::string(text(action)));
                    return std::nullopt;
                },
                .snooze = [this](int minutes) -> ControlService::Refusal {
                    done.push_back("snooze " + std::to_string(minutes));
                    return std::nullopt;
                },
                .pause = [this](int minutes) { done.push_back("pause " + std::to_string(minutes)); },
                .pauseUntilTomorrow = [this] { done.push_back("pauseUntilTomorrow"); },
                .pauseUntilResumed = [this] { done.push_back("pauseUntilResumed"); },
                .resume = [this]() -> ControlService::Refusal {
                    done.push_back("resume");
                    return std::nullopt;
                },
            },
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("program")));
        ASSERT_TRUE(m_service->claim());
    }

    void TearDown() override {
        m_service.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    }

    ControlService::Status status{"Next break in 19:05", "19:05", 1145, false, false};
    std::vector<std::string> done;
    RecordingLogger log;
    std::unique_ptr<ControlService> m_service;
};

TEST_F(ControlInterface, ASecondInstanceCannotClaimTheNameAndWithNobodyRunningTheClientSaysSo) {
    auto second = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second"));
    ControlService other(log, nullptr, {}, second);
    EXPECT_FALSE(other.claim());
    EXPECT_FALSE(other.busMissing());
    EXPECT_TRUE(ControlClient::isRunning());

    m_service.reset();
    waitUntil([] { return !ControlClient::isRunning(); }, 3000);
    EXPECT_FALSE(ControlClient::call("Open").running);
    EXPECT_FALSE(ControlClient::status());
}

TEST_F(ControlInterface, ANameLostIsOfferedAgainOnceFree) {
    const QString name = QStringLiteral("org.sorvala.Sorvala");
    auto program = QDBusConnection(QStringLiteral("program"));
    auto waiting = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("waiting"));
    const auto owner = [&] { return QDBusConnection::sessionBus().interface()->serviceOwner(name).value(); };
    ASSERT_TRUE(waiting.interface()->registerService(name, QDBusConnectionInterface::QueueService).isValid());

    // The name slips away to whoever queued for it, then comes free again.
    log.lines.clear();
    program.interface()->unregisterService(name);
    EXPECT_TRUE(waitUntil([&] { return owner() == waiting.baseService(); }, 3000));
    waiting.interface()->unregisterService(name);
    EXPECT_TRUE(waitUntil([&] { return owner() == program.baseService(); }, 3000));
    EXPECT_TRUE(ControlClient::call("Open").ok());
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"control interface name lost name=org.sorvala.Sorvala",
                                        "control interface offered again name=org.sorvala.Sorvala"}));
    QDBusConnection::disconnectFromBus(QStringLiteral("waiting"));
}

TEST_F(ControlInterface, CommandsArriveAndBadOnesAreRefused) {
    EXPECT_TRUE(ControlClient::call("Action", {QStringLiteral("toggle-pause")}).ok());
    EXPECT_TRUE(ControlClient::call("Snooze", {5}).ok());
    EXPECT_TRUE(ControlClient::call("Pause", {1440}).ok());
    EXPECT_TRUE(ControlClient::call("PauseUntilResumed").ok());
    EXPECT_TRUE(ControlClient::call("Resume").ok());
    EXPECT_TRUE(ControlClient::call("Open").ok());

    const auto unknown = ControlClient::call("Action", {QStringLiteral("bogus")});
    EXPECT_TRUE(unknown.running);
    EXPECT_EQ(unknown.error, "unknown action 'bogus'");
    // A refusal reaches the script as an error saying why, never as a silent success.
    EXPECT_EQ(ControlClient::call("Action", {QStringLiteral("skip-break")}).error, "No break is on screen.");
    EXPECT_EQ(ControlClient::call("SkipBreak").error, "No break is on screen.");
    for (const int minutes : {0, -5, 1441}) {
        SCOPED_TRACE(minutes);
        EXPECT_EQ(ControlClient::call("Snooze", {minutes}).error, "minutes must be between 1 and 1440");
        EXPECT_FALSE(ControlClient::call("Pause", {minutes}).ok());
    }
    EXPECT_THAT(done,
                ElementsAre("toggle-pause", "snooze 5", "pause 1440", "pauseUntilResumed", "resume", "open"));
}

/// The methods and properties of our interface in an introspection text, one line each:
/// "method Snooze(in i)", "property Paused b read".
std::set<std::string> members(const QString& xml) {
    std::set<std::string> found;
    QXmlStreamReader reader(xml);
    bool ours = false;
    std::string method;
    while (!reader.atEnd()) {
        reader.readNext();
        const auto element = reader.name().toString().toStdString();
        const auto attribute = [&](const char* name) {
            return reader.attributes().value(QLatin1String(name)).toString().toStdString();
        };
        if (reader.isStartElement() && element == "interface")
            ours = attribute("name") == ControlService::interfaceName;
        else if (!ours)
            continue;
        else if (reader.isStartElement() && (element == "method" || element == "signal"))
            method = element + " " + attribute("name") + "(";
        else if (reader.isStartElement() && element == "arg")
            method += (method.ends_with("(") ? "" : ",") + attribute("direction") + " " + attribute("type");
        else if (reader.isEndElement() && (element == "method" || element == "signal"))
            found.insert(method + ")");
        else if (reader.isStartElement() && element == "property")
            found.insert("property " + attribute("name") + " " + attribute("type") + " " +
                         attribute("access"));
        else if (reader.isEndElement() && element == "interface")
            ours = false;
    }
    return found;
}

TEST_F(ControlInterface, ThePublishedInterfaceFileDescribesTheRealOne) {
    QFile file(QStringLiteral(SORVALA_TEST_DATA_DIR "/../../data/dbus/org.sorvala.Sorvala.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto published = members(QString::fromUtf8(file.readAll()));

    auto call = QDBusMessage::createMethodCall(ControlService::serviceName, ControlService::objectPath,
                                               "org.freedesktop.DBus.Introspectable", "Introspect");
    const auto reply = QDBusConnection::sessionBus().call(call, QDBus::BlockWithGui);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    const auto real = members(reply.arguments().value(0).toString());

    ASSERT_FALSE(real.empty());
    EXPECT_EQ(published, real);
}

TEST_F(ControlInterface, PropertiesAndTheirChanges) {
    const auto read = ControlClient::status();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, status);

    std::vector<ControlService::Status> heard;
    ControlClient::StatusFollower follower(
        [&](const std::optional<ControlService::Status>& now) {
            if (now)
                heard.push_back(*now);
        },
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("follower")));
    follower.start();
    ASSERT_EQ(heard.size(), 1u);

    status.statusText = "Paused until resumed";
    status.countdown.clear();
    status.paused = true;
    status.secondsUntilNextBreak = -1;
    ASSERT_TRUE(waitUntil([&] { return heard.size() == 2; }, 3000));
    EXPECT_EQ(heard.back(), status);
    // Nothing changed: nothing is announced.
    runEventsFor(1500);
    EXPECT_EQ(heard.size(), 2u);
}

/// logind's manager as python3-dbusmock plays it, on the session bus for the test.
class SleepWatch : public WithFakesOnTheBus {
protected:
    void SetUp() override {
        WithFakesOnTheBus::SetUp();
        if (IsSkipped())
            return;
        logind =
            std::make_unique<DBusMock>("org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.login1.Manager", QStringList{"--template", "logind"});
        ASSERT_TRUE(logind->isUp());
    }

    static int inhibitors() {
        auto call = QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                                   "org.freedesktop.login1.Manager", "ListInhibitors");
        const auto reply = QDBusConnection::sessionBus().call(call, QDBus::BlockWithGui);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return -1;
        const auto list = qvariant_cast<QDBusArgument>(reply.arguments().first());
        int count = 0;
        list.beginArray();
        while (!list.atEnd()) {
            QString what, who, why, mode;
            uint uid = 0, pid = 0;
            list.beginStructure();
            list >> what >> who >> why >> mode >> uid >> pid;
            list.endStructure();
            count += what == "sleep" && mode == "delay" && who == "Sorvala" ? 1 : 0;
        }
        list.endArray();
        return count;
    }

    void emitPrepareForSleep(bool sleeping) const { logind->emitSignal("PrepareForSleep", "b", {sleeping}); }

    std::unique_ptr<DBusMock> logind;
    RecordingLogger log;
};

TEST_F(SleepWatch, TheInhibitorIsHeldWhileAwakeAndLetGoAfterTheWillSleepWork) {
    std::vector<std::string> heard;
    LogindSleepWatcher watcher(
        log,
        {.willSleep = [&] { heard.push_back("will sleep inhibitors=" + std::to_string(inhibitors())); },
         .didWake = [&] { heard.push_back("did wake"); }},
        QDBusConnection::sessionBus());
    ASSERT_TRUE(watcher.start());
    EXPECT_TRUE(watcher.holdsInhibitor());
    EXPECT_TRUE(waitUntil([] { return inhibitors() == 1; }, 3000));

    emitPrepareForSleep(true);
    waitUntil([&] { return !heard.empty(); });
    // The machine waits for us while the work runs; afterwards we no longer hold it up.
    EXPECT_THAT(heard, ElementsAre("will sleep inhibitors=1"));
    EXPECT_FALSE(watcher.holdsInhibitor());
    EXPECT_TRUE(waitUntil([] { return inhibitors() == 0; }, 3000));

    emitPrepareForSleep(false);
    waitUntil([&] { return heard.size() >= 2; });
    EXPECT_THAT(heard, ElementsAre("will sleep inhibitors=1", "did wake"));
    EXPECT_TRUE(watcher.holdsInhibitor());
}

TEST_F(SleepWatch, WithoutLogindNoSleepEventsAndNoInhibitor) {
    logind->stop();
    LogindSleepWatcher watcher(log, {}, QDBusConnection::sessionBus());
    watcher.start();
    EXPECT_FALSE(watcher.holdsInhibitor());
    ASSERT_FALSE(log.lines.empty());
    EXPECT_TRUE(log.lines.front().starts_with("sleep inhibitor not taken error=")) << log.lines.front();
}

} // namespace
} // namespace sorvala
