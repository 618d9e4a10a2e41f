// SPDX-License-Identifier: MIT
#include "ui/breakscreen/BreakContent.h"

#include "breakscreen/LongBreakLayout.h"
#include "breakscreen/MicroBreakPrompts.h"
#include "ui/breakscreen/QtBreakChrome.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadialGradient>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace sorvala {

namespace {

constexpr int controlsHideMilliseconds = 3000;
constexpr int controlsFadeMilliseconds = 400;

QColor withAlpha(QColor colour, qreal alpha) {
    colour.setAlphaF(float(colour.alphaF() * alpha));
    return colour;
}

/// Milliseconds between frames for `screen`'s refresh rate, 60 Hz when it does not say.
int frameInterval(const QScreen* screen) {
    const qreal rate = screen && screen->refreshRate() >= 20 ? screen->refreshRate() : 60;
    return std::max(1, int(std::floor(1000 / rate)));
}

/// A vertical stack of `widgets`, `spacing` points apart, sized to what it holds.
QWidget* stack(QWidget* parent, std::initializer_list<QWidget*> widgets, int spacing, Qt::Alignment alignment) {
    auto* holder = new QWidget(parent);
    holder->setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (auto* widget : widgets)
        if (widget)
            layout->addWidget(widget, 0, alignment);
    return holder;
}

} // namespace

LongBreakContent::LongBreakContent(PreferencesStore& store, const BreakContentStyle& style,
                                   const BreakWindows::LongContent& content, BreakContentActions actions,
                                   QWidget* parent)
    : QWidget(parent), m_style(style), m_view(std::make_unique<SorvalaSaverView>(store, 0)) {
    using namespace QtBreakChrome;
    const auto& p = style.palette;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_clock.start();
    m_view->setDrawsOverHostBackground(true);
    m_view->setSystemDark(desktopPrefersDark());

    m_name = label(QStringLiteral("Sorvala"), systemFont(15, QFont::DemiBold), colour(p.topName), 0.3, this);
    m_kicker = label(QStringLiteral("LONG BREAK"), monospaced(10), colour(p.topKicker), 2.6, this);
    m_headline = label(QStringLiteral("Breathe and stretch while the sorvala draws"), systemFont(32, QFont::Light),
                       withAlpha(colour(p.text), 0.55), 0, this);
    m_headline->setWordWrap(true);

    m_skip = pillButton(QStringLiteral("Skip"), p, nullptr);
    m_skip->setVisible(content.skipVisible);
    auto* extend = pillButton(QStringLiteral("5 more min"), p, nullptr);
    auto* row = new QWidget;
    row->setAttribute(Qt::WA_TranslucentBackground);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(10);
    rowLayout->addWidget(m_skip);
    rowLayout->addWidget(extend);
    auto* hint = label(QStringLiteral("controls hide when the mouse is still"), monospaced(10), colour(p.escapeHint),
                       1.0, nullptr);
    m_controls = stack(this, {row, hint}, 12, Qt::AlignHCenter);
    m_controlsOpacity = new QGraphicsOpacityEffect(m_controls);
    m_controlsOpacity->setOpacity(1);
    m_controls->setGraphicsEffect(m_controlsOpacity);
    for (auto* child : m_controls->findChildren<QWidget*>())
        child->setMouseTracking(true);
    m_controls->setMouseTracking(true);

    connect(m_skip, &QPushButton::clicked, this, [skip = actions.skip] { if (skip) skip(); });
    connect(extend, &QPushButton::clicked, this, [more = actions.extend] { if (more) more(); });

    m_controlsHide.setSingleShot(true);
    m_controlsHide.setInterval(controlsHideMilliseconds);
    connect(&m_controlsHide, &QTimer::timeout, this, [this] { setControlsVisible(false); });
    m_controlsHide.start();

    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, [this] { frame(); });
    m_frames.start(frameInterval(screen()));
}

LongBreakContent::~LongBreakContent() = default;

void LongBreakContent::revealSkip() {
    m_skip->setVisible(true);
}

void LongBreakContent::pointerMoved() {
    setControlsVisible(true);
    m_controlsHide.start();
}

void LongBreakContent::setControlsVisible(bool visible) {
    if (visible == m_controlsShown)
        return;
    m_controlsShown = visible;
    auto* fade = new QPropertyAnimation(m_controlsOpacity, "opacity", this);
    fade->setDuration(controlsFadeMilliseconds);
    fade->setEndValue(visible ? 1.0 : 0.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void LongBreakContent::stopFrames() {
    m_frames.stop();
}

void LongBreakContent::followScreen() {
    if (m_frames.isActive())
        m_frames.start(frameInterval(screen()));
}

void LongBreakContent::layoutChrome() {
    const int w = width();
    const int h = height();
    m_name->adjustSize();
    m_kicker->adjustSize();
    m_name->move(34, 20);
    m_kicker->move(34, 20 + m_name->height() + 2);
    const int headlineWidth = std::min(760, std::max(200, w - 80));
    m_headline->setFixedWidth(headlineWidth);
    m_headline->setFixedHeight(m_headline->heightForWidth(headlineWidth));
    m_headline->move((w - headlineWidth) / 2, 64);
    m_controls->adjustSize();
    m_controls->move((w - m_controls->width()) / 2, h - 28 - m_controls->height());

    const double headlineBottom = m_headline->y() + m_headline->height();
    const double controlsTop = m_controls->y();
    LongBreakLayout::Frame square;
    if (m_drawingFrame.isEmpty()) {
        square = LongBreakLayout::sorvalaFrame(w, h, headlineBottom, controlsTop);
    } else {
        // A drawing in progress keeps its size and only moves.
        square = LongBreakLayout::recentredSorvalaFrame({0, 0, m_drawingFrame.width(), m_drawingFrame.height()}, w, h,
                                                        headlineBottom, controlsTop);
    }
    // The layout measures from the bottom; widgets from the top. Whole points keep the ink crisp.
    m_drawingFrame = QRectF(std::round(square.x), std::round(h - square.y - square.height), std::round(square.width),
                            std::round(square.height));
    m_view->setGeometry(m_drawingFrame.size(), devicePixelRatioF());
}

void LongBreakContent::resizeEvent(QResizeEvent*) {
    m_backdrop = QtBreakChrome::backdrop(size(), devicePixelRatioF(), m_style.background,
                                         QtBreakChrome::colour(m_style.palette.gradientWash), {0.5, 0.45},
                                         {1.1, 0.95}, 0.63);
    layoutChrome();
    // The entrance starts from where the first layout puts the chrome.
    if (!m_risen && !m_style.reduceMotion) {
        for (auto* view : {static_cast<QWidget*>(m_headline), static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_kicker)})
            QtBreakChrome::playEntranceRise(view);
    }
    m_risen = true;
    update();
}

void LongBreakContent::frame() {
    if (m_drawingFrame.isEmpty())
        return;
    const QRegion changed = m_view->animateOneFrame(mediaNow());
    if (!changed.isEmpty())
        update(changed.translated(m_drawingFrame.topLeft().toPoint()));
}

void LongBreakContent::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& rect : event->region())
        painter.drawPixmap(rect, m_backdrop, QRectF(QPointF(rect.topLeft()) * m_backdrop.devicePixelRatio(),
                                                    QSizeF(rect.size()) * m_backdrop.devicePixelRatio()));
    const QPoint origin = m_drawingFrame.topLeft().toPoint();
    const QRegion inDrawing =
        event->region().translated(-origin) & QRect(QPoint(0, 0), m_drawingFrame.size().toSize());
    if (inDrawing.isEmpty())
        return;
    painter.translate(origin);
    painter.setClipRegion(inDrawing);
    m_view->paint(painter, inDrawing);
}

MicroBreakContent::MicroBreakContent(const BreakContentStyle& style, const BreakWindows::MicroContent& content,
                                     BreakContentActions actions, QWidget* parent)
    : QWidget(parent), m_style(style), m_restSeconds(content.restSeconds) {
    using namespace QtBreakChrome;
    const auto& p = style.palette;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_clock.start();

    m_top = stack(this,
                  {label(QStringLiteral("Sorvala"), systemFont(15, QFont::DemiBold), colour(p.topName), 0.3, nullptr),
                   label(QStringLiteral("MICRO BREAK"), monospaced(10), colour(p.topKicker), 2.6, nullptr)},
                  2, Qt::AlignLeft);

    m_countdown = label(QString::fromStdString(MicroBreakDisplay::countdownText(content.restSeconds)), monospaced(46),
                        colour(p.text), 0, nullptr);
    auto* seconds = label(QStringLiteral("SECONDS OF REST"), monospaced(9.5), colour(p.seconds), 2.66, nullptr);
    auto* ring = new QWidget;
    ring->setFixedSize(300, 300);
    ring->setAttribute(Qt::WA_TranslucentBackground);
    auto* ringStack = new QVBoxLayout(ring);
    ringStack->setSpacing(5);
    ringStack->addStretch();
    ringStack->addWidget(m_countdown, 0, Qt::AlignHCenter);
    ringStack->addWidget(seconds, 0, Qt::AlignHCenter);
    ringStack->addStretch();

    auto* prompt = label(QString::fromStdString(content.prompt.prompt), systemFont(40, QFont::Light), colour(p.text),
                         0, nullptr);
    // Every tip fits on one line; wrapping a 40-point title inside the narrow column clips it.
    auto* subtitle = label(QString::fromStdString(content.prompt.subtitle), systemFont(15), colour(p.subtitle), 0,
                           nullptr);
    subtitle->setWordWrap(true);
    subtitle->setFixedWidth(420);
    // The column is sized from its children's hints, which ignore wrapping; the height is fixed here.
    subtitle->setFixedHeight(subtitle->heightForWidth(420));
    QLabel* cue = nullptr;
    if (content.prompt.cue)
        cue = label(QString::fromStdString(*content.prompt.cue), monospaced(11.5), colour(p.accent), 2.76, nullptr);
    auto* text = stack(nullptr, {prompt, subtitle}, 18, Qt::AlignHCenter);
    if (cue) {
        static_cast<QVBoxLayout*>(text->layout())->addSpacing(22 - 18);
        text->layout()->addWidget(cue);
        text->layout()->setAlignment(cue, Qt::AlignHCenter);
    }
    m_column = stack(this, {ring, text}, 46, Qt::AlignHCenter);

    m_skip = pillButton(QStringLiteral("Skip this break"), p, nullptr);
    m_skip->setVisible(content.skipVisible);
    connect(m_skip, &QPushButton::clicked, this, [skip = actions.skip] { if (skip) skip(); });
    QLabel* hint = nullptr;
    if (content.escapeHintVisible)
        hint = label(QStringLiteral("or press esc twice"), monospaced(10.5), colour(p.escapeHint), 1.05, nullptr);
    m_buttons = stack(this, {m_skip, hint}, 11, Qt::AlignHCenter);

    if (!style.reduceMotion) {
        if (cue) {
            auto* effect = new QGraphicsOpacityEffect(cue);
            cue->setGraphicsEffect(effect);
            auto* pulse = new QPropertyAnimation(effect, "opacity", cue);
            pulse->setDuration(6000);
            pulse->setKeyValueAt(0, 1.0);
            pulse->setKeyValueAt(0.5, 0.45);
            pulse->setKeyValueAt(1, 1.0);
            pulse->setEasingCurve(QEasingCurve::InOutSine);
            pulse->setLoopCount(-1);
            pulse->start();
        }
    }
    m_animation.setInterval(33);
    connect(&m_animation, &QTimer::timeout, this, [this] { update(ringSquare().toAlignedRect().adjusted(-4, -4, 4, 4)); });
    m_animation.start();
}

void MicroBreakContent::setCountdown(const QString& text) {
    m_countdown->setText(text);
}

void MicroBreakContent::revealSkip() {
    m_skip->setVisible(true);
    layoutChrome();
}

QRectF MicroBreakContent::ringSquare() const {
    return QRectF(m_column->mapTo(this, QPoint((m_column->width() - 300) / 2, 0)), QSizeF(300, 300));
}

void MicroBreakContent::layoutChrome() {
    m_top->adjustSize();
    m_top->move(34, 20);
    m_buttons->adjustSize();
    m_buttons->move((width() - m_buttons->width()) / 2, height() - 24 - m_buttons->height());
    m_column->adjustSize();
    const int room = std::max(0, m_buttons->y() - m_column->height());
    m_column->move((width() - m_column->width()) / 2, room / 2);
}

void MicroBreakContent::resizeEvent(QResizeEvent*) {
    m_backdrop = QtBreakChrome::backdrop(size(), devicePixelRatioF(), m_style.background,
                                         QtBreakChrome::colour(m_style.palette.gradientWash), {0.5, 0.42},
                                         {1.1, 0.97}, 0.62);
    layoutChrome();
    if (!m_risen && !m_style.reduceMotion)
        QtBreakChrome::playEntranceRise(m_column);
    m_risen = true;
    update();
}

void MicroBreakContent::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& rect : event->region())
        painter.drawPixmap(rect, m_backdrop, QRectF(QPointF(rect.topLeft()) * m_backdrop.devicePixelRatio(),
                                                    QSizeF(rect.size()) * m_backdrop.devicePixelRatio()));
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square = ringSquare();
    const QPointF centre = square.center();
    const double elapsed = double(m_clock.elapsed()) / 1000;

    // The glow breathes over 6 s, back and forth.
    double breath = 0.5;
    if (!m_style.reduceMotion)
        breath = 0.5 - 0.5 * std::cos(elapsed / 6 * std::numbers::pi);
    const double scale = 0.88 + (1.05 - 0.88) * breath;
    QRadialGradient glow(centre, 112 * scale);
    QColor glowColour = QtBreakChrome::colour(m_style.palette.glow);
    glowColour.setAlphaF(float(glowColour.alphaF() * (0.5 + 0.4 * breath) / 0.9));
    QColor clear = glowColour;
    clear.setAlphaF(0);
    glow.setColorAt(0, glowColour);
    glow.setColorAt(0.7, clear);
    glow.setColorAt(1, clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, 112 * scale, 112 * scale);

    const QRectF circle(centre - QPointF(120, 120), QSizeF(240, 240));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QtBreakChrome::colour(m_style.palette.ringTrack), 2.5));
    painter.drawEllipse(circle);
    const double fraction = MicroBreakDisplay::ringFraction(m_restSeconds - elapsed, m_restSeconds);
    QPen progress(QtBreakChrome::colour(m_style.palette.accent), 2.5);
    progress.setCapStyle(Qt::RoundCap);
    painter.setPen(progress);
    painter.drawArc(circle, 90 * 16, int(std::lround(fraction * 360 * 16)));
}

} // namespace sorvala
