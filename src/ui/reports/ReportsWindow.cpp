// SPDX-License-Identifier: MIT
#include "ui/reports/ReportsWindow.h"

#include "core/Calendar.h"
#include "core/FileWriting.h"
#include "core/Logger.h"
#include "i18n/QtI18n.h"
#include "ui/reports/ReportBarView.h"
#include "ui/stats/HistoryFileWatch.h"
#include "ui/stats/StatsViews.h"
#include "ui/style/QtDesignTokens.h"
#include "ui/style/ShownText.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <system_error>

namespace sorvala {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QDate qDate(CivilDay day) {
    return QDate(day.year, day.month, day.day);
}

/// The locale's long date with the weekday and the month abbreviated ("Sun, Dec 6, 2026").
QString mediumDate(CivilDay day) {
    const QLocale locale;
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.replace(QLatin1String("dddd"), QLatin1String("ddd")).replace(QLatin1String("MMMM"), QLatin1String("MMM"));
    return locale.toString(qDate(day), format);
}

void clear(QGridLayout* grid) {
    while (QLayoutItem* item = grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

QLabel* emptyState(std::string_view text, QWidget* parent) {
    auto* label = new QLabel(shownText(text), parent);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel* trailing(const QString& text, QWidget* parent, std::optional<QColor> color = std::nullopt) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (color) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, *color);
        label->setPalette(palette);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QGridLayout* section(QVBoxLayout* layout, std::string_view caption, const char* name, QWidget* parent) {
    layout->addWidget(QtDesignTokens::caption(shownText(caption), parent));
    auto* rows = new QWidget(parent);
    rows->setObjectName(QLatin1String(name));
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(1, 1);
    layout->addWidget(rows);
    return grid;
}

} // namespace

ReportsWindow::ReportsWindow(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_reader(services.historyFile) {
    setWindowTitle(qi18n("Reports"));
    build();
    m_watch = new HistoryFileWatch(services.historyFile, [this] {
        if (isVisible())
            refresh();
    }, this);
}

ReportsWindow::~ReportsWindow() = default;

void ReportsWindow::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    m_months = section(layout, ReportsPresentation::monthlyTrendsCaption, "monthlyTrends", this);
    layout->addWidget(QtDesignTokens::separator(this));
    m_extremes = section(layout, ReportsPresentation::extremesCaption, "bestAndWorstDays", this);
    layout->addWidget(QtDesignTokens::separator(this));
    m_buckets = section(layout, ReportsPresentation::breakLengthsCaption, "breakLengths", this);
    layout->addWidget(QtDesignTokens::separator(this));
    layout->addStretch();

    auto* footer = new QHBoxLayout;
    footer->addStretch();
    auto* exportButton = new QPushButton(shownText(ReportsPresentation::exportButtonText), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    connect(exportButton, &QPushButton::clicked, this, &ReportsWindow::exportCsv);
    footer->addWidget(exportButton);
    layout->addLayout(footer);
    setMinimumWidth(440);
}

void ReportsWindow::showAndRaise() {
    refresh();
    show();
    raise();
    activateWindow();
}

void ReportsWindow::refresh() {
    const BreakEvents events = m_reader.events(m_services.log);
    m_content = ReportsPresentation::content(*events, m_services.calendar);
    apply();
}

void ReportsWindow::apply() {
    fillMonths();
    fillExtremes();
    fillBuckets();
}

void ReportsWindow::fillMonths() {
    clear(m_months);
    if (m_content.months.empty())
        m_months->addWidget(emptyState(ReportsPresentation::noMonthsText, this), 0, 0, 1, 3);
    const QLocale locale;
    int row = 0;
    for (const auto& month : m_content.months) {
        m_months->addWidget(new QLabel(locale.toString(qDate(month.row.month), QStringLiteral("MMM yy")), this), row, 0);
        auto* bar = new ReportBarView(this);
        bar->setParts(month.takenWidth, QtDesignTokens::colour(DesignTokens::chartAccent), month.skippedWidth,
                      QtDesignTokens::colour(DesignTokens::chartSkipped));
        bar->setToolTip(qText(month.tooltip));
        m_months->addWidget(bar, row, 1);
        m_months->addWidget(trailing(qText(month.percentText), this, bandColor(month.row.takenPercent())), row, 2);
        ++row;
    }
}

void ReportsWindow::fillExtremes() {
    clear(m_extremes);
    if (m_content.extremes.empty())
        m_extremes->addWidget(emptyState(ReportsPresentation::noExtremesText, this), 0, 0, 1, 3);
    int row = 0;
    for (const auto& extreme : m_content.extremes) {
        m_extremes->addWidget(new QLabel(qText(extreme.title), this), row, 0);
        m_extremes->addWidget(new QLabel(mediumDate(extreme.day.day), this), row, 1);
        m_extremes->addWidget(trailing(qText(extreme.text), this, bandColor(extreme.day.takenPercent())), row, 2);
        ++row;
    }
}

void ReportsWindow::fillBuckets() {
    clear(m_buckets);
    if (m_content.buckets.empty())
        m_buckets->addWidget(emptyState(ReportsPresentation::noDurationsText, this), 0, 0, 1, 3);
    int row = 0;
    for (const auto& bucket : m_content.buckets) {
        m_buckets->addWidget(new QLabel(qText(bucket.bucket.name), this), row, 0);
        auto* bar = new ReportBarView(this);
        bar->setParts(bucket.width, QtDesignTokens::colour(DesignTokens::chartAccent));
        bar->setToolTip(qText(bucket.tooltip));
        m_buckets->addWidget(bar, row, 1);
        m_buckets->addWidget(trailing(qText(bucket.countText), this), row, 2);
        ++row;
    }
}

QString ReportsWindow::proposedExportPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(qText(ReportsPresentation::exportFileName));
}

void ReportsWindow::exportCsv() {
    m_services.log.log("CSV export requested");
    auto* dialog = new QFileDialog(this, qi18n("Export CSV"), proposedExportPath(),
                                   qi18n("CSV files (*.csv);;All files (*)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::finished, this, [this, dialog](int result) {
        const QStringList chosen = dialog->selectedFiles();
        if (result != QDialog::Accepted || chosen.isEmpty() || chosen.front().isEmpty()) {
            m_services.log.log("CSV export cancelled");
            return;
        }
        if (const auto failure = exportTo(chosen.front())) {
            auto* box = new QMessageBox(QMessageBox::Warning, qi18n("Export CSV"), *failure,
                                        QMessageBox::Ok, this);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        }
    });
    dialog->open();
}

std::optional<QString> ReportsWindow::exportTo(const QString& path) {
    const std::filesystem::path target = path.toStdString();
    std::error_code error;
    // Replacing the history with its own export would lose every recorded break.
    if (std::filesystem::equivalent(target, m_services.historyFile, error)) {
        m_services.log.log("CSV export failed: the chosen file is the break history");
        return qi18n("The export can't replace the break history itself. Choose another file.");
    }
    const BreakEvents events = m_reader.events(m_services.log);
    if (const auto failure = writeAtomically(BreakLog::csv(*events, m_services.calendar), target)) {
        m_services.log.log("CSV export failed: " + *failure);
        // TRANSLATORS: %1 is the system's reason, in English.
        return qi18n("The breaks could not be exported (%1). Nothing was changed.", *failure);
    }
    m_services.log.log("CSV exported to " + target.string());
    return std::nullopt;
}

} // namespace sorvala
