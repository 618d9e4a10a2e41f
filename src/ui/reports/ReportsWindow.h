// SPDX-License-Identifier: MIT
#pragma once

#include "history/BreakLog.h"
#include "history/ReportsPresentation.h"

#include <QString>
#include <QWidget>

#include <filesystem>
#include <optional>

class QGridLayout;
class QLabel;

namespace sorvala {

class Calendar;
class HistoryFileWatch;
class Logger;

/// The long view of the whole history: the last months, the best and the worst day, how long
/// breaks last, and the CSV export.
class ReportsWindow final : public QWidget {
public:
    /// What the window reads: the history file, the user's calendar and the log.
    struct Services {
        std::filesystem::path historyFile;
        const Calendar& calendar;
        Logger& log;
    };

    explicit ReportsWindow(const Services& services, QWidget* parent = nullptr);
    ~ReportsWindow() override;

    /// Shows the window with the history as it is now, or raises it when it is already open.
    void showAndRaise();

    /// Reads the history again and shows what it says now.
    void refresh();

    /// What the window shows at the moment.
    const ReportsPresentation::Content& content() const { return m_content; }

    /// Asks where to save the CSV export and writes it there.
    void exportCsv();

    /// Writes the whole history as CSV to `path`, replacing it in one step; answers the sentence
    /// to show the user when that fails (the file at `path`, if any, is then left as it was).
    std::optional<QString> exportTo(const QString& path);

    /// The file the save dialog proposes: the export's name in the user's documents folder.
    static QString proposedExportPath();

private:
    void build();
    void apply();
    void fillMonths();
    void fillExtremes();
    void fillBuckets();

    Services m_services;
    BreakLogReader m_reader;
    HistoryFileWatch* m_watch = nullptr;
    ReportsPresentation::Content m_content;

    QGridLayout* m_months = nullptr;
    QGridLayout* m_extremes = nullptr;
    QGridLayout* m_buckets = nullptr;
};

} // namespace sorvala
