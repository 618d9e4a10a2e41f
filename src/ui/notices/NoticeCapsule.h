// SPDX-License-Identifier: MIT
#pragma once

#include "notices/Notice.h"
#include "notices/PreBreakOverlay.h"

#include <QWidget>

#include <functional>

class QLabel;

namespace sorvala {

/// One floating capsule near the top of the main screen. It never takes keyboard focus, stays
/// above ordinary and fullscreen windows, and lets clicks through unless it has buttons.
class NoticeCapsule final : public QWidget {
public:
    /// The narrowest and lowest a capsule gets.
    static constexpr int minimumWidth = 200;
    static constexpr int minimumHeight = 44;
    static constexpr int cornerRadius = 22;

    /// A capsule for `notice`; `action` receives the role of a pressed button.
    NoticeCapsule(const Notice& notice, std::function<void(Notice::Button::Role)> action);

    /// Sets the body text and fits the capsule to it.
    void setBody(const QString& text);
    QString body() const;
    /// Resizes to the content's size, never below the minimum.
    void fit();
    /// Moves to `position` on the main screen; where no screen is known it stays where it is.
    void place(PreBreakOverlay::Position position);
    /// Places and shows without taking focus.
    void present(PreBreakOverlay::Position position);
    bool acceptsClicks() const { return m_acceptsClicks; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_body = nullptr;
    bool m_acceptsClicks = false;
};

} // namespace sorvala
