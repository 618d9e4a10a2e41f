// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/BreakPalette.h"
#include "breakscreen/BreakWindows.h"
#include "core/PreferencesStore.h"
#include "render/SorvalaSaverView.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QGraphicsOpacityEffect;

namespace sorvala {

/// What a break's content reports back: the user's choices.
struct BreakContentActions {
    std::function<void()> skip;
    std::function<void()> extend;
};

/// How a break's content looks: its palette and background, and whether it may move.
struct BreakContentStyle {
    BreakPalette palette;
    QColor background;
    bool reduceMotion = false;
};

/// The content of a long break: the name and headline, the drawing being drawn (one frame per
/// refresh of its screen), "Skip" and "5 more min" that hide while the mouse is still.
class LongBreakContent final : public QWidget {
public:
    LongBreakContent(PreferencesStore& store, const BreakContentStyle& style, const BreakWindows::LongContent& content,
                     BreakContentActions actions, QWidget* parent);
    ~LongBreakContent() override;

    SorvalaSaverView& view() { return *m_view; }
    void revealSkip();
    /// The mouse moved: the controls show and hide again after 3 s of stillness.
    void pointerMoved();
    /// Stops asking for frames; the picture stays as it is.
    void stopFrames();
    /// Frames follow the refresh rate of the screen the content is on now.
    void followScreen();
    /// One frame at media time `now` (seconds since the content was made): the pen moves, the
    /// drawing breathes, and the parts that changed are scheduled for repaint.
    void advanceFrame(double now);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    /// The drawing's breath: its scale about its centre and its opacity.
    struct Breath {
        double scale = 1;
        double opacity = 1;
    };

    void layoutChrome();
    void setControlsVisible(bool visible);
    /// What a screen reader says of the content, and the controls staying up while Tab is in them.
    void setUpAccessibility();
    bool controlsHaveFocus() const;
    double mediaNow() const { return double(m_clock.nsecsElapsed()) / 1e9; }
    QTransform drawingToWidget() const;
    QRect onWidget(const QRegion& inDrawing) const;
    /// The drawing with its live pen at full opacity under `inDrawing` (whole points of the
    /// drawing), made for one paint and let go after it.
    QImage drawingPixels(const QRect& inDrawing) const;
    void paintDrawing(QPainter& painter, const QRect& rect) const;

    BreakContentStyle m_style;
    std::unique_ptr<SorvalaSaverView> m_view;
    QRectF m_drawingFrame;
    /// Where the drawing can reach on the content at its largest breath.
    QRect m_breathBounds;
    Breath m_breath;
    int m_band = 0;
    QElapsedTimer m_clock;
    QTimer m_frames;
    QTimer m_controlsHide;
    QLabel* m_name = nullptr;
    QLabel* m_kicker = nullptr;
    QLabel* m_headline = nullptr;
    QWidget* m_controls = nullptr;
    QGraphicsOpacityEffect* m_controlsOpacity = nullptr;
    QPushButton* m_skip = nullptr;
    bool m_controlsShown = true;
    bool m_risen = false;
};

/// The content of a micro break: a tip, a ring that winds down with the seconds left, and skip.
class MicroBreakContent final : public QWidget {
public:
    MicroBreakContent(const BreakContentStyle& style, const BreakWindows::MicroContent& content,
                      BreakContentActions actions, QWidget* parent);

    void setCountdown(const QString& text);
    void revealSkip();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layoutChrome();
    void setUpAccessibility();
    static QString ringName(int secondsLeft);
    /// Sizes the column at `fit` of its full size, its text at most `width` wide.
    void fitColumn(double fit, int width, bool withSubtitle, bool withCue);
    QRectF ringSquare() const;

    BreakContentStyle m_style;
    int m_restSeconds = 0;
    QElapsedTimer m_clock;
    QTimer m_animation;
    QWidget* m_top = nullptr;
    QWidget* m_column = nullptr;
    QWidget* m_ring = nullptr;
    QLabel* m_countdown = nullptr;
    QLabel* m_seconds = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_subtitle = nullptr;
    QLabel* m_cue = nullptr;
    QWidget* m_buttons = nullptr;
    QPushButton* m_skip = nullptr;
    bool m_risen = false;
};

} // namespace sorvala
