// SPDX-License-Identifier: MIT
#pragma once

#include "onboarding/OnboardingFlow.h"
#include "render/SorvalaSaverView.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace sorvala {

class PreferencesStore;

/// The pictures at the top of the walkthrough's pages, drawn in the accent and the neutral tokens.
namespace OnboardingFigures {

/// Every figure is this tall.
inline constexpr int height = 208;
/// The widget of `figure`; the live drawing reads its appearance from `store`.
QWidget* view(const OnboardingFlow::Figure& figure, PreferencesStore& store, QWidget* parent = nullptr);

} // namespace OnboardingFigures

/// The work timeline with micro-break ticks and the long break's accent marks.
class OnboardingRhythmView : public QWidget {
public:
    OnboardingRhythmView(OnboardingFlow::RhythmStrip strip, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    OnboardingFlow::RhythmStrip m_strip;
};

/// A busy block on a timeline, a dashed wait and the dot where the break starts.
class OnboardingWaitingView : public QWidget {
public:
    OnboardingWaitingView(std::vector<std::string> labels, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::string> m_labels;
};

/// A mock panel with our mark, a sample countdown and a clock.
class OnboardingMenuBarView : public QWidget {
public:
    explicit OnboardingMenuBarView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// A square drawing drawn stroke by stroke, frames running only while the view is shown and
/// the drawing unfinished; shown finished at once where the desktop asks for less motion.
class OnboardingDrawingView : public QWidget {
public:
    OnboardingDrawingView(PreferencesStore& store, QWidget* parent = nullptr);
    /// Stops the frames; the picture stays as it is.
    void stop();
    /// Whether the pen is still moving, frame by frame.
    bool isAnimating() const { return m_frames.isActive(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect square() const;
    double mediaNow() const;
    void frame();
    void finishAtOnce();

    QElapsedTimer m_clock;
    SorvalaSaverView m_view;
    QTimer m_frames;
};

} // namespace sorvala
