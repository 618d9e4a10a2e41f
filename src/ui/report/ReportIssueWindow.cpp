// SPDX-License-Identifier: MIT
#include "ui/report/ReportIssueWindow.h"

#include "core/Calendar.h"
#include "core/Clock.h"
#include "core/Logger.h"
#include "core/FileWriting.h"
#include "i18n/QtI18n.h"
#include "platform/IssueReportSender.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

namespace sorvala {

namespace {

QDate qDate(CivilDay day) {
    return QDate(day.year, day.month, day.day);
}

QString tooLongText() {
    return QString::fromStdString(IssueReport::messageTooLongText(
        QLocale().toString(qlonglong(IssueReport::messageLimitCharacters)).toStdString()));
}

} // namespace

ReportIssueWindow::ReportIssueWindow(Services services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)) {
    setWindowTitle(qi18n("Report an Issue"));
    setModal(false);
    setMinimumWidth(480);

    m_email = new QLineEdit(this);
    m_email->setPlaceholderText(QStringLiteral("you@example.com"));
    m_message = new QPlainTextEdit(this);
    m_message->setTabChangesFocus(true);
    m_message->setMinimumHeight(150);
    m_includeLogs = new QCheckBox(qi18n("Include app logs"), this);
    m_includeLogs->setChecked(true);
    auto* note = new QLabel(savesToFile()
                                ? qi18n("This copy of Sorvala has no address to send reports to: "
                                        "“Save Report…” writes your report and Sorvala's own "
                                        "diagnostic events to a file you can attach wherever you "
                                        "report problems.")
                                : qi18n("Only Sorvala's own diagnostic events are sent, to the Sorvala "
                                        "developers, together with your report."),
                            this);
    note->setWordWrap(true);
    note->setForegroundRole(QPalette::PlaceholderText);
    m_from = new QDateEdit(this);
    m_to = new QDateEdit(this);
    for (auto* picker : {m_from, m_to}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    }
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    auto* cancel = new QPushButton(qi18n("Cancel"), this);
    cancel->setAutoDefault(false);
    m_send = new QPushButton(savesToFile() ? qi18n("Save Report…") : qi18nc("issue report", "Send"), this);
    m_send->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(qi18n("Email"), m_email);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(qi18n("What went wrong?"), this));
    layout->addWidget(m_message, 1);
    layout->addWidget(m_includeLogs);
    layout->addWidget(note);
    auto* range = new QHBoxLayout;
    auto* fromLabel = new QLabel(qi18nc("first day of a date range", "From"), this);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(qi18nc("last day of a date range", "To"), this);
    toLabel->setBuddy(m_to);
    range->addWidget(fromLabel);
    range->addWidget(m_from);
    range->addSpacing(12);
    range->addWidget(toLabel);
    range->addWidget(m_to);
    range->addStretch(1);
    layout->addLayout(range);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(cancel);
    buttons->addWidget(m_send);
    layout->addLayout(buttons);

    connect(m_email, &QLineEdit::textChanged, this, [this] { validate(); });
    connect(m_message, &QPlainTextEdit::textChanged, this, [this] { validate(); });
    connect(m_from, &QDateEdit::dateChanged, this, [this] { validate(); });
    connect(m_to, &QDateEdit::dateChanged, this, [this] { validate(); });
    connect(m_includeLogs, &QCheckBox::toggled, this, [this](bool on) {
        m_from->setEnabled(on);
        m_to->setEnabled(on);
        validate();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_send, &QPushButton::clicked, this, [this] { send(); });
}

bool ReportIssueWindow::savesToFile() const {
    return !m_services.sender.hasEndpoint();
}

void ReportIssueWindow::present() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    ++m_showings;
    const Instant now = m_services.clock.now();
    m_from->setDate(qDate(m_services.calendar.day(now - 2 * 86400.0)));
    m_to->setDate(qDate(m_services.calendar.day(now)));
    m_status->clear();
    validate();
    show();
    raise();
    activateWindow();
}

CivilDay ReportIssueWindow::day(const QDateEdit& picker) const {
    const QDate date = picker.date();
    return CivilDay{date.year(), date.month(), date.day()};
}

void ReportIssueWindow::validate() {
    const auto result =
        IssueReport::validate(m_email->text().toStdString(), m_message->toPlainText().toStdString(),
                              m_includeLogs->isChecked(), day(*m_from), day(*m_to));
    m_send->setEnabled(result.canSend && !m_sending);
    const QString tooLong = tooLongText();
    if (result.messageTooLong)
        m_status->setText(tooLong);
    else if (m_status->text() == tooLong)
        m_status->clear();
}

QString ReportIssueWindow::statusText() const {
    return m_status->text();
}

bool ReportIssueWindow::canSend() const {
    return m_send->isEnabled();
}

void ReportIssueWindow::send() {
    if (m_sending)
        return;
    m_sending = true;
    m_send->setEnabled(false);
    m_status->setText(
        QString::fromUtf8(IssueReport::sendingText.data(), qsizetype(IssueReport::sendingText.size())));
    if (!m_includeLogs->isChecked()) {
        post(std::nullopt);
        return;
    }
    const auto window = IssueReport::dayWindow(day(*m_from), day(*m_to), m_services.calendar);
    auto files = m_services.logFiles ? m_services.logFiles() : std::vector<std::filesystem::path>{};
    // Up to four log files of five megabytes each: read them away from the main thread.
    QThreadPool::globalInstance()->start([this, files = std::move(files), window] {
        auto logs = IssueReport::collectLogText(files, window);
        QMetaObject::invokeMethod(
            this, [this, logs = std::move(logs)] { post(logs); }, Qt::QueuedConnection);
    });
}

void ReportIssueWindow::post(std::optional<std::string> logs) {
    const bool logsIncluded = logs.has_value();
    const auto payload =
        IssueReport::payload({m_services.appBuild, m_services.deviceId, m_services.deviceName,
                              IssueReport::trimmedField(m_email->text().toStdString()), std::move(logs),
                              IssueReport::trimmedField(m_message->toPlainText().toStdString())});
    if (!payload) {
        m_services.log.log("issue report not prepared reason=encoding");
        m_status->setText(QString::fromUtf8(IssueReport::couldNotPrepareText.data(),
                                            qsizetype(IssueReport::couldNotPrepareText.size())));
        m_sending = false;
        validate();
        return;
    }
    if (savesToFile()) {
        save(*payload);
        return;
    }
    m_services.log.log(std::string("issue report sending logsIncluded=") + (logsIncluded ? "true" : "false"));
    m_services.sender.send(*payload, [this](IssueReport::ServerResult result) { finished(result); });
}

void ReportIssueWindow::save(const std::string& payload) {
    m_sending = false;
    const std::filesystem::path path =
        m_services.chooseSavePath
            ? m_services.chooseSavePath(this)
            : std::filesystem::path(QFileDialog::getSaveFileName(
                                        this, qi18n("Save Report"),
                                        QDir::home().filePath(QStringLiteral("sorvala-report.json")),
                                        QStringLiteral("JSON (*.json)"))
                                        .toStdString());
    if (path.empty()) {
        m_status->clear();
        validate();
        return;
    }
    if (const auto failure = writeAtomically(payload, path)) {
        m_services.log.log("issue report not saved error=" + *failure);
        m_status->setText(
            // TRANSLATORS: %1 is the system's reason, in English.
            qi18n("Could not save the report: %1", *failure));
        validate();
        return;
    }
    m_services.log.log("issue report saved");
    m_status->setText(qi18n("Saved — attach the file wherever you report problems."));
    succeeded();
}

void ReportIssueWindow::finished(IssueReport::ServerResult result) {
    m_sending = false;
    m_status->setText(QString::fromStdString(IssueReport::statusText(result)));
    if (result == IssueReport::ServerResult::success) {
        succeeded();
        return;
    }
    validate();
}

void ReportIssueWindow::succeeded() {
    // The next report starts empty; the address may well serve again.
    {
        const QSignalBlocker quiet(m_message);
        m_message->clear();
    }
    validate();
    const int showing = m_showings;
    QTimer::singleShot(1200, this, [this, showing] {
        if (showing == m_showings)
            close();
    });
}

} // namespace sorvala
