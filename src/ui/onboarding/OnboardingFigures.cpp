// SPDX-License-Identifier: MIT
#include "ui/onboarding/OnboardingFigures.h"

#include "i18n/QtI18n.h"
#include "ui/breakscreen/QtBreakChrome.h"
#include "ui/style/QtDesignTokens.h"

#include <QFontDatabase>
#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTime>

namespace sorvala {

namespace {

constexpr double trackInset = 40;

QColor accent(double alpha = 1) {
    QColor colour = QtDesignTokens::colour(DesignTokens::chartAccent);
    colour.setAlphaF(float(alpha));
    return colour;
}

QFont pixelFont(const QFont& base, double pixels, bool monospacedDigits = false) {
    QFont font = monospacedDigits ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : base;
    font.setPixelSize(int(pixels + 0.5));
    return font;
}

QColor secondaryText(const QWidget& widget) {
    return widget.palette().color(QPalette::PlaceholderText);
}

} // namespace

QWidget* OnboardingFigures::view(const OnboardingFlow::Figure& figure, PreferencesStore& store,
                                 QWidget* parent) {
    QWidget* widget = std::visit(
        [&](const auto& f) -> QWidget* {
            using F = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<F, OnboardingFlow::RhythmStrip>)
                return new OnboardingRhythmView(f, parent);
            else if constexpr (std::is_same_v<F, OnboardingFlow::WaitingStrip>)
                return new OnboardingWaitingView(f.labels, parent);
            else if constexpr (std::is_same_v<F, OnboardingFlow::LiveDrawing>)
                return new OnboardingDrawingView(store, parent);
            else
                return new OnboardingMenuBarView(parent);
        },
        figure);
    widget->setFixedHeight(height);
    return widget;
}

// MARK: Rhythm

OnboardingRhythmView::OnboardingRhythmView(OnboardingFlow::RhythmStrip strip, QWidget* parent)
    : QWidget(parent), m_strip(strip) {}

void OnboardingRhythmView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double left = trackInset;
    const double width = std::max(1.0, this->width() - 2 * trackInset);
    const double y = height() * 0.56;
    const int span = std::max(1, m_strip.spanMinutes);
    const auto xOf = [&](int minute) { return left + width * minute / span; };

    p.setPen(QPen(QtDesignTokens::colour(DesignTokens::emptyBar, *this), 1));
    p.drawLine(QPointF(left, y), QPointF(left + width, y));

    // Micro-break ticks.
    p.setPen(QPen(QtDesignTokens::colour(DesignTokens::todayRing, *this), 1.5));
    for (int minute : OnboardingFlow::tickMinutes(m_strip.everyMinutes, span))
        p.drawLine(QPointF(xOf(minute), y - 5), QPointF(xOf(minute), y + 5));

    // The long break: an accent mark at every multiple of its interval; none to draw when the
    // interval is 0, since the long break then has no rhythm of its own to show.
    if (m_strip.sorvalaEveryMinutes >= 1) {
        p.setPen(Qt::NoPen);
        p.setBrush(accent(0.9));
        for (long long minute = m_strip.sorvalaEveryMinutes; minute <= span;
             minute += m_strip.sorvalaEveryMinutes)
            p.drawRoundedRect(QRectF(xOf(int(minute)) - 3, y - 14, 6, 28), 3, 3);
    }

    const QFont captionFont = pixelFont(font(), 10.5);
    p.setFont(captionFont);
    p.setPen(secondaryText(*this));
    const QString caption = qi18n("minutes of work");
    const double captionWidth = QFontMetricsF(captionFont).horizontalAdvance(caption);
    p.drawText(QPointF(left, y + 24), caption);

    const QFont digits = pixelFont(font(), 10.5, true);
    p.setFont(digits);
    const QFontMetricsF metrics(digits);
    for (int minute : OnboardingFlow::labelledMinutes(m_strip.everyMinutes, span, width, captionWidth + 4)) {
        const QString label = QString::number(minute);
        p.drawText(QPointF(xOf(minute) - metrics.horizontalAdvance(label) / 2, y + 24), label);
    }
    const QString end = QString::number(span);
    p.drawText(QPointF(left + width - metrics.horizontalAdvance(end) / 2, y + 24), end);

    p.setFont(pixelFont(font(), 11));
    p.setPen(accent());
    const QString sorvala = qi18n("the sorvala");
    p.drawText(QPointF(left + width - QFontMetricsF(p.font()).horizontalAdvance(sorvala) - 8, y - 22),
               sorvala);
}

// MARK: Waiting

OnboardingWaitingView::OnboardingWaitingView(std::vector<std::string> labels, QWidget* parent)
    : QWidget(parent), m_labels(std::move(labels)) {}

void OnboardingWaitingView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double left = trackInset;
    const double right = width() - trackInset;
    const double y = height() * 0.45;
    const double busyEnd = left + (right - left) * 0.55;
    const double dotX = left + (right - left) * 0.78;

    p.setPen(QPen(QtDesignTokens::colour(DesignTokens::emptyBar, *this), 1));
    p.drawLine(QPointF(left, y), QPointF(right, y));

    p.setPen(Qt::NoPen);
    p.setBrush(QtDesignTokens::colour(DesignTokens::emptyBar, *this));
    p.drawRoundedRect(
        QRectF(left + (right - left) * 0.12, y - 13, busyEnd - left - (right - left) * 0.12, 26), 6, 6);
    p.setPen(secondaryText(*this));
    p.setFont(pixelFont(font(), 11));
    p.drawText(QRectF(left + (right - left) * 0.12, y - 13, busyEnd - left - (right - left) * 0.12, 26),
               Qt::AlignCenter, qi18n("busy"));

    QPen dashed(accent(0.9), 1.5, Qt::DashLine);
    p.setPen(dashed);
    p.drawLine(QPointF(busyEnd, y), QPointF(dotX, y));
    p.setPen(Qt::NoPen);
    p.setBrush(accent());
    p.drawEllipse(QPointF(dotX, y), 6, 6);
    p.setPen(accent());
    const QString starts = qi18n("break starts");
    const double startsWidth = std::max(120.0, QFontMetricsF(p.font()).horizontalAdvance(starts) + 4);
    p.drawText(QRectF(dotX - startsWidth / 2, y + 12, startsWidth, 18), Qt::AlignHCenter | Qt::AlignTop, starts);

    if (!m_labels.empty()) {
        QString causes;
        for (std::size_t i = 0; i < m_labels.size(); ++i)
            causes += (i ? QStringLiteral(" · ") : QString()) + QString::fromStdString(m_labels[i]);
        // TRANSLATORS: %1 lists what else holds a break back ("a call · a screen share").
        const QString line = qi18n("also holds for: %1", causes);
        p.setFont(pixelFont(font(), 10.5));
        p.setPen(secondaryText(*this));
        p.drawText(QRectF(left, height() - 44, right - left, 20), Qt::AlignHCenter | Qt::AlignVCenter, line);
    }
}

// MARK: Panel

OnboardingMenuBarView::OnboardingMenuBarView(QWidget* parent) : QWidget(parent) {}

void OnboardingMenuBarView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF bar(trackInset, height() * 0.3, width() - 2 * trackInset, 30);
    p.setPen(QPen(QtDesignTokens::colour(DesignTokens::cardBorder, *this), 1));
    p.setBrush(QtDesignTokens::colour(DesignTokens::tileFill, *this));
    p.drawRoundedRect(bar, 7, 7);

    const QFont digits = pixelFont(font(), 11, true);
    const QFont text = pixelFont(font(), 11);
    // A Friday morning's panel clock, in the user's own way of writing it.
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    timeFormat.remove(QStringLiteral(":ss"));
    const QString clock = locale.dayName(5, QLocale::ShortFormat) + QLatin1Char(' ') +
                          locale.toString(QTime(9, 41), timeFormat);
    const QString countdown = QStringLiteral("18:24");
    const double clockWidth = QFontMetricsF(text).horizontalAdvance(clock);
    const double countdownWidth = QFontMetricsF(digits).horizontalAdvance(countdown);
    const double clockX = bar.right() - 12 - clockWidth;
    const double countdownX = clockX - 18 - countdownWidth;
    const double markX = countdownX - 8 - 13;
    const double baseline = bar.center().y() + 4;

    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(text);
    p.drawText(QPointF(clockX, baseline), clock);
    p.setFont(digits);
    p.drawText(QPointF(countdownX, baseline), countdown);

    // Our mark: a ring with one stroke drawn into it.
    const QRectF mark(markX, bar.center().y() - 6.5, 13, 13);
    p.setPen(QPen(accent(), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(mark);
    QPainterPath stroke;
    stroke.moveTo(mark.left() + 3, mark.center().y() + 2);
    stroke.cubicTo(mark.left() + 5, mark.top() + 2, mark.right() - 5, mark.bottom() - 2, mark.right() - 3,
                   mark.center().y() - 2);
    p.drawPath(stroke);

    // The caption points at the countdown.
    const double arrowX = countdownX + countdownWidth / 2;
    p.setPen(QPen(secondaryText(*this), 1));
    p.drawLine(QPointF(arrowX, bar.bottom() + 6), QPointF(arrowX, bar.bottom() + 30));
    p.drawLine(QPointF(arrowX, bar.bottom() + 6), QPointF(arrowX - 4, bar.bottom() + 11));
    p.drawLine(QPointF(arrowX, bar.bottom() + 6), QPointF(arrowX + 4, bar.bottom() + 11));
    p.setFont(pixelFont(font(), 10.5));
    const QString caption = qi18n("time to your next break");
    const double captionWidth = QFontMetricsF(p.font()).horizontalAdvance(caption);
    p.drawText(QPointF(std::min(arrowX - captionWidth / 2, bar.right() - captionWidth), bar.bottom() + 46),
               caption);
}

// MARK: Live drawing

namespace {

ProgressiveRenderer::Environment drawingEnvironment() {
    ProgressiveRenderer::Environment environment;
    environment.profiling = false;
    return environment;
}

} // namespace

OnboardingDrawingView::OnboardingDrawingView(PreferencesStore& store, QWidget* parent)
    : QWidget(parent), m_view(store, 0, drawingEnvironment()) {
    m_clock.start();
    m_view.logic().drawingOverride = 4;
    m_view.logic().speedOverride = 22;
    m_frames.setInterval(16);
    QObject::connect(&m_frames, &QTimer::timeout, this, [this] { frame(); });
}

QRect OnboardingDrawingView::square() const {
    const int side = std::min(width(), height());
    return QRect((width() - side) / 2, (height() - side) / 2, side, side);
}

double OnboardingDrawingView::mediaNow() const {
    return static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
}

void OnboardingDrawingView::stop() {
    m_frames.stop();
}

void OnboardingDrawingView::showEvent(QShowEvent* event) {
    m_view.setGeometry(QSizeF(square().size()), devicePixelRatioF());
    m_view.setSystemDark(QtDesignTokens::appearanceOf(*this) == DesignTokens::Appearance::dark);
    m_view.startAnimation();
    if (QtBreakChrome::reduceMotion())
        finishAtOnce();
    else
        m_frames.start();
    QWidget::showEvent(event);
}

// Without motion the picture appears whole: the pen's frames run ahead in one go, unseen.
void OnboardingDrawingView::finishAtOnce() {
    constexpr double step = 0.25;
    constexpr int mostFrames = 4000;
    double now = mediaNow();
    for (int i = 0; i < mostFrames && !m_view.isDrawingComplete(); ++i)
        m_view.animateOneFrame(now += step);
    update();
}

void OnboardingDrawingView::hideEvent(QHideEvent* event) {
    stop();
    QWidget::hideEvent(event);
}

void OnboardingDrawingView::resizeEvent(QResizeEvent* event) {
    m_view.setGeometry(QSizeF(square().size()), devicePixelRatioF());
    QWidget::resizeEvent(event);
}

void OnboardingDrawingView::frame() {
    if (m_view.isDrawingComplete()) {
        stop();
        return;
    }
    const QRegion changed = m_view.animateOneFrame(mediaNow());
    if (!changed.isEmpty())
        update(changed.translated(square().topLeft()));
}

void OnboardingDrawingView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect area = square();
    p.translate(area.topLeft());
    m_view.paint(p, event->region().translated(-area.topLeft()).intersected(QRect(QPoint(), area.size())));
}

} // namespace sorvala
