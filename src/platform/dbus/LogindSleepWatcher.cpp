// SPDX-License-Identifier: MIT
#include "platform/dbus/LogindSleepWatcher.h"

#include "core/Logger.h"
#include "i18n/QtI18n.h"

#include <QDBusMessage>

namespace sorvala {

namespace {

const QString logindService = QStringLiteral("org.freedesktop.login1");
const QString logindPath = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");
constexpr int inhibitTimeoutMs = 2000;

} // namespace

LogindSleepWatcher::LogindSleepWatcher(Logger& log, Callbacks callbacks, QDBusConnection systemBus)
    : m_log(log), m_callbacks(std::move(callbacks)), m_bus(std::move(systemBus)) {}

LogindSleepWatcher::~LogindSleepWatcher() = default;

bool LogindSleepWatcher::start() {
    if (!m_bus.isConnected()) {
        m_log.log("sleep watch unavailable reason=noSystemBus");
        return false;
    }
    if (!m_bus.connect(logindService, logindPath, managerInterface, QStringLiteral("PrepareForSleep"), this,
                       SLOT(prepareForSleep(bool)))) {
        m_log.log("sleep watch unavailable reason=subscribeFailed");
        return false;
    }
    takeInhibitor();
    m_log.log("sleep watch started");
    return true;
}

void LogindSleepWatcher::takeInhibitor() {
    if (m_inhibitor.isValid())
        return;
    auto call = QDBusMessage::createMethodCall(logindService, logindPath, managerInterface, QStringLiteral("Inhibit"));
    // TRANSLATORS: why Sorvala delays sleep, as the desktop lists it beside the program's name.
    call << QStringLiteral("sleep") << QStringLiteral("Sorvala") << qi18n("end the break before sleep")
         << QStringLiteral("delay");
    const auto reply = m_bus.call(call, QDBus::Block, inhibitTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_log.log("sleep inhibitor not taken error=" + reply.errorName().toStdString());
        return;
    }
    m_inhibitor = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().first());
    if (!m_inhibitor.isValid())
        m_log.log("sleep inhibitor not taken error=noDescriptor");
}

void LogindSleepWatcher::releaseInhibitor() {
    // Dropping the last copy of the descriptor closes it, which tells logind we are ready.
    m_inhibitor = QDBusUnixFileDescriptor();
}

void LogindSleepWatcher::prepareForSleep(bool sleeping) {
    if (sleeping) {
        if (m_callbacks.willSleep)
            m_callbacks.willSleep();
        releaseInhibitor();
        return;
    }
    takeInhibitor();
    if (m_callbacks.didWake)
        m_callbacks.didWake();
}

} // namespace sorvala
