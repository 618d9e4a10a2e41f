// SPDX-License-Identifier: MIT
#include "platform/dbus/BoundedDBus.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace sorvala {

namespace {
// A service that timed out once is skipped this long, so a hung one costs one timeout per spell.
constexpr auto restAfterTimeout = std::chrono::seconds(30);
} // namespace

BoundedDBus::BoundedDBus(QDBusConnection connection, int timeoutMs)
    : m_connection(std::move(connection)), m_timeoutMs(timeoutMs) {}

std::optional<QVariant> BoundedDBus::call(const QString& service, const QString& path,
                                          const QString& interface, const QString& method,
                                          const QVariantList& arguments) {
    if (!m_connection.isConnected())
        return std::nullopt;
    const auto now = std::chrono::steady_clock::now();
    if (const auto resting = m_restingUntil.find(service); resting != m_restingUntil.end()) {
        if (now < resting->second)
            return std::nullopt;
        m_restingUntil.erase(resting);
    }
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    message.setAutoStartService(false);
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        const QString error = reply.errorName();
        if (error == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            error == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
            m_restingUntil[service] = now + restAfterTimeout;
        return std::nullopt;
    }
    if (reply.arguments().isEmpty())
        return QVariant();
    return reply.arguments().constFirst();
}

std::optional<QVariant> BoundedDBus::property(const QString& service, const QString& path,
                                              const QString& interface, const QString& name) {
    const auto value = call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                            QStringLiteral("Get"), {interface, name});
    if (!value)
        return std::nullopt;
    // Get answers a variant; Qt hands it over wrapped once more.
    if (value->canConvert<QDBusVariant>())
        return value->value<QDBusVariant>().variant();
    return value;
}

void BoundedDBus::send(const QString& service, const QString& path, const QString& interface,
                       const QString& method, const QVariantList& arguments) {
    if (!m_connection.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    message.setAutoStartService(false);
    m_connection.send(message);
}

bool BoundedDBus::isOwned(const QString& service) {
    const auto owned =
        call(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
             QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"), {service});
    return owned && owned->toBool();
}

} // namespace sorvala
