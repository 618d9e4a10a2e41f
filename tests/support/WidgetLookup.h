// SPDX-License-Identifier: MIT
// Finding a window's parts the way a person reads them, by their text; for widget tests only.
#pragma once

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

namespace sorvala {

/// The first button under `parent` titled `title` (shown ones only when `shownOnly`), else null.
inline QPushButton* buttonTitled(const QWidget& parent, const QString& title, bool shownOnly = false) {
    for (auto* button : parent.findChildren<QPushButton*>())
        if (button->text() == title && (!shownOnly || button->isVisibleTo(&parent)))
            return button;
    return nullptr;
}

/// The first label under `parent` that reads `text`, else null.
inline QLabel* labelReading(const QWidget& parent, const QString& text) {
    for (auto* label : parent.findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}

/// The texts of every label shown under `parent`.
inline QStringList shownTexts(const QWidget& parent) {
    QStringList texts;
    for (const auto* label : parent.findChildren<QLabel*>())
        if (label->isVisibleTo(&parent))
            texts << label->text();
    return texts;
}

/// Runs the event loop a few rounds, so deferred deletes and layouts settle.
inline void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace sorvala
