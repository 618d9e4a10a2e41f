// SPDX-License-Identifier: MIT
#pragma once

#include "report/IssueReport.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace sorvala {

class Calendar;
class Clock;
class Logger;
class IssueReportSender;

/// "Report an Issue": a message, optionally the log lines of chosen days, sent to the support
/// endpoint. One per application, created once and shown again.
class ReportIssueWindow final : public QDialog {
public:
    /// Everything the window reads and calls; each must outlive it.
    struct Services {
        Logger& log;
        const Calendar& calendar;
        const Clock& clock;
        IssueReportSender& sender;
        /// The log files, oldest generation first, the current file last.
        std::function<std::vector<std::filesystem::path>()> logFiles;
        std::string appBuild;
        std::string deviceId;
        std::optional<std::string> deviceName;
    };

    explicit ReportIssueWindow(Services services, QWidget* parent = nullptr);

    /// Shows the window with the last two days chosen, or raises it when open.
    void present();
    /// Checks the fields and enables "Send" when they hold.
    void validate();
    /// Collects the chosen log lines off the main thread, then posts the report.
    void send();

    QString statusText() const;
    bool canSend() const;

private:
    void post(std::optional<std::string> logs);
    void finished(IssueReport::ServerResult result);
    CivilDay day(const QDateEdit& picker) const;

    Services m_services;
    QLineEdit* m_email = nullptr;
    QPlainTextEdit* m_message = nullptr;
    QCheckBox* m_includeLogs = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_send = nullptr;
    bool m_sending = false;
};

} // namespace sorvala
