// SPDX-License-Identifier: MIT
#include "SessionSupport.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>

namespace sorvala::test {

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

QString output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

Child::Child(const QString& program, const QStringList& arguments) : m_process(std::make_unique<QProcess>()) {
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(program, arguments);
    m_process->waitForStarted(5000);
}

bool Child::waitForOutput(const QByteArray& text, int milliseconds) {
    QByteArray seen;
    for (const QDeadlineTimer deadline(milliseconds); !seen.contains(text) && !deadline.hasExpired();) {
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

DBusMock::DBusMock(const QString& service, const QString& path, const QString& interface,
                   const QStringList& templateArguments)
    : m_service(service), m_path(path), m_interface(interface.isEmpty() ? service : interface) {
    if (!hasDBusMock())
        return;
    QStringList arguments{QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session")};
    arguments += templateArguments.isEmpty() ? QStringList{service, path, m_interface} : templateArguments;
    m_child = std::make_unique<Child>(QStringLiteral("/usr/bin/python3"), arguments);
    m_up = waitUntil([&] { return isOnTheBus(service); });
}

QDBusMessage DBusMock::call(const QString& method, const QVariantList& args, const QString& path,
                            const QString& interface) const {
    QDBusMessage message =
        QDBusMessage::createMethodCall(m_service, path.isEmpty() ? m_path : path, interface, method);
    message.setArguments(args);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
}

void DBusMock::setProperty(const QString& name, const QVariant& value, const QString& interface) const {
    const QVariantList args{interface.isEmpty() ? m_interface : interface, name,
                            QVariant::fromValue(QDBusVariant(value))};
    // When it exists already, it is set through the standard interface.
    if (call(QStringLiteral("AddProperty"), args).type() == QDBusMessage::ErrorMessage)
        call(QStringLiteral("Set"), args, {}, QStringLiteral("org.freedesktop.DBus.Properties"));
}

void DBusMock::emitSignal(const QString& name, const QString& signature, QVariantList args) const {
    for (QVariant& arg : args)
        arg = QVariant::fromValue(QDBusVariant(arg));
    call(QStringLiteral("EmitSignal"), {m_interface, name, signature, args});
}

std::vector<QVariantList> DBusMock::calls(const QString& method, const QString& path) const {
    const QDBusMessage reply = call(QStringLiteral("GetMethodCalls"), {method}, path);
    std::vector<QVariantList> calls;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return calls;
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        qulonglong time = 0;
        list.beginStructure();
        list >> time >> calls.emplace_back();
        list.endStructure();
    }
    list.endArray();
    return calls;
}

void DBusMock::stop() {
    if (!m_child)
        return;
    m_child.reset();
    waitUntil([&] { return !isOnTheBus(m_service); });
    m_up = false;
}

} // namespace sorvala::test
