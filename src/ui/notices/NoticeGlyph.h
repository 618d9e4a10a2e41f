// SPDX-License-Identifier: MIT
#pragma once

#include "notices/Notice.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace sorvala {

/// The small picture at a capsule's leading edge, drawn by hand so it needs no icon theme: the
/// timer, the hourglass, the posture figure that keeps standing up, or the blinking eye.
class NoticeGlyph final : public QWidget {
public:
    /// A glyph `height` pixels high.
    NoticeGlyph(Notice::Glyph glyph, int height, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    /// Whether the glyph moves (and so repaints while shown).
    bool isAnimated() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void paintSymbol(QPainter& painter, const QColor& ink) const;
    void paintPosture(QPainter& painter, const QColor& ink, const QColor& stoolInk) const;
    void paintEye(QPainter& painter, const QColor& ink) const;

    Notice::Glyph m_glyph;
    int m_height;
    QElapsedTimer m_clock;
    QTimer m_frames;
};

} // namespace sorvala
