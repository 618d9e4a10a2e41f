// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QWidget>

namespace sorvala {

/// A horizontal bar of up to two parts, each a share of the full width: taken then skipped in
/// the monthly trends, a single part for break lengths.
class ReportBarView final : public QWidget {
    Q_OBJECT

public:
    explicit ReportBarView(QWidget* parent = nullptr);
    void setParts(double first, QColor firstColor, double second = 0, QColor secondColor = {});
    double firstShare() const { return m_first; }
    double secondShare() const { return m_second; }
    QSize sizeHint() const override { return {220, 14}; }
    QSize minimumSizeHint() const override { return {80, 14}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_first = 0;
    double m_second = 0;
    QColor m_firstColor;
    QColor m_secondColor;
};

} // namespace sorvala
