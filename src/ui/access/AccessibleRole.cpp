// SPDX-License-Identifier: MIT
#include "ui/access/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <mutex>

namespace sorvala::AccessibleRole {
namespace {

constexpr const char* roleProperty = "sorvalaAccessibleRole";

// A painted widget often says what it shows in its tool tip only (a score, a day): without a
// name of its own, that is its name.
class PaintedWidget final : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
    QString text(QAccessible::Text kind) const override {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = widget()->toolTip();
        return text;
    }
};

QAccessibleInterface* painted(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new PaintedWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void set(QWidget& widget, QAccessible::Role role) {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(painted); });
    widget.setProperty(roleProperty, int(role));
}

void rename(QWidget& widget, const QString& name) {
    // Qt tells the screen reader on every call; a countdown would be read out even when unchanged.
    if (widget.accessibleName() != name)
        widget.setAccessibleName(name);
}

} // namespace sorvala::AccessibleRole
