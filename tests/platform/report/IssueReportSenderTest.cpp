// SPDX-License-Identifier: MIT
#include "platform/IssueReportSender.h"

#include "support/QtEventLoop.h"
#include "support/RecordingLogger.h"

#include <QCryptographicHash>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using IssueReport::ServerResult;

/// A one-request HTTP server on localhost answering with a fixed status, or never.
class LocalSupportServer {
public:
    explicit LocalSupportServer(std::optional<int> status) : m_status(status) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                m_request += socket->readAll();
                // The answer goes once the whole body is in, unless this server never answers.
                if (!m_request.contains("\r\n\r\n") ||
                    body().size() < header("Content-Length").toLongLong() || !m_status)
                    return;
                socket->write(QByteArray("HTTP/1.1 ") + QByteArray::number(*m_status) +
                              " Answer\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
                socket->disconnectFromHost();
            });
        });
    }

    QString baseAddress() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()); }
    QByteArray requestLine() const { return m_request.left(m_request.indexOf("\r\n")); }
    QByteArray header(const QByteArray& name) const {
        for (const QByteArray& line : m_request.left(m_request.indexOf("\r\n\r\n")).split('\n'))
            if (line.toLower().startsWith(name.toLower() + ":"))
                return line.mid(name.size() + 1).trimmed();
        return {};
    }
    QByteArray body() const { return m_request.mid(m_request.indexOf("\r\n\r\n") + 4); }

private:
    std::optional<int> m_status;
    QTcpServer m_server;
    QByteArray m_request;
};

std::optional<ServerResult> sendAndWait(IssueReportSender& sender, const std::string& payload) {
    std::optional<ServerResult> outcome;
    sender.send(payload, [&](ServerResult result) { outcome = result; });
    waitUntil([&] { return outcome.has_value(); });
    return outcome;
}

// Which status means what is the report's own rule, tested beside it; here the status travels.
TEST(IssueReportSender, TheBodyIsThePayloadAndTheServersAnswerIsTheResult) {
    const std::string payload =
        *IssueReport::payload({"7", "abc", "desk", "ann@example.org", std::nullopt, "It froze — twice."});
    LocalSupportServer server(429);
    RecordingLogger log;
    IssueReportSender sender(log, server.baseAddress(), 5000);
    EXPECT_EQ(sendAndWait(sender, payload), ServerResult::rateLimited);
    EXPECT_EQ(server.requestLine(), "POST /api/report HTTP/1.1");
    EXPECT_EQ(server.header("Content-Type"), "application/json");
    EXPECT_EQ(server.body().toStdString(), payload);
    EXPECT_EQ(log.lines, std::vector<std::string>{"issue report result=rateLimited status=429"});
}

TEST(IssueReportSender, AServerThatNeverAnswersOrIsNotThereIsUnreachable) {
    RecordingLogger log;
    LocalSupportServer silent(std::nullopt);
    IssueReportSender waiting(log, silent.baseAddress(), 300);
    EXPECT_EQ(sendAndWait(waiting, "{}"), ServerResult::unreachable);

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const auto port = closed.serverPort();
    closed.close();
    IssueReportSender refused(log, QStringLiteral("http://127.0.0.1:%1").arg(port), 5000);
    EXPECT_EQ(sendAndWait(refused, "{}"), ServerResult::unreachable);
    ASSERT_EQ(log.lines.size(), 2U);
    EXPECT_EQ(log.lines[0].rfind("issue report result=unreachable status=none error=", 0), 0U);
}

TEST(DeviceIdentity, AKeyedHashOfTheMachineIdNeverTheIdItself) {
    const QByteArray machine = "4c4c4544003510548056b4c04f4e3532";
    const std::string id = deviceIdFor(machine);
    EXPECT_EQ(id, deviceIdFor(machine + "\n")) << "the file's trailing newline is not part of the id";
    EXPECT_EQ(id.find(machine.toStdString()), std::string::npos);
    EXPECT_NE(id, QCryptographicHash::hash(machine, QCryptographicHash::Sha256).toHex().toStdString())
        << "an unkeyed hash could be matched against the machine id by anyone";
    EXPECT_NE(id, deviceIdFor("4c4c4544003510548056b4c04f4e3533"));
    EXPECT_EQ(deviceIdFor(""), "unknown-device");
    EXPECT_EQ(deviceIdFor("  \n"), "unknown-device");
}

} // namespace
} // namespace sorvala
