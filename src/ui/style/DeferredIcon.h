// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QString>

namespace sorvala {

/// The icon in `fileName`, read only when something first draws it. An SVG icon loads Qt's SVG
/// module as soon as the icon is made; the application icon is made at start but drawn only when
/// a window opens, so it waits for that.
QIcon deferredIcon(const QString& fileName);

} // namespace sorvala
