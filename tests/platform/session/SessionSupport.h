// SPDX-License-Identifier: MIT
#pragma once

#include "support/QtEventLoop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace sorvala::test {

inline bool hasDisplay() {
    return !qEnvironmentVariable("DISPLAY").isEmpty();
}
inline bool hasSessionBus() {
    return !qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").isEmpty() &&
           QDBusConnection::sessionBus().isConnected();
}
bool hasDBusMock();
bool hasPulseAudio();
inline bool hasProgram(const QString& name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}
/// Whether `service` has an owner on the session bus.
inline bool isOnTheBus(const QString& service) {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(service).value();
}

/// Runs a program to its end and answers its standard output (empty on failure).
QString output(const QString& program, const QStringList& arguments);

/// A program running beside the test, ended when this goes.
class Child {
public:
    Child(const QString& program, const QStringList& arguments);
    ~Child() { stop(); }
    qint64 pid() const { return m_process->processId(); }
    void stop();
    /// Waits for `text` on the child's standard output (output read before it is used up).
    bool waitForOutput(const QByteArray& text, int milliseconds = 5000);

private:
    std::unique_ptr<QProcess> m_process;
};

/// A test that talks over the private session bus of scripts/test-session; skipped without one.
class OnTheSessionBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!hasSessionBus())
            GTEST_SKIP() << "no session bus (run inside scripts/test-session)";
    }
};

/// A test that talks to fakes made with python3-dbusmock on the session bus; skipped without either.
class WithFakesOnTheBus : public OnTheSessionBus {
protected:
    void SetUp() override {
        OnTheSessionBus::SetUp();
        if (!IsSkipped() && !hasDBusMock())
            GTEST_SKIP() << "no python3-dbusmock";
    }
};

/// A fake D-Bus service made with python3-dbusmock on the session bus: one object with one
/// interface (the service's name unless given), whose methods and properties the test adds, or
/// one of dbusmock's templates (`templateArguments` such as {"--template", "logind"}).
class DBusMock {
public:
    DBusMock(const QString& service, const QString& path, const QString& interface = {},
             const QStringList& templateArguments = {});
    /// Ends the fake and waits until its name is gone, so the next test's fake can take it.
    ~DBusMock() { stop(); }
    DBusMock(const DBusMock&) = delete;
    DBusMock& operator=(const DBusMock&) = delete;

    /// Whether the fake owns its name on the bus.
    bool isUp() const { return m_up; }
    /// Adds (or replaces) a method of the fake's interface whose Python `code` sets `ret`.
    void addMethod(const QString& name, const QString& in, const QString& out, const QString& code) const {
        call(QStringLiteral("AddMethod"), {m_interface, name, in, out, code});
    }
    /// Adds a property, or sets its value when it exists.
    void setProperty(const QString& name, const QVariant& value, const QString& interface = {}) const;
    /// Emits a signal of the fake's interface.
    void emitSignal(const QString& name, const QString& signature, QVariantList args) const;
    /// The arguments of every call `method` received, in order.
    std::vector<QVariantList> calls(const QString& method, const QString& path = {}) const;
    int callCount(const QString& method, const QString& path = {}) const {
        return int(calls(method, path).size());
    }
    /// Ends the fake; its name goes away.
    void stop();

private:
    /// Calls a method of the fake's control interface, or of `interface` on its object.
    QDBusMessage call(const QString& method, const QVariantList& args, const QString& path = {},
                      const QString& interface = QStringLiteral("org.freedesktop.DBus.Mock")) const;

    QString m_service;
    QString m_path;
    QString m_interface;
    std::unique_ptr<Child> m_child;
    bool m_up = false;
};

} // namespace sorvala::test
