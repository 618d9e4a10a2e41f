// SPDX-License-Identifier: MIT
#include "ui/report/ReportIssueWindow.h"

#include "platform/IssueReportSender.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"
#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"
#include "support/ZoneCalendar.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

/// Answers every request with `status` and keeps the last body.
class SupportServer {
public:
    explicit SupportServer(int status) : m_status(status) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, request] {
                *request += socket->readAll();
                const qsizetype headerEnd = request->indexOf("\r\n\r\n");
                if (headerEnd < 0)
                    return;
                const QByteArray headers = request->left(headerEnd).toLower();
                const qsizetype at = headers.indexOf("content-length:");
                const qsizetype length = headers.mid(at + 15, headers.indexOf('\r', at) - at - 15).trimmed().toLongLong();
                if (request->size() - headerEnd - 4 < length)
                    return;
                body = request->mid(headerEnd + 4);
                socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " X\r\nContent-Length: 0\r\n\r\n");
                socket->disconnectFromHost();
            });
        });
    }
    QString baseAddress() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    QByteArray body;

private:
    int m_status;
    QTcpServer m_server;
};

class ReportIssueWindowTest : public testing::Test {
protected:
    ReportIssueWindow::Services services(IssueReportSender& sender) {
        const auto logs = [this] { return std::vector{dir / "Sorvala.log.1", dir / "Sorvala.log"}; };
        return {log, berlin, clock, sender, logs, "7", "abc", std::string("desk")};
    }

    RecordingLogger log;
    ZoneCalendar berlin{"Europe/Berlin"};
    FixedClock clock{berlin.at("2026-12-06T10:00:00")};
    TemporaryDirectory dir;
};

TEST_F(ReportIssueWindowTest, SendsTheChosenDaysAndSaysHowItWent) {
    writeFile(dir / "Sorvala.log.1", "2026-12-03T10:00:00Z too old\n2026-12-04T09:00:00Z kept older\n");
    writeFile(dir / "Sorvala.log", "2026-12-06T08:00:00Z kept newer\n");
    SupportServer server(200);
    IssueReportSender sender(log, server.baseAddress(), 5000);
    ReportIssueWindow window(services(sender));
    window.present();
    EXPECT_FALSE(window.canSend());
    EXPECT_EQ(window.findChildren<QDateEdit*>()[0]->date(), QDate(2026, 12, 4)) << "two days back";
    window.findChild<QLineEdit*>()->setText(" ann@example.org ");
    window.findChild<QPlainTextEdit*>()->setPlainText("It froze.\n");
    EXPECT_TRUE(window.canSend());
    saveScreenshot(window, "report");

    window.send();
    EXPECT_EQ(window.statusText(), "Sending…");
    EXPECT_FALSE(window.canSend());
    waitFor([&] { return window.statusText() != "Sending…"; }, 10000);
    EXPECT_EQ(window.statusText(), "Sent — thank you.");
    EXPECT_EQ(
        server.body.toStdString(),
        R"({"appBuild":"7","deviceId":"abc","deviceName":"desk","email":"ann@example.org",)"
        R"("logs":"2026-12-04T09:00:00Z kept older\n2026-12-06T08:00:00Z kept newer","message":"It froze."})");
    EXPECT_TRUE(window.findChild<QPlainTextEdit*>()->toPlainText().isEmpty()) << "the sent message is cleared";
    waitFor([&] { return !window.isVisible(); }, 10000);
    EXPECT_FALSE(window.isVisible()) << "closes itself after a success";
}

TEST_F(ReportIssueWindowTest, WithoutAnAddressTheReportIsSavedAndAReopenedWindowStaysOpen) {
    IssueReportSender nowhere(log, QString(), 5000);
    auto withSave = services(nowhere);
    std::filesystem::path chosen = dir.path() / "report.json";
    withSave.chooseSavePath = [&](QWidget*) { return chosen; };
    ReportIssueWindow window(std::move(withSave));
    window.present();
    EXPECT_NE(buttonTitled(window, "Save Report…"), nullptr);
    window.findChild<QLineEdit*>()->setText("ann@example.org");
    window.findChild<QPlainTextEdit*>()->setPlainText("It froze.");
    window.findChild<QCheckBox*>()->setChecked(false);
    saveScreenshot(window, "report-save");

    window.send();
    waitFor([&] { return window.statusText() != "Sending…"; }, 10000);
    EXPECT_EQ(window.statusText(), "Saved — attach the file wherever you report problems.");
    EXPECT_EQ(readFile(chosen), R"({"appBuild":"7","deviceId":"abc","deviceName":"desk","email":"ann@example.org",)"
                                R"("message":"It froze."})");
    // Closed and opened again before the success closes it: the new showing stays.
    window.close();
    window.present();
    EXPECT_FALSE(waitFor([&] { return !window.isVisible(); }, 1600)) << "the close was for the earlier showing";
    window.close();
}

TEST_F(ReportIssueWindowTest, RefusalKeepsTheFormAndValidationGuardsSend) {
    SupportServer server(400);
    IssueReportSender sender(log, server.baseAddress(), 5000);
    ReportIssueWindow window(services(sender));
    window.present();
    window.findChild<QLineEdit*>()->setText("ann@example.org");
    window.findChild<QPlainTextEdit*>()->setPlainText(QString(10001, 'm'));
    EXPECT_FALSE(window.canSend());
    EXPECT_EQ(window.statusText(),
              QStringLiteral("Message is over %1 characters.").arg(QLocale().toString(10000)));
    window.findChild<QPlainTextEdit*>()->setPlainText(QString(10000, 'm'));
    EXPECT_TRUE(window.canSend());
    EXPECT_EQ(window.statusText(), "");

    // Without logs the days are not asked for.
    auto* from = window.findChildren<QDateEdit*>()[0];
    window.findChild<QCheckBox*>()->setChecked(false);
    EXPECT_FALSE(from->isEnabled());

    window.send();
    waitFor([&] { return window.statusText() != "Sending…"; }, 10000);
    EXPECT_EQ(window.statusText(), "The server refused the report — check the email address.");
    EXPECT_TRUE(window.canSend());
    EXPECT_EQ(server.body.indexOf("\"logs\""), -1);
    EXPECT_TRUE(window.isVisible());
    window.close();
}

} // namespace
} // namespace sorvala
