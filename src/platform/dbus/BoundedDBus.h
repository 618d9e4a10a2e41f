// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <chrono>
#include <map>
#include <optional>

namespace sorvala {

/// D-Bus questions that never hold the main loop for long: every call has a short timeout, a
/// service that once let it run out is left alone for a while, and no call starts a service
/// that is not running. Any failure is an empty answer.
class BoundedDBus {
public:
    BoundedDBus(QDBusConnection connection, int timeoutMs);

    /// Calls `method` and answers its first out argument; nullopt on any error.
    std::optional<QVariant> call(const QString& service, const QString& path, const QString& interface,
                                 const QString& method, const QVariantList& arguments = {});

    /// Reads a property through org.freedesktop.DBus.Properties.Get; nullopt on any error.
    std::optional<QVariant> property(const QString& service, const QString& path, const QString& interface,
                                     const QString& name);

    /// Sends a call without waiting for any answer.
    void send(const QString& service, const QString& path, const QString& interface, const QString& method,
              const QVariantList& arguments = {});

    /// Whether `service` has an owner on the bus right now.
    bool isOwned(const QString& service);

    bool isConnected() const { return m_connection.isConnected(); }
    QDBusConnection& connection() { return m_connection; }

private:
    QDBusConnection m_connection;
    int m_timeoutMs;
    std::map<QString, std::chrono::steady_clock::time_point> m_restingUntil;
};

} // namespace sorvala
