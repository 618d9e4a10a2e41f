// SPDX-License-Identifier: MIT
#include "platform/dbus/ControlService.h"
#include "platform/dbus/LogindSleepWatcher.h"

#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"

#include "SessionSupport.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
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
                .open = [this] { note("open"); },
                .action =
                    [this](ControlAction action) {
                        return action == ControlAction::skipBreak
                                   ? ControlService::Refusal("No break is on screen.")
                                   : note(std::string(text(action)));
                    },
                .snooze = [this](int minutes) { return note("snooze " + std::to_string(minutes)); },
                .pause = [this](int minutes) { note("pause " + std::to_string(minutes)); },
                .pauseUntilTomorrow = [this] { note("pauseUntilTomorrow"); },
                .pauseUntilResumed = [this] { note("pauseUntilResumed"); },
                .resume = [this] { return note("resume"); },
            },
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("program")));
        ASSERT_TRUE(m_service->claim());
    }

    void TearDown() override {
        m_service.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    }

    /// A status bar's follower on a connection of its own, started: each status it hears lands in `heard`.
    static std::unique_ptr<ControlClient::StatusFollower> follow(std::vector<ControlService::Status>& heard) {
        auto follower = std::make_unique<ControlClient::StatusFollower>(
            [&heard](const std::optional<ControlService::Status>& now) {
                if (now)
                    heard.push_back(*now);
            },
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("follower")));
        follower->start();
        return follower;
    }

    ControlService::Refusal note(std::string what) {
        done.push_back(std::move(what));
        return std::nullopt;
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
    for (reader.readNext(); !reader.atEnd(); reader.readNext()) {
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
    const auto published = members(
        QString::fromStdString(readFile(SORVALA_TEST_DATA_DIR "/../../data/dbus/org.sorvala.Sorvala.xml")));

    auto call = QDBusMessage::createMethodCall(ControlService::serviceName, ControlService::objectPath,
                                               "org.freedesktop.DBus.Introspectable", "Introspect");
    const auto reply = QDBusConnection::sessionBus().call(call, QDBus::BlockWithGui);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    const auto real = members(reply.arguments().value(0).toString());

    ASSERT_FALSE(real.empty());
    EXPECT_EQ(published, real);
}

// A property read asks the program; a change goes out when the program hands its status over.
TEST_F(ControlInterface, PropertiesAndTheirChanges) {
    EXPECT_EQ(ControlClient::status(), status);

    std::vector<ControlService::Status> heard;
    const auto follower = follow(heard);
    ASSERT_EQ(heard.size(), 1u);

    status = {"Paused until resumed", "", -1, true, false};
    m_service->announce(status);
    ASSERT_TRUE(waitUntil([&] { return heard.size() == 2; }, 3000));
    EXPECT_EQ(heard.back(), status);
    m_service->announce(status);
    runEventsFor(500);
    EXPECT_EQ(heard.size(), 2u) << "the same status announced twice";
}

/// Every PropertiesChanged of the control object as it came over the bus.
class ChangeRecorder : public QObject {
    Q_OBJECT

public:
    explicit ChangeRecorder(QDBusConnection bus) {
        bus.connect(ControlService::serviceName, ControlService::objectPath,
                    "org.freedesktop.DBus.Properties", "PropertiesChanged", this, SLOT(heard(QDBusMessage)));
    }
    std::vector<QDBusMessage> messages;

public slots:
    void heard(const QDBusMessage& message) { messages.push_back(message); }
};

TEST_F(ControlInterface, EachAnnouncementCarriesWhatChangedSinceTheLastAsStandardPropertiesChanged) {
    ChangeRecorder recorder(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("recorder")));
    // The properties the `count`th announcement says changed.
    const auto changed = [&](std::size_t count) {
        EXPECT_TRUE(waitUntil([&] { return recorder.messages.size() >= count; }, 3000));
        if (recorder.messages.size() < count)
            return QVariantMap();
        const auto& message = recorder.messages[count - 1];
        EXPECT_EQ(message.signature(), "sa{sv}as");
        EXPECT_EQ(message.arguments().value(0).toString(), ControlService::interfaceName);
        EXPECT_TRUE(qdbus_cast<QStringList>(message.arguments().value(2)).isEmpty());
        return qdbus_cast<QVariantMap>(message.arguments().value(1));
    };

    status = {"Next break in 19:04", "19:04", 1144, false, false};
    m_service->announce(status);
    const auto counting = changed(1);
    EXPECT_EQ(counting, (QVariantMap{{"StatusText", "Next break in 19:04"},
                                     {"Countdown", "19:04"},
                                     {"SecondsUntilNextBreak", qlonglong(1144)}}));
    // The seconds go out as a 64-bit integer, whatever the number.
    EXPECT_EQ(counting.value("SecondsUntilNextBreak").metaType(), QMetaType::fromType<qlonglong>());

    status.paused = true;
    m_service->announce(status);
    EXPECT_EQ(changed(2), (QVariantMap{{"Paused", true}})) << "nothing of the previous announcement";
    status.onBreak = true;
    status.countdown.clear();
    m_service->announce(status);
    EXPECT_EQ(changed(3), (QVariantMap{{"Countdown", ""}, {"OnBreak", true}}));
    QDBusConnection::disconnectFromBus(QStringLiteral("recorder"));
}

/// The sleep-delay inhibitors Sorvala holds, as logind lists them; -1 when logind does not answer.
int inhibitors() {
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

using SleepWatch = WithFakesOnTheBus;

TEST_F(SleepWatch, TheInhibitorIsHeldWhileAwakeAndLetGoAfterTheWillSleepWork) {
    // logind's manager as python3-dbusmock plays it, on the session bus for the test.
    DBusMock logind("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                    {"--template", "logind"});
    ASSERT_TRUE(logind.isUp());
    RecordingLogger log;
    std::vector<std::string> heard;
    LogindSleepWatcher watcher(
        log,
        {.willSleep = [&] { heard.push_back("will sleep inhibitors=" + std::to_string(inhibitors())); },
         .didWake = [&] { heard.push_back("did wake"); }},
        QDBusConnection::sessionBus());
    ASSERT_TRUE(watcher.start());
    EXPECT_TRUE(watcher.holdsInhibitor());
    EXPECT_TRUE(waitUntil([] { return inhibitors() == 1; }, 3000));

    logind.emitSignal("PrepareForSleep", "b", {true});
    waitUntil([&] { return !heard.empty(); });
    // The machine waits for us while the work runs; afterwards we no longer hold it up.
    EXPECT_THAT(heard, ElementsAre("will sleep inhibitors=1"));
    EXPECT_FALSE(watcher.holdsInhibitor());
    EXPECT_TRUE(waitUntil([] { return inhibitors() == 0; }, 3000));

    logind.emitSignal("PrepareForSleep", "b", {false});
    waitUntil([&] { return heard.size() >= 2; });
    EXPECT_THAT(heard, ElementsAre("will sleep inhibitors=1", "did wake"));
    EXPECT_TRUE(watcher.holdsInhibitor());
}

} // namespace
} // namespace sorvala

#include "ControlServiceTest.moc"
