// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/DesignTokens.h"

#include <QColor>
#include <QPalette>

class QApplication;
class QFrame;
class QLabel;
class QString;
class QWidget;

namespace sorvala::QtDesignTokens {

/// The appearance `widget` draws with, from the lightness of its own window colour, so a window
/// forced dark on a light desktop draws dark.
DesignTokens::Appearance appearanceOf(const QWidget& widget);
/// The Qt colour of a token colour.
QColor colour(DesignTokens::Colour colour);
/// A themed token resolved for `widget`, at the moment it is drawn.
QColor colour(const DesignTokens::Themed& token, const QWidget& widget);
/// A section caption: `text` upper-cased, 11 pt bold, in the secondary text colour.
QLabel* caption(const QString& text, QWidget* parent = nullptr);
/// A thin horizontal separator line.
QFrame* separator(QWidget* parent = nullptr);
/// The application palette for a dark appearance.
QPalette darkPalette();
/// Honours SORVALA_APPEARANCE=light|dark by giving the application a light or dark palette
/// (screenshots and desktops without a colour-scheme setting); anything else leaves it alone.
void applyAppearanceOverride(QApplication& application);

} // namespace sorvala::QtDesignTokens
