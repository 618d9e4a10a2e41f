// SPDX-License-Identifier: MIT
#include "SessionSupport.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

namespace sorvala::test {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

bool hasDisplay() {
    return !qEnvironmentVariable("DISPLAY").isEmpty();
}

bool hasSessionBus() {
    return !qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").isEmpty() &&
           QDBusConnection::sessionBus().isConnected();
}

bool hasDBusMock() {
    static const bool present =
        hasSessionBus() && QProcess::execute(QStringLiteral("/usr/bin/python3"),
                                             {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) == 0;
    return present;
}

bool hasPulseAudio() {
    return hasProgram(QStringLiteral("pactl")) &&
           QProcess::execute(QStringLiteral("pactl"), {QStringLiteral("info")}) == 0;
}

bool hasProgram(const QString& name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}

QString output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

Child::Child(const QString& program, const QStringList& arguments) : m_process(std::make_unique<QProcess>()) {
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(program, arguments);
    m_process->waitForStarted(5000);
}

Child::~Child() {
    stop();
}

bool Child::waitForOutput(const QByteArray& text) {
    QByteArray seen;
    QElapsedTimer clock;
    clock.start();
    while (!seen.contains(text) && clock.elapsed() < 5000) {
        m_process->waitForReadyRead(100);
        seen += m_process->readAllStandardOutput();
    }
    return seen.contains(text);
}

void Child::stop() {
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(3000)) {
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

DBusMock::DBusMock(const QString& service, const QString& path, const QString& interface)
    : m_service(service), m_path(path) {
    if (!hasDBusMock())
        return;
    m_child = std::make_unique<Child>(QStringLiteral("/usr/bin/python3"),
                                      QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                                  QStringLiteral("--session"), service, path, interface});
    m_up = waitUntil(
        [&] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(service).value(); });
}

namespace {
QDBusMessage mockCall(const QString& service, const QString& path, const QString& method,
                      const QVariantList& args) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Mock"), method);
    message.setArguments(args);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
}
} // namespace

void DBusMock::addMethod(const QString& interface, const QString& name, const QString& in, const QString& out,
                         const QString& code) {
    mockCall(m_service, m_path, QStringLiteral("AddMethod"), {interface, name, in, out, code});
}

void DBusMock::setProperty(const QString& interface, const QString& name, const QVariant& value) {
    const QDBusMessage reply = mockCall(m_service, m_path, QStringLiteral("AddProperty"),
                                        {interface, name, QVariant::fromValue(QDBusVariant(value))});
    if (reply.type() == QDBusMessage::ErrorMessage) {
        // It exists already: set it through the standard interface.
        QDBusMessage set = QDBusMessage::createMethodCall(
            m_service, m_path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
        set.setArguments({interface, name, QVariant::fromValue(QDBusVariant(value))});
        QDBusConnection::sessionBus().call(set, QDBus::Block, 10000);
    }
}

int DBusMock::callCount(const QString& method, const QString& path) const {
    const QDBusMessage reply =
        mockCall(m_service, path.isEmpty() ? m_path : path, QStringLiteral("GetMethodCalls"), {method});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return -1;
    const QDBusArgument calls = reply.arguments().constFirst().value<QDBusArgument>();
    int count = 0;
    calls.beginArray();
    while (!calls.atEnd()) {
        calls.beginStructure();
        qulonglong time = 0;
        calls >> time;
        QVariantList args;
        calls >> args;
        calls.endStructure();
        ++count;
    }
    calls.endArray();
    return count;
}

void DBusMock::stop() {
    if (m_child)
        m_child->stop();
    waitUntil(
        [&] { return !QDBusConnection::sessionBus().interface()->isServiceRegistered(m_service).value(); });
    m_up = false;
}

} // namespace sorvala::test
