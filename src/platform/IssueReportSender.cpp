// SPDX-License-Identifier: MIT
#include "platform/IssueReportSender.h"

#include "core/Logger.h"
#include "platform/network/NetworkTransport.h"

#include <QMessageAuthenticationCode>
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
    // Nothing leaves the computer without an address this build was given.
    if (!hasEndpoint())
        m_log.log("issue report not sent reason=noEndpoint");
    NetworkTransport* network = hasEndpoint() ? NetworkTransport::load(&m_log) : nullptr;
    if (!network) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(IssueReport::ServerResult::unreachable); }, Qt::QueuedConnection);
        return;
    }
    NetworkTransport::Request request;
    request.url = QUrl(m_endpoint);
    request.contentType = "application/json";
    request.timeoutMs = m_timeoutMs;
    network->post(request, QByteArray::fromStdString(payload), this,
                  {.received = {}, .finished = [this, done = std::move(done)](const NetworkTransport::Outcome& outcome) {
                       const auto result = IssueReport::serverResult(outcome.httpStatus);
                       std::string line = "issue report result=" + std::string(IssueReport::text(result)) +
                                          " status=" +
                                          (outcome.httpStatus ? std::to_string(*outcome.httpStatus) : std::string("none"));
                       if (!outcome.httpStatus)
                           line += " error=" + std::to_string(outcome.error);
                       m_log.log(line);
                       done(result);
                   }});
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
