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
/// endpoint, or saved as a file for the user to attach elsewhere when the build has none. One per
/// application, created once and shown again.
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
        /// Asks where to save a report; empty when the user cancelled. A file dialog when unset.
        std::function<std::filesystem::path(QWidget* parent)> chooseSavePath = {};
    };

    explicit ReportIssueWindow(Services services, QWidget* parent = nullptr);

    /// Shows the window with the last two days chosen, or raises it when open.
    void present();
    /// Checks the fields and enables "Send" when they hold.
    void validate();
    /// Collects the chosen log lines off the main thread, then posts the report (or saves it).
    void send();
    /// Whether reports are saved as files: the build has no address to send them to.
    bool savesToFile() const;

    QString statusText() const;
    bool canSend() const;

private:
    void post(std::optional<std::string> logs);
    void finished(IssueReport::ServerResult result);
    void save(const std::string& payload);
    void succeeded();
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
    /// Counts the showings, so a close planned for one showing never closes the next.
    int m_showings = 0;
};

} // namespace sorvala
