// SPDX-License-Identifier: MIT
#include "platform/IssueReportSender.h"

#include "core/Logger.h"

#include <QMessageAuthenticationCode>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSysInfo>
#include <QUrl>

#ifndef SORVALA_SUPPORT_BASE_URL
#define SORVALA_SUPPORT_BASE_URL ""
#endif

namespace sorvala {

namespace {

// Our own key, so the id we send matches no other program's view of this machine.
constexpr char deviceIdKey[] = "sorvala-issue-report-device-id-v1:7f3c2a91e5d84b06";

} // namespace

QString IssueReportSender::configuredBaseAddress() {
    const QByteArray fromEnvironment = qgetenv("SORVALA_SUPPORT_URL");
    if (!fromEnvironment.isEmpty())
        return QString::fromUtf8(fromEnvironment);
    return QStringLiteral(SORVALA_SUPPORT_BASE_URL);
}

IssueReportSender::IssueReportSender(Logger& log, QString baseAddress, int timeoutMs, QObject* parent)
    : QObject(parent), m_log(log),
      m_endpoint(baseAddress.trimmed().isEmpty()
                     ? QString()
                     : QString::fromStdString(IssueReport::endpoint(baseAddress.toStdString()))),
      m_timeoutMs(timeoutMs) {}

void IssueReportSender::send(const std::string& payload,
                             std::function<void(IssueReport::ServerResult)> done) {
    if (!hasEndpoint()) {
        // Nothing leaves the computer without an address this build was given.
        m_log.log("issue report not sent reason=noEndpoint");
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(IssueReport::ServerResult::unreachable); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request{QUrl(m_endpoint)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(m_timeoutMs);
    QNetworkReply* reply = m_network.post(request, QByteArray::fromStdString(payload));
    connect(reply, &QNetworkReply::finished, this, [this, reply, done = std::move(done)] {
        reply->deleteLater();
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const std::optional<int> httpStatus =
            status.isValid() ? std::optional<int>(status.toInt()) : std::nullopt;
        const auto result = IssueReport::serverResult(httpStatus);
        std::string line = "issue report result=" + std::string(IssueReport::text(result)) +
                           " status=" + (httpStatus ? std::to_string(*httpStatus) : std::string("none"));
        if (!httpStatus)
            line += " error=" + std::to_string(static_cast<int>(reply->error()));
        m_log.log(line);
        done(result);
    });
}

std::string deviceIdFor(const QByteArray& machineId) {
    if (machineId.trimmed().isEmpty())
        return "unknown-device";
    const QByteArray mac = QMessageAuthenticationCode::hash(machineId.trimmed(), QByteArray(deviceIdKey),
                                                            QCryptographicHash::Sha256);
    return mac.toHex().toStdString();
}

std::string currentDeviceId() {
    return deviceIdFor(QSysInfo::machineUniqueId());
}

std::optional<std::string> currentDeviceName() {
    const QString name = QSysInfo::machineHostName();
    if (name.isEmpty())
        return std::nullopt;
    return name.toStdString();
}

} // namespace sorvala
