// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace sorvala::test {

/// Runs the event loop until `condition` holds or `timeoutMs` has passed; answers the condition.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

bool hasDisplay();
bool hasSessionBus();
bool hasDBusMock();
bool hasPulseAudio();
bool hasProgram(const QString& name);

/// Runs a program to its end and answers its standard output (empty on failure).
QString output(const QString& program, const QStringList& arguments);

/// A program running beside the test, ended when this goes.
class Child {
public:
    Child(const QString& program, const QStringList& arguments);
    ~Child();
    qint64 pid() const { return m_process->processId(); }
    bool isRunning() const { return m_process->state() == QProcess::Running; }
    void stop();
    /// Waits up to five seconds for `text` on the child's standard output.
    bool waitForOutput(const QByteArray& text);

private:
    std::unique_ptr<QProcess> m_process;
};

/// A test that talks to fakes made with python3-dbusmock on the session bus; skipped without either.
class WithFakesOnTheBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!hasSessionBus())
            GTEST_SKIP() << "no session bus";
        if (!hasDBusMock())
            GTEST_SKIP() << "no python3-dbusmock";
    }
};

/// A fake D-Bus service made with python3-dbusmock on the session bus: one object with one
/// interface, whose methods and properties the test adds.
class DBusMock {
public:
    DBusMock(const QString& service, const QString& path, const QString& interface);

    /// Whether the fake owns its name on the bus.
    bool isUp() const { return m_up; }
    /// Adds (or replaces) a method whose Python `code` sets `ret`.
    void addMethod(const QString& interface, const QString& name, const QString& in, const QString& out,
                   const QString& code);
    /// Adds a property, or sets its value when it exists.
    void setProperty(const QString& interface, const QString& name, const QVariant& value);
    /// How often `method` was called.
    int callCount(const QString& method, const QString& path = {}) const;
    /// Ends the fake; its name goes away.
    void stop();

private:
    QString m_service;
    QString m_path;
    std::unique_ptr<Child> m_child;
    bool m_up = false;
};

} // namespace sorvala::test
