// SPDX-License-Identifier: MIT
#pragma once

#include "history/BreakLog.h"
#include "history/StatsPresentation.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <array>
#include <filesystem>
#include <vector>

class QLabel;
class QVBoxLayout;
class QGridLayout;

namespace sorvala {

class Calendar;
class Clock;
class HeatDayView;
class HistoryFileWatch;
class Logger;
class PreferencesStore;
class ScoreBarView;
class ScoreRingView;
class TileView;

/// The quick look at today and the recent past: a popup beside the tray icon on X11, a small
/// window of its own on Wayland, where a client cannot place a popup next to the tray.
class StatsWindow final : public QWidget {
public:
    /// What the view reads: the history file, the user's calendar, the clock, the settings store
    /// (for the interval the score is measured against) and the log.
    struct Services {
        std::filesystem::path historyFile;
        const Calendar& calendar;
        const Clock& clock;
        const PreferencesStore& store;
        Logger& log;
    };

    explicit StatsWindow(const Services& services, QWidget* parent = nullptr);
    ~StatsWindow() override;

    /// Closes the view when it is shown; otherwise shows it next to `anchorOrNull` (the tray
    /// icon's centre), or next to the pointer when the tray gave no position.
    void toggle(QPoint anchorOrNull = {});

    /// Reads the history again and shows what it says now.
    void refresh();

    /// What the view shows at the moment.
    const StatsPresentation::Content& content() const { return m_content; }

    /// Where a popup of `size` goes for an anchor: centred below it, or above it when there is
    /// no room below, always inside `available`.
    static QPoint popupOrigin(QPoint anchor, QSize size, QRect available);

protected:
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void apply();

    Services m_services;
    BreakLogReader m_reader;
    HistoryFileWatch* m_watch = nullptr;
    StatsPresentation::Content m_content;
    QElapsedTimer m_sinceHidden;

    ScoreRingView* m_ring = nullptr;
    QVBoxLayout* m_scoreLines = nullptr;
    std::array<TileView*, 2> m_tiles{};
    std::array<ScoreBarView*, 7> m_bars{};
    QLabel* m_monthCaption = nullptr;
    std::array<QLabel*, 7> m_initials{};
    std::array<HeatDayView*, 42> m_cells{};
};

} // namespace sorvala
