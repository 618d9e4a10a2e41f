// SPDX-License-Identifier: MIT
#include "ui/notices/NoticeCapsule.h"

#include "ui/notices/NoticeGlyph.h"
#include "ui/style/QtDesignTokens.h"
#include "ui/wayland/WaylandCapsuleSurface.h"
#include "ui/wayland/WaylandWindows.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

namespace sorvala {

namespace {

constexpr int glyphHeight = 28;
constexpr int bodyPixelSize = 15;

Qt::WindowFlags capsuleFlags(bool acceptsClicks) {
    // Bypassing the window manager keeps the capsule above fullscreen windows on every
    // workspace and out of the task list; it never takes focus.
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint;
    if (!acceptsClicks)
        flags |= Qt::WindowTransparentForInput;
    return flags;
}

} // namespace

NoticeCapsule::NoticeCapsule(const Notice& notice, std::function<void(Notice::Button::Role)> action)
    : QWidget(nullptr, capsuleFlags(notice.acceptsClicks())), m_acceptsClicks(notice.acceptsClicks()) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Sorvala"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(20, 0, notice.buttons.empty() ? 24 : 18, 0);
    row->setSpacing(8);
    if (notice.glyph) {
        auto* glyph = new NoticeGlyph(*notice.glyph, glyphHeight, this);
        row->addWidget(glyph, 0, Qt::AlignVCenter);
    }
    m_body = new QLabel(QString::fromStdString(notice.body), this);
    QFont font = m_body->font();
    font.setPixelSize(bodyPixelSize);
    font.setWeight(QFont::DemiBold);
    m_body->setFont(font);
    row->addWidget(m_body, 0, Qt::AlignVCenter);
    if (!notice.buttons.empty())
        row->addSpacing(14 - row->spacing());
    for (std::size_t index = 0; index < notice.buttons.size(); ++index) {
        auto* button = new QPushButton(QString::fromStdString(notice.buttons[index].title), this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this,
                [action, role = notice.role(static_cast<long long>(index))] {
                    if (action)
                        action(role);
                });
        row->addWidget(button, 0, Qt::AlignVCenter);
    }
    row->addStretch(1);
    fit();
}

NoticeCapsule::~NoticeCapsule() = default;

void NoticeCapsule::setBody(const QString& text) {
    m_body->setText(text);
    fit();
}

QString NoticeCapsule::body() const {
    return m_body->text();
}

void NoticeCapsule::fit() {
    layout()->activate();
    const QSize content = layout()->sizeHint();
    const QSize size(std::max(minimumWidth, content.width()), std::max(minimumHeight, content.height()));
    if (WaylandWindows::active())
        setFixedSize(size); // a tiling compositor floats a window of fixed size
    else
        resize(size);
}

void NoticeCapsule::place(PreBreakOverlay::Position position) {
    if (m_surface) {
        using Anchor = WaylandCapsuleSurface::Anchor;
        const Anchor anchor = position == PreBreakOverlay::Position::topLeft    ? Anchor::left
                              : position == PreBreakOverlay::Position::topRight ? Anchor::right
                                                                                : Anchor::centre;
        m_surface->place(anchor, int(PreBreakOverlay::defaultMargin));
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const auto corner = PreBreakOverlay::topLeftPoint(
        position, width(), {double(area.x()), double(area.y()), double(area.width()), double(area.height())});
    move(static_cast<int>(corner.x), static_cast<int>(corner.y));
}

void NoticeCapsule::present(PreBreakOverlay::Position position) {
    if (!isVisible() && !m_surface && WaylandWindows::active())
        becomeLayerSurface();
    place(position);
    show();
    raise();
}

void NoticeCapsule::becomeLayerSurface() {
    // A window on Wayland cannot be placed, may take the focus and is tiled by a tiling
    // compositor: where the compositor offers a layer shell the capsule is drawn into a layer
    // surface above all windows instead, and never becomes a window of its own.
    if (testAttribute(Qt::WA_WState_Created) && !testAttribute(Qt::WA_DontShowOnScreen))
        return;
    auto surface = std::make_unique<WaylandCapsuleSurface>(*this);
    if (!surface->isAvailable())
        return;
    setAttribute(Qt::WA_DontShowOnScreen);
    clearMask();
    surface->setTakesPointer(m_acceptsClicks || m_pointerMoved);
    surface->onPointerMoved = m_pointerMoved;
    m_surface = std::move(surface);
}

void NoticeCapsule::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Off the screen at once: sway 1.7 leaves a second output's full-screen window unpainted
    // while any overlay surface shows, and a break's windows come right after the countdown goes.
    // Hidden by the press of its own button, from inside the surface's pointer event, the
    // surface's object (and its connection) goes once that returns.
    if (m_surface) {
        m_surface->withdraw();
        m_surface.release()->deleteLater();
    }
}

void NoticeCapsule::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A layer surface has an alpha channel of its own: its corners stay smooth.
    if (m_surface)
        return;
    // Without a compositor a window cannot be partly transparent: shape it to the capsule.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void NoticeCapsule::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QtDesignTokens::colour(DesignTokens::cardBorder, *this), 1));
    painter.setBrush(QtDesignTokens::colour(DesignTokens::cardSurface, *this));
    painter.drawRoundedRect(box, cornerRadius, cornerRadius);
}

} // namespace sorvala
