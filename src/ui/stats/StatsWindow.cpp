// SPDX-License-Identifier: MIT
#include "ui/stats/StatsWindow.h"

#include "core/BreakSchedule.h"
#include "core/Calendar.h"
#include "core/Clock.h"
#include "core/PreferencesStore.h"
#include "i18n/QtI18n.h"
#include "ui/stats/HistoryFileWatch.h"
#include "ui/stats/StatsViews.h"
#include "ui/style/QtDesignTokens.h"
#include "ui/style/ShownText.h"

#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace sorvala {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}



bool isWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

/// A click on the tray icon while the popup is open first closes the popup (a click outside)
/// and may then reach the icon; a toggle this soon after is that same click.
constexpr qint64 sameClickMilliseconds = 300;

} // namespace

StatsWindow::StatsWindow(const Services& services, QWidget* parent)
    : QWidget(parent, isWayland() ? Qt::Window : Qt::Popup), m_services(services), m_reader(services.historyFile) {
    setWindowTitle(qi18n("Statistics"));
    build();
    m_watch = new HistoryFileWatch(services.historyFile, [this] {
        if (isVisible())
            refresh();
    }, this);
}

StatsWindow::~StatsWindow() = default;

void StatsWindow::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(8);

    auto* header = new QHBoxLayout;
    header->setSpacing(14);
    m_ring = new ScoreRingView(this);
    header->addWidget(m_ring, 0, Qt::AlignTop);
    auto* scoreColumn = new QVBoxLayout;
    scoreColumn->setSpacing(3);
    scoreColumn->addWidget(QtDesignTokens::caption(shownText(StatsPresentation::scoreCaption), this));
    auto* lines = new QWidget(this);
    lines->setObjectName(QStringLiteral("scoreLines"));
    m_scoreLines = new QVBoxLayout(lines);
    m_scoreLines->setContentsMargins(0, 0, 0, 0);
    m_scoreLines->setSpacing(2);
    scoreColumn->addWidget(lines);
    scoreColumn->addStretch();
    header->addLayout(scoreColumn, 1);
    layout->addLayout(header);

    auto* tiles = new QHBoxLayout;
    for (auto& tile : m_tiles) {
        tile = new TileView(this);
        tiles->addWidget(tile);
    }
    layout->addLayout(tiles);
    layout->addWidget(QtDesignTokens::separator(this));

    layout->addWidget(QtDesignTokens::caption(shownText(StatsPresentation::weekCaption), this));
    auto* bars = new QHBoxLayout;
    bars->setSpacing(4);
    for (auto& bar : m_bars) {
        bar = new ScoreBarView(this);
        bars->addWidget(bar);
    }
    bars->addStretch();
    layout->addLayout(bars);
    layout->addWidget(QtDesignTokens::separator(this));

    m_monthCaption = QtDesignTokens::caption(QString(), this);
    layout->addWidget(m_monthCaption);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(0);
    for (std::size_t column = 0; column < m_initials.size(); ++column) {
        m_initials[column] = new QLabel(this);
        m_initials[column]->setAlignment(Qt::AlignCenter);
        m_initials[column]->setForegroundRole(QPalette::PlaceholderText);
        grid->addWidget(m_initials[column], 0, int(column));
    }
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        m_cells[i] = new HeatDayView(this);
        grid->addWidget(m_cells[i], int(i / 7) + 1, int(i % 7));
    }
    auto* gridRow = new QHBoxLayout;
    gridRow->addLayout(grid);
    gridRow->addStretch();
    layout->addLayout(gridRow);

    auto* legend = new QHBoxLayout;
    legend->setSpacing(4);
    for (const auto& band : DesignTokens::scoreBands)
        legend->addWidget(new SwatchView(QtDesignTokens::colour(band), this));
    auto* high = new QLabel(shownText(StatsPresentation::legendHighText), this);
    high->setForegroundRole(QPalette::PlaceholderText);
    legend->addWidget(high);
    legend->addStretch();
    layout->addLayout(legend);
    auto* note = new QLabel(shownText(StatsPresentation::legendNote), this);
    note->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(note);
}

void StatsWindow::refresh() {
    const BreakEvents events = m_reader.events(m_services.log);
    const int interval = BreakSchedule::stored(m_services.store).overtimeLimitMinutes();
    m_content = StatsPresentation::content(*events, m_services.clock.now(), interval, m_services.calendar);
    apply();
}

void StatsWindow::apply() {
    m_ring->setScore(m_content.ring.score, m_content.ring.colorStop);
    m_ring->setToolTip(qText(m_content.ring.tooltip));

    while (QLayoutItem* item = m_scoreLines->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const auto& line : m_content.scoreLines) {
        auto* label = new QLabel(qText(line), this);
        label->setWordWrap(true);
        m_scoreLines->addWidget(label);
    }

    for (std::size_t i = 0; i < m_tiles.size(); ++i)
        m_tiles[i]->setTile(shownText(m_content.tiles[i].title), qText(m_content.tiles[i].figure));

    const auto symbols = m_services.calendar.veryShortWeekdaySymbols();
    for (std::size_t i = 0; i < m_bars.size() && i < m_content.week.size(); ++i) {
        const auto& bar = m_content.week[i];
        const auto weekday = static_cast<std::size_t>(bar.counts.day.weekday() - 1);
        m_bars[i]->setBar(bar.score, bar.height, weekday < symbols.size() ? qText(symbols[weekday]) : QString());
        m_bars[i]->setToolTip(qText(bar.tooltip));
    }

    const QLocale locale;
    m_monthCaption->setText(
        QStringLiteral("%1 %2").arg(locale.standaloneMonthName(m_content.month.month)).arg(m_content.month.year).toUpper());
    for (std::size_t i = 0; i < m_initials.size() && i < m_content.weekdayInitials.size(); ++i)
        m_initials[i]->setText(qText(m_content.weekdayInitials[i]));
    const auto blanks = static_cast<std::size_t>(m_content.leadingBlanks);
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        HeatDayView* cell = m_cells[i];
        const bool inMonth = i >= blanks && i - blanks < m_content.monthDays.size();
        // Other rows hold the columns in place, so blank cells can simply be hidden.
        cell->setVisible(inMonth);
        if (!inMonth)
            continue;
        const auto& day = m_content.monthDays[i - blanks];
        cell->setDay(day.day.day, day.score, day.today);
        cell->setToolTip(qText(day.tooltip));
    }
    adjustSize();
}

void StatsWindow::toggle(QPoint anchorOrNull) {
    if (isVisible()) {
        hide();
        return;
    }
    if (m_sinceHidden.isValid() && m_sinceHidden.elapsed() < sameClickMilliseconds)
        return;
    refresh();
    if (!isWayland()) {
        const QPoint anchor = anchorOrNull.isNull() ? QCursor::pos() : anchorOrNull;
        const QScreen* screen = QGuiApplication::screenAt(anchor);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(anchor, sizeHint());
        move(popupOrigin(anchor, sizeHint(), available));
    }
    show();
    raise();
    activateWindow();
}

QPoint StatsWindow::popupOrigin(QPoint anchor, QSize size, QRect available) {
    const int gap = 6;
    int x = anchor.x() - size.width() / 2;
    int y = anchor.y() + gap;
    if (y + size.height() > available.bottom() + 1)
        y = anchor.y() - gap - size.height();
    x = std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - size.width()));
    y = std::clamp(y, available.top(), std::max(available.top(), available.bottom() + 1 - size.height()));
    return {x, y};
}

void StatsWindow::hideEvent(QHideEvent* event) {
    m_sinceHidden.start();
    QWidget::hideEvent(event);
}

void StatsWindow::changeEvent(QEvent* event) {
    // A Qt::Popup closes itself on an outside click; the plain window it is on Wayland closes
    // when another window takes the focus, so it still behaves like a popover.
    if (event->type() == QEvent::ActivationChange && isWayland() && isVisible() && !isActiveWindow())
        hide();
    QWidget::changeEvent(event);
}

void StatsWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QtDesignTokens::colour(DesignTokens::windowSurface, *this));
    // A popup has no frame of its own; a hairline keeps it apart from a window of the same colour.
    if (windowFlags().testFlag(Qt::Popup)) {
        painter.setPen(QtDesignTokens::colour(DesignTokens::cardBorder, *this));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void StatsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace sorvala
