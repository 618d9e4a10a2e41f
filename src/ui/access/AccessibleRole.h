// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

namespace sorvala::AccessibleRole {

/// Gives a widget that paints itself the role a screen reader announces (a plain widget is only
/// a "panel" to them); its name and description stay the widget's own, the name falling back to
/// its tool tip. Set before it is shown.
void set(QWidget& widget, QAccessible::Role role);

/// Names `widget` for screen readers, telling them only when the name really changed.
void rename(QWidget& widget, const QString& name);

} // namespace sorvala::AccessibleRole
