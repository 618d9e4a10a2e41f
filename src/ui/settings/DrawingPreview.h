// SPDX-License-Identifier: MIT
#pragma once

#include "drawing/Settings.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace sorvala {

class SorvalaSaverView;

/// A small live drawing in a given appearance, drawn stroke by stroke while it is on screen.
class DrawingPreview : public QWidget {
    Q_OBJECT
public:
    explicit DrawingPreview(QWidget* parent = nullptr);
    ~DrawingPreview() override;

    /// Starts a fresh drawing in `appearance`.
    void setAppearance(const Settings& appearance);
    QSize sizeHint() const override { return {240, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void restart();
    void frame();
    double mediaNow() const;

    Settings m_appearance;
    std::unique_ptr<SorvalaSaverView> m_view;
    QElapsedTimer m_clock;
    QTimer m_frames;
};

} // namespace sorvala
