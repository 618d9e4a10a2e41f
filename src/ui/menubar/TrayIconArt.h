// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace sorvala {

/// The tray icon: the application mark, optionally with the minutes to the next break drawn into
/// it, dimmed while reminders are paused.
namespace TrayIconArt {

/// The icon at the sizes panels ask for. `darkPanel` picks the light-ink mark.
QIcon icon(const QString& minutes, bool paused, bool darkPanel);

/// One rendering of `size` device pixels, for the icon and for looking at it.
QImage image(int size, const QString& minutes, bool paused, bool darkPanel);

/// Whether the desktop's panels are dark, judged from the application palette.
bool panelIsDark();

} // namespace TrayIconArt

} // namespace sorvala
