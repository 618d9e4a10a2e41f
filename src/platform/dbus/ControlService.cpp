// SPDX-License-Identifier: MIT
#include "platform/dbus/ControlService.h"

#include "core/Logger.h"
#include "i18n/QtI18n.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace sorvala {

namespace {

const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int callTimeoutMs = 5000;

QVariantMap propertyMap(const ControlService::Status& status) {
    return {
        {QStringLiteral("StatusText"), status.statusText},
        {QStringLiteral("Countdown"), status.countdown},
        {QStringLiteral("SecondsUntilNextBreak"), status.secondsUntilNextBreak},
        {QStringLiteral("Paused"), status.paused},
        {QStringLiteral("OnBreak"), status.onBreak},
    };
}

/// Only what differs goes out: this runs every second the countdown moves.
QVariantMap changedProperties(const std::optional<ControlService::Status>& before,
                              const ControlService::Status& now) {
    if (!before)
        return propertyMap(now);
    QVariantMap changed;
    if (before->statusText != now.statusText)
        changed.insert(QStringLiteral("StatusText"), now.statusText);
    if (before->countdown != now.countdown)
        changed.insert(QStringLiteral("Countdown"), now.countdown);
    if (before->secondsUntilNextBreak != now.secondsUntilNextBreak)
        changed.insert(QStringLiteral("SecondsUntilNextBreak"), now.secondsUntilNextBreak);
    if (before->paused != now.paused)
        changed.insert(QStringLiteral("Paused"), now.paused);
    if (before->onBreak != now.onBreak)
        changed.insert(QStringLiteral("OnBreak"), now.onBreak);
    return changed;
}

/// PropertiesChanged(s interface, a{sv} changed, as invalidated) for our interface. One message is
/// kept and only its arguments change: QtDBus checks a message's path, interface and member names
/// the first time it is sent and remembers that they passed. About half of what remains is
/// libdbus rewriting the header's signature once per top-level argument, whatever builds them.
QDBusMessage propertiesChangedSignal(const QVariantMap& changed) {
    static QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(ControlService::objectPath), propertiesInterface,
                                   QStringLiteral("PropertiesChanged"));
    signal.setArguments({QString::fromLatin1(ControlService::interfaceName), changed, QStringList()});
    return signal;
}

} // namespace

ControlService::ControlService(Logger& log, std::function<Status()> status, Commands commands,
                               QDBusConnection bus)
    : m_log(log), m_status(std::move(status)), m_commands(std::move(commands)), m_bus(std::move(bus)) {}

ControlService::~ControlService() {
    if (!m_claimed)
        return;
    m_bus.unregisterObject(QString::fromLatin1(objectPath));
    m_bus.unregisterService(QString::fromLatin1(serviceName));
}

bool ControlService::claim() {
    if (!m_bus.isConnected() || !m_bus.interface()) {
        m_busMissing = true;
        m_log.log("control interface not offered reason=noSessionBus");
        return false;
    }
    if (!requestName())
        return false;
    if (!m_bus.registerObject(QString::fromLatin1(objectPath), this,
                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)) {
        m_log.log("control interface not offered reason=objectNotRegistered");
        m_bus.unregisterService(QString::fromLatin1(serviceName));
        m_busMissing = true;
        return false;
    }
    m_claimed = true;
    m_announced = current();
    watchName();
    m_log.log("control interface offered name=" + std::string(serviceName));
    return true;
}

bool ControlService::requestName() {
    const auto reply = m_bus.interface()->registerService(QString::fromLatin1(serviceName),
                                                          QDBusConnectionInterface::DontQueueService,
                                                          QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

void ControlService::watchName() {
    auto* watcher = new QDBusServiceWatcher(QString::fromLatin1(serviceName), m_bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString& newOwner) {
                nameOwnerChanged(oldOwner, newOwner);
            });
}

// The object stays exported on our connection throughout; only the name comes and goes.
void ControlService::nameOwnerChanged(const QString& oldOwner, const QString& newOwner) {
    const QString us = m_bus.baseService();
    if (oldOwner == us && newOwner != us && !m_nameLost) {
        m_nameLost = true;
        m_log.log("control interface name lost name=" + std::string(serviceName));
    }
    if (m_nameLost && newOwner.isEmpty() && requestName()) {
        m_nameLost = false;
        m_log.log("control interface offered again name=" + std::string(serviceName));
    }
}

ControlService::Status ControlService::current() const {
    return m_status ? m_status() : Status{};
}

QString ControlService::statusText() const {
    return current().statusText;
}

QString ControlService::countdown() const {
    return current().countdown;
}

qlonglong ControlService::secondsUntilNextBreak() const {
    return current().secondsUntilNextBreak;
}

bool ControlService::paused() const {
    return current().paused;
}

bool ControlService::onBreak() const {
    return current().onBreak;
}

void ControlService::announce(const Status& status) {
    if (m_claimed)
        announceChanges(status);
}

void ControlService::announceChanges() {
    announceChanges(current());
}

void ControlService::announceChanges(const Status& now) {
    if (m_announced == now)
        return;
    const auto changed = changedProperties(m_announced, now);
    m_announced = now;
    m_bus.send(propertiesChangedSignal(changed));
}

bool ControlService::minutesAccepted(int minutes) {
    if (minutes >= 1 && minutes <= maximumMinutes)
        return true;
    if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("minutes must be between 1 and %1").arg(maximumMinutes));
    return false;
}

void ControlService::Open() {
    if (m_commands.open)
        m_commands.open();
}

void ControlService::answer(const Refusal& refusal) {
    if (!refusal) {
        announceChanges();
        return;
    }
    if (calledFromDBus())
        sendErrorReply(QString::fromLatin1(refusedError), QString::fromStdString(*refusal));
}

void ControlService::Action(const QString& name) {
    const auto action = controlActionFromText(name.toStdString());
    if (!action) {
        if (calledFromDBus())
            sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("unknown action '%1'").arg(name));
        return;
    }
    if (m_commands.action)
        answer(m_commands.action(*action));
}

void ControlService::StartBreak() {
    Action(QStringLiteral("start-break"));
}

void ControlService::StartMicroBreak() {
    Action(QStringLiteral("start-micro-break"));
}

void ControlService::TogglePause() {
    Action(QStringLiteral("toggle-pause"));
}

void ControlService::SkipBreak() {
    Action(QStringLiteral("skip-break"));
}

void ControlService::Snooze(int minutes) {
    if (!minutesAccepted(minutes) || !m_commands.snooze)
        return;
    answer(m_commands.snooze(minutes));
}

void ControlService::Pause(int minutes) {
    if (!minutesAccepted(minutes) || !m_commands.pause)
        return;
    m_commands.pause(minutes);
    announceChanges();
}

void ControlService::PauseUntilTomorrow() {
    if (m_commands.pauseUntilTomorrow)
        m_commands.pauseUntilTomorrow();
    announceChanges();
}

void ControlService::PauseUntilResumed() {
    if (m_commands.pauseUntilResumed)
        m_commands.pauseUntilResumed();
    announceChanges();
}

void ControlService::Resume() {
    if (m_commands.resume)
        answer(m_commands.resume());
}

// MARK: The client side

bool ControlClient::isRunning(QDBusConnection bus) {
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QString::fromLatin1(ControlService::serviceName));
}

ControlClient::Result ControlClient::call(const QString& method, const QVariantList& arguments,
                                          QDBusConnection bus) {
    if (!isRunning(bus))
        return {.running = false, .error = qi18n("Sorvala is not running")};
    auto message = QDBusMessage::createMethodCall(QString::fromLatin1(ControlService::serviceName),
                                                  QString::fromLatin1(ControlService::objectPath),
                                                  QString::fromLatin1(ControlService::interfaceName), method);
    message.setArguments(arguments);
    // Waiting runs the event loop, so a caller that also serves the interface (a test) is not stuck.
    const auto reply = bus.call(message, QDBus::BlockWithGui, callTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return {.running = true,
                .error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage()};
    return {};
}

ControlService::Status ControlClient::statusFrom(const QVariantMap& properties, ControlService::Status base) {
    const auto take = [&](const char* name) { return properties.value(QString::fromLatin1(name)); };
    if (properties.contains(QStringLiteral("StatusText")))
        base.statusText = take("StatusText").toString();
    if (properties.contains(QStringLiteral("Countdown")))
        base.countdown = take("Countdown").toString();
    if (properties.contains(QStringLiteral("SecondsUntilNextBreak")))
        base.secondsUntilNextBreak = take("SecondsUntilNextBreak").toLongLong();
    if (properties.contains(QStringLiteral("Paused")))
        base.paused = take("Paused").toBool();
    if (properties.contains(QStringLiteral("OnBreak")))
        base.onBreak = take("OnBreak").toBool();
    return base;
}

std::optional<ControlService::Status> ControlClient::status(QDBusConnection bus) {
    if (!isRunning(bus))
        return std::nullopt;
    auto message = QDBusMessage::createMethodCall(QString::fromLatin1(ControlService::serviceName),
                                                  QString::fromLatin1(ControlService::objectPath),
                                                  propertiesInterface, QStringLiteral("GetAll"));
    message << QString::fromLatin1(ControlService::interfaceName);
    // Waiting runs the event loop, so a caller that also serves the interface (a test) is not stuck.
    const auto reply = bus.call(message, QDBus::BlockWithGui, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const auto argument = reply.arguments().first();
    QVariantMap properties;
    if (argument.canConvert<QDBusArgument>())
        qvariant_cast<QDBusArgument>(argument) >> properties;
    else
        properties = argument.toMap();
    return statusFrom(properties);
}

ControlClient::StatusFollower::StatusFollower(
    std::function<void(const std::optional<ControlService::Status>&)> report, QDBusConnection bus)
    : m_report(std::move(report)), m_bus(std::move(bus)) {}

void ControlClient::StatusFollower::start() {
    auto* watcher = new QDBusServiceWatcher(QString::fromLatin1(ControlService::serviceName), m_bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString&) { fetch(); });
    m_bus.connect(QString::fromLatin1(ControlService::serviceName),
                  QString::fromLatin1(ControlService::objectPath), propertiesInterface,
                  QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    fetch();
}

void ControlClient::StatusFollower::fetch() {
    m_last = status(m_bus);
    m_report(m_last);
}

void ControlClient::StatusFollower::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                                      const QStringList&) {
    if (interface != QString::fromLatin1(ControlService::interfaceName))
        return;
    if (!m_last) {
        fetch();
        return;
    }
    m_last = statusFrom(changed, *m_last);
    m_report(m_last);
}

} // namespace sorvala
