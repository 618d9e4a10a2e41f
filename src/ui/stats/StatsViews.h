// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

namespace sorvala {

/// Today's score as a ring filled up to its colour stop, the number in the middle.
class ScoreRingView final : public QWidget {
    Q_OBJECT

public:
    explicit ScoreRingView(QWidget* parent = nullptr);
    void setScore(std::optional<int> score, double colorStop);
    std::optional<int> score() const { return m_score; }
    double colorStop() const { return m_colorStop; }
    QSize sizeHint() const override { return {80, 80}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<int> m_score;
    double m_colorStop = 0;
};

/// One day of the week: a bar of the score's height above the weekday's initial.
class ScoreBarView final : public QWidget {
    Q_OBJECT

public:
    explicit ScoreBarView(QWidget* parent = nullptr);
    void setBar(std::optional<int> score, double barHeight, const QString& initial);
    std::optional<int> score() const { return m_score; }
    /// The bar's height in device-independent pixels.
    double barHeight() const { return m_barHeight; }
    QSize sizeHint() const override { return {26, 74}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<int> m_score;
    double m_barHeight = 4;
    QString m_initial;
};

/// One day of the month heat map, coloured by its score; today is ringed.
class HeatDayView final : public QWidget {
    Q_OBJECT

public:
    explicit HeatDayView(QWidget* parent = nullptr);
    void setDay(int dayOfMonth, std::optional<int> score, bool today);
    int dayOfMonth() const { return m_day; }
    std::optional<int> score() const { return m_score; }
    bool isToday() const { return m_today; }
    QSize sizeHint() const override { return {30, 23}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_day = 0;
    std::optional<int> m_score;
    bool m_today = false;
};

/// A small rounded tile with a title above a figure.
class TileView final : public QWidget {
    Q_OBJECT

public:
    explicit TileView(QWidget* parent = nullptr);
    void setTile(const QString& title, const QString& figure);
    const QString& title() const { return m_title; }
    const QString& figure() const { return m_figure; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QString m_figure;
};

/// A square of one colour, for the legend.
class SwatchView final : public QWidget {
    Q_OBJECT

public:
    explicit SwatchView(QColor color, QWidget* parent = nullptr);
    QColor color() const { return m_color; }
    QSize sizeHint() const override { return {12, 12}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};

/// The colour of a score's band, shared by the ring, the bars, the heat map and the reports.
QColor bandColor(int score);

} // namespace sorvala
