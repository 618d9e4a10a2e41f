// SPDX-License-Identifier: MIT
#pragma once

#include "report/IssueReport.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace sorvala {

class Logger;

/// Posts an issue report to the support endpoint and says how the server answered.
class IssueReportSender : public QObject {
public:
    /// The base address reports go to: $SORVALA_SUPPORT_URL when set, else the build's own,
    /// which is empty unless the build was given one.
    static QString configuredBaseAddress();

    /// A sender posting to `baseAddress`'s report path, giving up after `timeoutMs`.
    IssueReportSender(Logger& log, QString baseAddress = configuredBaseAddress(), int timeoutMs = 60000,
                      QObject* parent = nullptr);

    /// Whether there is an address to send to; without one reports are saved as files instead.
    bool hasEndpoint() const { return !m_endpoint.isEmpty(); }
    /// Posts `payload` as JSON; `done` runs on this thread once with the outcome. Without an
    /// endpoint, or without the network module, nothing is posted and the outcome is `unreachable`.
    void send(const std::string& payload, std::function<void(IssueReport::ServerResult)> done);

private:
    Logger& m_log;
    QString m_endpoint;
    int m_timeoutMs;
};

/// An identifier of this machine that is stable for Sorvala but cannot be traced to the
/// machine id: HMAC-SHA256 of `machineId` under a key of our own, in hex; "unknown-device"
/// without a machine id.
std::string deviceIdFor(const QByteArray& machineId);
/// `deviceIdFor` of this machine's id.
std::string currentDeviceId();
/// This computer's host name; nullopt when it has none.
std::optional<std::string> currentDeviceName();

} // namespace sorvala
