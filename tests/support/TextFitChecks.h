// SPDX-License-Identifier: MIT
// Geometry checks for windows in any language; only test folders that link Qt Widgets include this.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>

#include <vector>

namespace sorvala {

/// Every text of `window` a person could not read whole, one line each: a label or button
/// smaller than its text needs, one reaching outside its parent, two that overlap, a scroll area
/// that must be scrolled sideways. Empty when everything fits.
inline QStringList textFitFaults(const QWidget& window) {
    struct Text {
        const QWidget* widget;
        QString text;
        QRect rect; // what shows of it, in the window's coordinates
    };
    std::vector<Text> texts;
    for (const auto* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        const auto* label = qobject_cast<const QLabel*>(widget);
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (text.isEmpty())
            continue;
        // What shows of it: a scroll area's viewport cuts off what is scrolled away.
        QRect shown(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        for (const QWidget* up = widget->parentWidget(); up && up != &window; up = up->parentWidget())
            shown &= QRect(up->mapTo(&window, QPoint(0, 0)), up->size());
        texts.push_back({widget, text, shown});
    }
    QStringList faults;
    for (const auto& t : texts) {
        const QSize needed = t.widget->sizeHint();
        const auto* label = qobject_cast<const QLabel*>(t.widget);
        const QSize size = t.widget->size();
        if (label && label->wordWrap()) {
            if (size.height() < label->heightForWidth(size.width()))
                faults << QStringLiteral("cut off below: ") + t.text;
        } else if (size.width() < needed.width() || size.height() < t.widget->minimumSizeHint().height()) {
            faults << QStringLiteral("clipped (%1 of %2 px): ").arg(size.width()).arg(needed.width()) +
                          t.text;
        }
        if (const QWidget* parent = t.widget->parentWidget();
            parent && !parent->rect().contains(QRect(t.widget->pos(), t.widget->size())))
            faults << QStringLiteral("outside its parent: ") + t.text;
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            if (!texts[i].widget->isAncestorOf(texts[j].widget) &&
                !texts[j].widget->isAncestorOf(texts[i].widget) && texts[i].rect.intersects(texts[j].rect))
                faults << QStringLiteral("overlap: ") + texts[i].text + QStringLiteral(" / ") + texts[j].text;
    for (const auto* list : window.findChildren<QListWidget*>()) {
        if (!list->isVisibleTo(&window))
            continue;
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem* item = list->item(row);
            // The icon, its gap and a styled item's padding and margins beside the text.
            const int needed =
                list->fontMetrics().horizontalAdvance(item->text()) + list->iconSize().width() + 48;
            if (needed > list->viewport()->width())
                faults << QStringLiteral("elided in its list: ") + item->text();
        }
    }
    for (const auto* area : window.findChildren<QScrollArea*>())
        if (area->isVisibleTo(&window) && area->horizontalScrollBar()->maximum() > 0)
            faults << QStringLiteral("scrolls sideways: ") + area->objectName();
    return faults;
}

} // namespace sorvala
