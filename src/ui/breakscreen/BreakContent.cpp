// SPDX-License-Identifier: MIT
#include "ui/breakscreen/BreakContent.h"

#include "breakscreen/LongBreakLayout.h"
#include "breakscreen/MicroBreakPrompts.h"
#include "i18n/QtI18n.h"
#include "ui/access/AccessibleRole.h"
#include "ui/breakscreen/QtBreakChrome.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadialGradient>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sorvala {

namespace {

constexpr int controlsHideMilliseconds = 3000;
constexpr int controlsFadeMilliseconds = 400;
constexpr double breathSeconds = 7;
constexpr double breathSmallest = 0.99;
constexpr double breathLargest = 1.005;
constexpr double breathFaintest = 0.85;
// The breath moves the drawing by a fraction of a pixel per frame, too little to repaint all of
// it every frame on a large screen: one band is repainted per frame, and neighbouring bands differ
// by less than a pixel and an opacity step.
constexpr int breathBands = 8;
// The drawing is composed in strips this many pixels tall, so a full repaint never holds a copy
// of the whole drawing.
constexpr int stripPixels = 128;

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

QtBreakChrome::Wash longWash(const BreakContentStyle& style) {
    return {style.background, QtBreakChrome::colour(style.palette.gradientWash), {0.5, 0.45}, {1.1, -0.05}, 0.63};
}

QtBreakChrome::Wash microWash(const BreakContentStyle& style) {
    return {style.background, QtBreakChrome::colour(style.palette.gradientWash), {0.5, 0.42}, {1.1, -0.03}, 0.62};
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
    m_kicker = label(qi18n("LONG BREAK"), monospaced(10), colour(p.topKicker), 2.6, this);
    m_headline = label(qi18n("Breathe and stretch while the sorvala draws"), systemFont(32, QFont::Light),
                       withAlpha(colour(p.text), 0.55), 0, this);
    m_headline->setWordWrap(true);

    m_skip = pillButton(qi18nc("long break button", "Skip"), p, nullptr);
    m_skip->setVisible(content.skipVisible);
    // TRANSLATORS: a button that lengthens the break by %1 minutes; keep it short.
    auto* extend = pillButton(qi18np("%1 more min", "%1 more min", 5), p, nullptr);
    auto* row = new QWidget;
    row->setAttribute(Qt::WA_TranslucentBackground);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(10);
    rowLayout->addWidget(m_skip);
    rowLayout->addWidget(extend);
    auto* hint = label(qi18n("controls hide when the mouse is still"), monospaced(10), colour(p.escapeHint),
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
    connect(&m_controlsHide, &QTimer::timeout, this, [this] {
        if (!controlsHaveFocus())
            setControlsVisible(false);
    });
    m_controlsHide.start();
    setUpAccessibility();

    m_frames.setTimerType(Qt::PreciseTimer);
    connect(&m_frames, &QTimer::timeout, this, [this] { advanceFrame(mediaNow()); });
    m_frames.start(frameInterval(screen()));
}

LongBreakContent::~LongBreakContent() = default;

void LongBreakContent::setUpAccessibility() {
    setAccessibleName(qi18n("Long break"));
    // TRANSLATORS: read by screen readers for the drawing that fills the long break's screen.
    setAccessibleDescription(qi18n("A drawing appears stroke by stroke while you rest."));
    // A control reached with Tab shows the controls and keeps them up while it has the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && m_controls->isAncestorOf(now))
            pointerMoved();
    });
}

bool LongBreakContent::controlsHaveFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && m_controls->isAncestorOf(focus);
}

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
    const QPointF centre = m_drawingFrame.center();
    const QSizeF largest = m_drawingFrame.size() * breathLargest;
    m_breathBounds = QRectF(centre - QPointF(largest.width(), largest.height()) / 2, largest)
                         .toAlignedRect()
                         .adjusted(-1, -1, 1, 1);
}

void LongBreakContent::resizeEvent(QResizeEvent*) {
    layoutChrome();
    // The entrance starts from where the first layout puts the chrome.
    if (!m_risen && !m_style.reduceMotion) {
        for (auto* view : {static_cast<QWidget*>(m_headline), static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_kicker)})
            QtBreakChrome::playEntranceRise(view);
    }
    m_risen = true;
    update();
}

QTransform LongBreakContent::drawingToWidget() const {
    const QPointF centre = m_drawingFrame.center();
    return QTransform::fromTranslate(centre.x(), centre.y())
        .scale(m_breath.scale, m_breath.scale)
        .translate(m_drawingFrame.left() - centre.x(), m_drawingFrame.top() - centre.y());
}

QRect LongBreakContent::onWidget(const QRegion& inDrawing) const {
    // A pixel more each side: the pixels left by the previous frame's breath are covered too.
    return drawingToWidget().mapRect(QRectF(inDrawing.boundingRect())).toAlignedRect().adjusted(-2, -2, 2, 2);
}

QImage LongBreakContent::drawingPixels(const QRect& inDrawing) const {
    const qreal ratio = devicePixelRatioF();
    QImage pixels(QRectF(QPointF(0, 0), QSizeF(inDrawing.size()) * ratio).toAlignedRect().size(),
                  QImage::Format_ARGB32_Premultiplied);
    if (pixels.isNull())
        return pixels;
    pixels.setDevicePixelRatio(ratio);
    pixels.fill(Qt::transparent);
    QPainter painter(&pixels);
    painter.translate(-inDrawing.topLeft());
    m_view->paint(painter, inDrawing);
    return pixels;
}

void LongBreakContent::advanceFrame(double now) {
    if (m_drawingFrame.isEmpty())
        return;
    // The break ends on the finished drawing: the renderer is not asked for its hold, fade and
    // next drawing, so the drawing stays complete (and saved as it is) while the break lingers.
    const QRegion changed = m_view->isDrawingComplete() ? QRegion() : m_view->animateOneFrame(now);
    if (!m_style.reduceMotion) {
        // Scale 0.99 to 1.005 and opacity 0.85 to 1 over 7 s, eased, and back.
        const double t = 0.5 - 0.5 * std::cos(now / breathSeconds * std::numbers::pi);
        m_breath.opacity = breathFaintest + (1 - breathFaintest) * t;
        m_breath.scale = breathSmallest + (breathLargest - breathSmallest) * t;
    }
    if (!changed.isEmpty()) {
        for (const QRect& rect : changed)
            update(onWidget(rect));
    }
    if (!m_style.reduceMotion) {
        const int band = m_band++ % breathBands;
        const int top = m_breathBounds.top() + m_breathBounds.height() * band / breathBands;
        const int bottom = m_breathBounds.top() + m_breathBounds.height() * (band + 1) / breathBands;
        update(QRect(m_breathBounds.left(), top, m_breathBounds.width(), bottom - top));
    }
}

void LongBreakContent::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const auto wash = longWash(m_style);
    for (const QRect& rect : event->region())
        QtBreakChrome::paintBackdrop(painter, size(), rect, wash);
    if (m_drawingFrame.isEmpty())
        return;
    painter.setOpacity(m_breath.opacity);
    if (m_breath.scale != 1)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int strip = std::max(1, int(stripPixels / devicePixelRatioF()));
    for (const QRect& rect : event->region() & m_breathBounds)
        for (int top = rect.top(); top <= rect.bottom(); top += strip)
            paintDrawing(painter, QRect(rect.left(), top, rect.width(), std::min(strip, rect.bottom() + 1 - top)));
}

void LongBreakContent::paintDrawing(QPainter& painter, const QRect& rect) const {
    const QRect whole(QPoint(0, 0), m_drawingFrame.size().toSize());
    const QTransform toWidget = drawingToWidget();
    // Only the drawing's pixels under this rectangle are read. The clip is in the content's
    // coordinates, so it is set before the breath's transform.
    const QRectF source = m_breath.scale == 1
                              ? QRectF(rect.translated(-m_drawingFrame.topLeft().toPoint()) & whole)
                              : toWidget.inverted().mapRect(QRectF(rect)).adjusted(-1, -1, 1, 1) & QRectF(whole);
    const QRect inDrawing = source.toAlignedRect() & whole;
    if (inDrawing.isEmpty())
        return;
    // Away from the live pen, at full ink opacity, the drawing is its ink as it is: it is read in
    // place. Under the pen, the ink and the pen are composed first, for this rectangle only.
    const bool inkAlone = m_view->logic().inkOpacity() == 1 && !m_view->lastChangedRegion().intersects(inDrawing);
    const QImage pixels = inkAlone ? m_view->inkImage() : drawingPixels(inDrawing);
    if (pixels.isNull())
        return;
    const QPointF origin = inkAlone ? QPointF(0, 0) : QPointF(inDrawing.topLeft());
    const qreal ratio = pixels.devicePixelRatio();
    const QRectF from((source.topLeft() - origin) * ratio, source.size() * ratio);
    if (m_breath.scale == 1) {
        painter.drawImage(source.translated(m_drawingFrame.topLeft()), pixels, from);
        return;
    }
    painter.save();
    painter.setClipRect(rect);
    painter.setTransform(toWidget);
    painter.drawImage(source, pixels, from);
    painter.restore();
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
                   label(qi18n("MICRO BREAK"), monospaced(10), colour(p.topKicker), 2.6, nullptr)},
                  2, Qt::AlignLeft);

    m_countdown = label(QString::fromStdString(MicroBreakDisplay::countdownText(content.restSeconds)), monospaced(46),
                        colour(p.text), 0, nullptr);
    m_seconds = label(qi18n("SECONDS OF REST"), monospaced(9.5), colour(p.seconds), 2.66, nullptr);
    m_ring = new QWidget(this);
    m_ring->setAttribute(Qt::WA_TranslucentBackground);
    auto* ringStack = new QVBoxLayout(m_ring);
    ringStack->setContentsMargins(0, 0, 0, 0);
    ringStack->setSpacing(5);
    ringStack->addStretch();
    ringStack->addWidget(m_countdown, 0, Qt::AlignHCenter);
    ringStack->addWidget(m_seconds, 0, Qt::AlignHCenter);
    ringStack->addStretch();

    // The column is placed by hand: its pieces shrink together on a small screen (fitColumn).
    m_column = new QWidget(this);
    m_column->setAttribute(Qt::WA_TranslucentBackground);
    m_ring->setParent(m_column);
    m_prompt = label(QString::fromStdString(content.prompt.prompt), systemFont(40, QFont::Light), colour(p.text), 0,
                     m_column);
    m_subtitle = label(QString::fromStdString(content.prompt.subtitle), systemFont(15), colour(p.subtitle), 0, m_column);
    m_subtitle->setWordWrap(true);
    if (content.prompt.cue)
        m_cue = label(QString::fromStdString(*content.prompt.cue), monospaced(11.5), colour(p.accent), 2.76, m_column);

    m_skip = pillButton(qi18n("Skip this break"), p, nullptr);
    m_skip->setVisible(content.skipVisible);
    connect(m_skip, &QPushButton::clicked, this, [skip = actions.skip] { if (skip) skip(); });
    QLabel* hint = nullptr;
    if (content.escapeHintVisible)
        hint = label(qi18n("or press esc twice"), monospaced(10.5), colour(p.escapeHint), 1.05, nullptr);
    m_buttons = stack(this, {m_skip, hint}, 11, Qt::AlignHCenter);

    if (!style.reduceMotion) {
        if (m_cue) {
            auto* effect = new QGraphicsOpacityEffect(m_cue);
            m_cue->setGraphicsEffect(effect);
            auto* pulse = new QPropertyAnimation(effect, "opacity", m_cue);
            pulse->setDuration(6000);
            pulse->setKeyValueAt(0, 1.0);
            pulse->setKeyValueAt(0.5, 0.45);
            pulse->setKeyValueAt(1, 1.0);
            pulse->setEasingCurve(QEasingCurve::InOutSine);
            pulse->setLoopCount(-1);
            pulse->start();
        }
    }
    setUpAccessibility();
    m_animation.setInterval(33);
    connect(&m_animation, &QTimer::timeout, this, [this] { update(ringSquare().toAlignedRect().adjusted(-4, -4, 4, 4)); });
    m_animation.start();
}

void MicroBreakContent::setCountdown(const QString& text) {
    m_countdown->setText(text);
    // The text is minutes and seconds ("0:17"); a screen reader hears the seconds as a sentence.
    const auto parts = text.split(QLatin1Char(':'));
    if (parts.size() == 2)
        AccessibleRole::rename(*m_ring, ringName(parts[0].toInt() * 60 + parts[1].toInt()));
}

QString MicroBreakContent::ringName(int secondsLeft) {
    // TRANSLATORS: a screen reader's words for the ring that winds down during a micro break.
    return qi18np("%1 second of rest left", "%1 seconds of rest left", secondsLeft);
}

void MicroBreakContent::setUpAccessibility() {
    setAccessibleName(qi18n("Micro break"));
    AccessibleRole::set(*m_ring, QAccessible::ProgressBar);
    AccessibleRole::rename(*m_ring, ringName(m_restSeconds));
}

void MicroBreakContent::revealSkip() {
    m_skip->setVisible(true);
    layoutChrome();
}

QRectF MicroBreakContent::ringSquare() const {
    return QRectF(m_ring->mapTo(this, QPoint(0, 0)), QSizeF(m_ring->size()));
}

void MicroBreakContent::fitColumn(double fit, int width, bool withSubtitle, bool withCue) {
    using namespace QtBreakChrome;
    const auto points = [fit](double full) { return std::round(full * fit * 2) / 2; };
    const auto scaled = [fit](int full) { return int(std::lround(full * fit)); };
    const int ring = scaled(300);
    m_ring->setFixedSize(ring, ring);
    m_countdown->setFont(monospaced(points(46)));
    // The caption stays inside the circle, which is narrower than it below about five sixths of the size.
    const double caption = std::min(1.0, fit / 0.85);
    QFont seconds = monospaced(std::round(9.5 * caption * 2) / 2);
    seconds.setLetterSpacing(QFont::AbsoluteSpacing, 2.66 * caption);
    m_seconds->setFont(seconds);
    // A longer caption (another language's) gets smaller until it fits the circle's chord.
    while (m_seconds->sizeHint().width() > ring * 0.6 && seconds.pointSizeF() > 5) {
        seconds.setPointSizeF(seconds.pointSizeF() - 0.5);
        seconds.setLetterSpacing(QFont::AbsoluteSpacing, seconds.letterSpacing() * 0.9);
        m_seconds->setFont(seconds);
    }
    m_ring->layout()->setSpacing(scaled(5));
    m_ring->layout()->activate();

    // Each tip fits on one line at full size; on a narrow screen the title wraps.
    width = std::max(width, 1);
    m_prompt->setFont(systemFont(points(40), QFont::Light));
    m_prompt->setWordWrap(false);
    QSize prompt = m_prompt->sizeHint();
    if (prompt.width() > width) {
        m_prompt->setWordWrap(true);
        prompt = QSize(width, m_prompt->heightForWidth(width));
    }
    const int textWidth = std::min(width, 420);
    const QSize subtitle(textWidth, m_subtitle->heightForWidth(textWidth));
    const QSize cue = m_cue ? m_cue->sizeHint() : QSize();
    m_subtitle->setVisible(withSubtitle);
    if (m_cue)
        m_cue->setVisible(withCue);

    const int columnWidth = std::max({ring, prompt.width(), withSubtitle ? subtitle.width() : 0, withCue ? cue.width() : 0});
    const auto centred = [columnWidth](QWidget* widget, QSize size, int y) {
        widget->setGeometry((columnWidth - size.width()) / 2, y, size.width(), size.height());
        return y + size.height();
    };
    int y = centred(m_ring, {ring, ring}, 0) + scaled(46);
    y = centred(m_prompt, prompt, y);
    if (withSubtitle)
        y = centred(m_subtitle, subtitle, y + scaled(18));
    if (m_cue && withCue)
        y = centred(m_cue, cue, y + scaled(withSubtitle ? 22 : 18));
    m_column->resize(columnWidth, y);
}

void MicroBreakContent::layoutChrome() {
    constexpr int side = 24;
    constexpr int gap = 12;
    m_top->adjustSize();
    m_top->move(34, 20);
    m_buttons->adjustSize();
    m_buttons->move((width() - m_buttons->width()) / 2, height() - 24 - m_buttons->height());
    // The column keeps clear of the name above and the buttons below: on a small screen it shrinks,
    // then leaves out the subtitle, then the cue.
    const int top = m_top->y() + m_top->height() + gap;
    const int bottom = m_buttons->y() - gap;
    const int columnWidth = std::max(0, width() - 2 * side);
    const bool cue = m_cue != nullptr;
    const std::pair<bool, bool> shown[] = {{true, cue}, {false, cue}, {false, false}};
    bool fits = false;
    for (const auto& [withSubtitle, withCue] : shown) {
        for (int step = 0; step <= 12 && !fits; ++step) {
            fitColumn(1.0 - 0.05 * step, columnWidth, withSubtitle, withCue);
            fits = m_column->height() <= bottom - top && m_column->width() <= std::max(columnWidth, 1);
        }
        if (fits)
            break;
    }
    const int centred = (m_buttons->y() - m_column->height()) / 2;
    m_column->move((width() - m_column->width()) / 2, std::max(centred, top));
}

void MicroBreakContent::resizeEvent(QResizeEvent*) {
    layoutChrome();
    if (!m_risen && !m_style.reduceMotion)
        QtBreakChrome::playEntranceRise(m_column);
    m_risen = true;
    update();
}

void MicroBreakContent::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const auto wash = microWash(m_style);
    for (const QRect& rect : event->region())
        QtBreakChrome::paintBackdrop(painter, size(), rect, wash);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square = ringSquare();
    const QPointF centre = square.center();
    const double elapsed = double(m_clock.elapsed()) / 1000;

    // The glow breathes over 6 s, back and forth.
    double breath = 0.5;
    if (!m_style.reduceMotion)
        breath = 0.5 - 0.5 * std::cos(elapsed / 6 * std::numbers::pi);
    const double scale = 0.88 + (1.05 - 0.88) * breath;
    const double glowRadius = 112 * square.width() / 300 * scale;
    QRadialGradient glow(centre, glowRadius);
    QColor glowColour = QtBreakChrome::colour(m_style.palette.glow);
    glowColour.setAlphaF(float(glowColour.alphaF() * MicroBreakDisplay::glowOpacity(breath)));
    QColor clear = glowColour;
    clear.setAlphaF(0);
    glow.setColorAt(0, glowColour);
    glow.setColorAt(0.7, clear);
    glow.setColorAt(1, clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, glowRadius, glowRadius);

    const double radius = 120 * square.width() / 300;
    const QRectF circle(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QtBreakChrome::colour(m_style.palette.ringTrack), 2.5));
    painter.drawEllipse(circle);
    const double fraction = MicroBreakDisplay::ringFraction(m_restSeconds - elapsed, m_restSeconds);
    QPen progress(QtBreakChrome::colour(m_style.palette.accent), 2.5);
    progress.setCapStyle(Qt::RoundCap);
    painter.setPen(progress);
    // From the top, clockwise (a negative span in Qt's angles): the ring empties back towards the top.
    painter.drawArc(circle, 90 * 16, -int(std::lround(fraction * 360 * 16)));
}

} // namespace sorvala
