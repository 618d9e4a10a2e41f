// SPDX-License-Identifier: MIT
#pragma once

class QScreen;
class QWidget;

/// Our windows under a Wayland compositor: no absolute placement, no stacking above other
/// clients, no window opacity; a window is asked to go full screen on an output instead.
namespace sorvala::WaylandWindows {

/// Whether Qt talks to a Wayland compositor (the "wayland" platform and its variants).
bool active();

/// Shows the window full screen on `screen`'s output. The output is chosen when the surface is
/// made, so the screen is set on the native window before it is shown.
void showFullScreenOn(QWidget& window, QScreen* screen);

} // namespace sorvala::WaylandWindows
