// SPDX-License-Identifier: MIT
#include "ui/style/QtDesignTokens.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace sorvala::QtDesignTokens {

DesignTokens::Appearance appearanceOf(const QWidget& widget) {
    return DesignTokens::appearanceForBackgroundLightness(widget.palette().color(QPalette::Window).lightnessF());
}

QColor colour(DesignTokens::Colour c) {
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue), float(c.alpha));
}

QColor colour(const DesignTokens::Themed& token, const QWidget& widget) {
    const auto appearance = appearanceOf(widget);
    if (&token == &DesignTokens::selectedRowSurface && appearance == DesignTokens::Appearance::light)
        return widget.palette().color(QPalette::Base);
    return colour(token.resolve(appearance));
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text.toUpper(), parent);
    QFont font = label->font();
    font.setPointSizeF(11);
    font.setBold(true);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
}

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QPalette darkPalette() {
    QPalette p;
    const QColor window(30, 30, 34), base(22, 22, 25), text(236, 236, 240), mid(58, 58, 62);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, mid);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(44, 44, 48));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, mid);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(152, 152, 158));
    p.setColor(QPalette::Highlight, QColor(58, 128, 183));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 230));
    p.setColor(QPalette::Mid, mid);
    p.setColor(QPalette::Dark, QColor(16, 16, 18));
    p.setColor(QPalette::Light, QColor(70, 70, 76));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 110, 116));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 110, 116));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(110, 110, 116));
    return p;
}

void applyAppearanceOverride(QApplication& application) {
    const QByteArray wanted = qgetenv("SORVALA_APPEARANCE");
    if (wanted != "dark" && wanted != "light")
        return;
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    application.setPalette(wanted == "dark" ? darkPalette() : application.style()->standardPalette());
}

} // namespace sorvala::QtDesignTokens
