// SPDX-License-Identifier: MIT
#include "ui/about/AboutWindow.h"

#include "i18n/QtI18n.h"
#include "ui/style/QtDesignTokens.h"

#include <QHBoxLayout>

#include <algorithm>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorvala {

using namespace UpdatePresentation;

namespace {

constexpr int iconSize = 44;
constexpr int windowWidth = 460;
constexpr int marginX = 24;
constexpr int iconGap = 16;
/// The width of the card's text column.
constexpr int textWidth = windowWidth - 2 * marginX - iconSize - iconGap;

QColor accentColour(Accent accent, const QWidget& widget) {
    switch (accent) {
    case Accent::neutral: return widget.palette().color(QPalette::PlaceholderText);
    case Accent::green: return QtDesignTokens::colour(DesignTokens::scoreBands[2]);
    case Accent::blue: return QtDesignTokens::colour(DesignTokens::chartAccent);
    case Accent::amber: return QtDesignTokens::colour(DesignTokens::scoreBands[0]);
    }
    return widget.palette().color(QPalette::PlaceholderText);
}

/// A filled badge with a check mark, or a warning triangle with an exclamation mark.
QPixmap iconPixmap(Icon icon, const QColor& colour, qreal ratio) {
    QPixmap pixmap(QSize(iconSize, iconSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(2, 2, iconSize - 4, iconSize - 4);
    QPen mark(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (icon == Icon::badgeCheck) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(box);
        painter.setPen(mark);
        painter.drawPolyline(QPolygonF({QPointF(13, 22.5), QPointF(19.5, 29), QPointF(31, 16)}));
    } else {
        QPainterPath triangle;
        triangle.moveTo(box.center().x(), box.top() + 1);
        triangle.lineTo(box.right(), box.bottom() - 2);
        triangle.lineTo(box.left(), box.bottom() - 2);
        triangle.closeSubpath();
        painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(colour);
        painter.drawPath(triangle);
        painter.setPen(mark);
        painter.drawLine(QPointF(22, 16), QPointF(22, 27));
        painter.drawPoint(QPointF(22, 33));
    }
    return pixmap;
}

} // namespace

AboutWindow::AboutWindow(Version current, std::function<void(Action)> onAction, QWidget* parent)
    : QDialog(parent), m_onAction(std::move(onAction)) {
    setWindowTitle(qi18n("About Sorvala"));
    setFixedWidth(windowWidth);

    m_icon = new QLabel;
    m_icon->setFixedSize(iconSize, iconSize);
    m_title = new QLabel;
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setWordWrap(true);
    m_subtitle = new QLabel;
    m_subtitle->setWordWrap(true);
    m_subtitle->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = new QProgressBar;
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_step = new QLabel;
    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch();

    auto* text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(m_title);
    text->addWidget(m_subtitle);
    text->addWidget(m_progress);
    text->addWidget(m_step);
    auto* cardRow = new QHBoxLayout;
    cardRow->setSpacing(iconGap);
    cardRow->addWidget(m_icon, 0, Qt::AlignTop);
    cardRow->addLayout(text, 1);

    auto* version = new QLabel(QString::fromStdString(line(current)));
    auto* licence = new QLabel(qi18n("Free software under the MIT License."));
    auto* address = new QLabel(QStringLiteral("<a href=\"https://sorvala.app\">https://sorvala.app</a>"));
    address->setOpenExternalLinks(true);
    address->setTextInteractionFlags(Qt::TextBrowserInteraction);
    for (auto* label : {version, licence, address})
        label->setForegroundRole(QPalette::PlaceholderText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(marginX, 22, marginX, 18);
    layout->setSpacing(14);
    layout->addLayout(cardRow);
    layout->addLayout(m_buttonRow);
    layout->addWidget(QtDesignTokens::separator());
    auto* footer = new QVBoxLayout;
    footer->setSpacing(2);
    footer->addWidget(version);
    footer->addWidget(licence);
    footer->addWidget(address);
    layout->addLayout(footer);

    render(Checking{current});
}

void AboutWindow::render(const State& state) {
    m_card = UpdatePresentation::card(state);
    apply();
}

void AboutWindow::apply() {
    m_icon->setPixmap(iconPixmap(m_card.icon, accentColour(m_card.accent, *this), devicePixelRatioF()));
    m_title->setText(QString::fromStdString(m_card.title));
    m_subtitle->setText(QString::fromStdString(m_card.subtitle));
    m_progress->setVisible(m_card.progress.has_value());
    m_step->setVisible(m_card.progress.has_value());
    if (m_card.progress)
        m_progress->setValue(static_cast<int>(std::clamp(*m_card.progress, 0.0, 1.0) * 1000));
    m_step->setText(QString::fromStdString(m_card.step));

    for (auto* button : m_buttons) {
        m_buttonRow->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
    m_buttons.clear();
    for (const auto& spec : m_card.buttons) {
        // "&" would mark a keyboard mnemonic: "Download & Install" keeps its ampersand.
        auto* button = new QPushButton(QString::fromStdString(spec.title).replace(u'&', QStringLiteral("&&")));
        const Action action = spec.action;
        connect(button, &QPushButton::clicked, this, [this, action] {
            if (action == Action::close)
                close();
            m_onAction(action);
        });
        m_buttons.push_back(button);
    }
    // The prominent button comes first in the card and sits rightmost, as the default.
    for (auto it = m_buttons.rbegin(); it != m_buttons.rend(); ++it) {
        m_buttonRow->addWidget(*it);
        (*it)->show(); // now, not on the next turn of the loop: the height below counts it
    }
    if (!m_buttons.empty()) {
        m_buttons.front()->setDefault(true);
        m_buttons.front()->setFocus();
    }
    // Wrapped sentences get the height they need at the column's width; the window follows.
    for (auto* label : {m_title, m_subtitle})
        label->setFixedHeight(label->heightForWidth(textWidth));
    layout()->invalidate();
    layout()->activate();
    setFixedHeight(layout()->totalSizeHint().height());
}

void AboutWindow::present() {
    show();
    raise();
    activateWindow();
}

} // namespace sorvala
