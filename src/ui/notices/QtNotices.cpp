// SPDX-License-Identifier: MIT
#include "ui/notices/QtNotices.h"

#include "app/ports/BannerCenter.h"
#include "core/BreakTiming.h"
#include "core/Logger.h"
#include "core/PreferencesStore.h"
#include "ui/notices/NoticeCapsule.h"
#include "platform/x11/X11PointerMotion.h"
#include "ui/notices/ScreenDim.h"
#include "ui/wayland/WaylandWindows.h"

#include <QCursor>
#include <QGuiApplication>

#include <cmath>
#include <utility>

namespace sorvala {

namespace {

/// The overtime ticker may run this late: the badge counts whole minutes.
constexpr double overtimeTickerTolerance = 5;
constexpr double overtimeTickerInterval = 30;
constexpr double preBreakTickerInterval = 0.5;

/// Takes a capsule down. It is deleted once control is back in the event loop, since the press
/// of one of its own buttons may be what takes it down.
void retire(std::unique_ptr<NoticeCapsule>& capsule) {
    if (!capsule)
        return;
    capsule->hide();
    capsule.release()->deleteLater();
}

} // namespace

QtNotices::QtNotices(Services services)
    : m_services(std::move(services)),
      m_router({m_services.store, m_services.log, *this,
                [this](bool needsButtons) {
                    auto* banners = m_services.banners;
                    return banners && banners->isAvailable() && (!needsButtons || banners->supportsActions());
                },
                [this](const UserSignal& signal) {
                    if (m_services.banners)
                        m_services.banners->post(signal);
                },
                [this](SoundDesign::Event event) {
                    if (m_services.play)
                        m_services.play(event);
                }}) {
    m_shakeSampler.setInterval(shakeSampleMilliseconds);
    m_shakeSampler.setTimerType(Qt::CoarseTimer);
    QObject::connect(&m_shakeSampler, &QTimer::timeout, [this] { samplePointerNow(); });
}

QtNotices::~QtNotices() = default;

void QtNotices::wire(Callbacks callbacks) {
    m_callbacks = std::move(callbacks);
    m_router.setOnAwayResetStood([this] {
        if (m_callbacks.onAwayResetStood)
            m_callbacks.onAwayResetStood();
    });
}

void QtNotices::show(const UserSignal& signal) {
    m_router.show(signal);
}

void QtNotices::clear(UserSignal::Kind kind) {
    m_router.clear(kind);
}

NoticeCapsule* QtNotices::capsule(UserSignal::Kind kind) const {
    switch (kind) {
    case UserSignal::Kind::preBreak: return m_preBreak.get();
    case UserSignal::Kind::overtime: return m_overtime.get();
    case UserSignal::Kind::wellness: return m_wellness.get();
    case UserSignal::Kind::awayUndo: return m_awayUndo.get();
    case UserSignal::Kind::smartPause:
    case UserSignal::Kind::updateAvailable: return nullptr;
    }
    return nullptr;
}

void QtNotices::showPanel(const UserSignal& signal) {
    switch (signal.kind) {
    case UserSignal::Kind::preBreak: showPreBreakOverlay(); break;
    case UserSignal::Kind::overtime: showOvertimeBadge(signal.body); break;
    case UserSignal::Kind::wellness:
        if (const auto kind = WellnessNudge::kind(signal.body))
            showWellnessNudge(*kind);
        break;
    case UserSignal::Kind::awayUndo: showAwayUndo(signal.body); break;
    case UserSignal::Kind::smartPause:
    case UserSignal::Kind::updateAvailable: break;
    }
}

void QtNotices::hidePanel(UserSignal::Kind kind) {
    switch (kind) {
    case UserSignal::Kind::preBreak: hidePreBreakOverlay(); break;
    case UserSignal::Kind::overtime: hideOvertimeBadge(); break;
    case UserSignal::Kind::wellness: hideWellnessNudge(); break;
    case UserSignal::Kind::awayUndo: hideAwayUndo(); break;
    case UserSignal::Kind::smartPause:
    case UserSignal::Kind::updateAvailable: break;
    }
}

PreBreakOverlay::Position QtNotices::preBreakPosition() const {
    return UserSignal::slot(UserSignal::Kind::preBreak, m_services.store)
        .value_or(PreBreakOverlay::Position::topCenter);
}

// The pre-break countdown.

void QtNotices::showPreBreakOverlay() {
    hidePreBreakOverlay();
    const bool snoozeAllowed = m_callbacks.snoozeAllowed && m_callbacks.snoozeAllowed();
    m_preBreak = std::make_unique<NoticeCapsule>(
        Notice::preBreakCapsule(snoozeAllowed), [this](Notice::Button::Role role) {
            if (role == Notice::Button::Role::skip && m_callbacks.onSkipBreak)
                m_callbacks.onSkipBreak();
            else if (role == Notice::Button::Role::snooze && m_callbacks.onSnoozeBreak)
                m_callbacks.onSnoozeBreak();
        });
    m_dim = std::make_unique<ScreenDim>();
    if (WaylandWindows::active() && !m_dim->isLive() && !std::exchange(m_dimRefusalLogged, true))
        // Without a layer shell a Wayland client cannot lay a see-through window over the others;
        // no dim beats a black one.
        m_services.log.log("pre-break dim off on wayland: the compositor gives no see-through layer above other windows");
    m_preBreakTicker =
        m_services.timers.scheduled(preBreakTickerInterval, true, 0, [this] { refreshPreBreakOverlay(); });
    refreshPreBreakOverlay();
}

void QtNotices::refreshPreBreakOverlay() {
    if (!m_preBreak)
        return;
    const auto seconds = m_callbacks.secondsUntilBreak ? m_callbacks.secondsUntilBreak() : std::nullopt;
    if (!seconds) {
        m_router.release(UserSignal::Kind::preBreak);
        hidePreBreakOverlay();
        return;
    }
    if (m_dim)
        m_dim->setAlpha(PreBreakOverlay::dimAlpha(*seconds, BreakTiming::headsUpSeconds));
    const auto text = QString::fromStdString(PreBreakOverlay::text(std::trunc(*seconds)));
    if (m_preBreak->isVisible() && m_preBreak->body() == text)
        return;
    m_preBreak->setBody(text);
    m_preBreak->present(preBreakPosition());
}

void QtNotices::hidePreBreakOverlay() {
    m_preBreakTicker.reset();
    retire(m_preBreak);
    m_dim.reset();
}

// The overtime badge.

void QtNotices::showOvertimeBadge(const std::string& text) {
    if (m_overtime && m_shownOvertimeText == text)
        return;
    m_shownOvertimeText = text;
    auto badge = std::make_unique<NoticeCapsule>(Notice::overtimeCapsule(text), nullptr);
    badge->watchPointer([this](double x) { samplePointer(x, static_cast<double>(m_shakeClock.elapsed()) / 1000.0); });
    badge->present(PreBreakOverlay::Position::topRight);
    // The new badge is up before the old one goes, so a changing text never leaves a gap.
    auto old = std::exchange(m_overtime, std::move(badge));
    retire(old);
    if (!m_pointerMotion && !m_shakeSampler.isActive())
        watchPointer();
}

void QtNotices::hideOvertimeBadge() {
    m_shownOvertimeText.reset();
    retire(m_overtime);
    stopWatchingPointer();
}

void QtNotices::watchPointer() {
    m_shakeDetector = ShakeDetector();
    m_lastPointerX.reset();
    m_shakeClock.start();
    // The badge may show for hours: on X11 it waits for motion events and costs nothing while the
    // pointer rests. Elsewhere the pointer is looked at on a timer.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_pointerMotion = std::make_unique<X11PointerMotion>(
            [this](int x) { samplePointer(x, static_cast<double>(m_shakeClock.elapsed()) / 1000.0); });
        if (m_pointerMotion->isListening())
            return;
        m_pointerMotion.reset();
    }
    // A badge of its own layer surface hears the pointer moving over it; the rest of a Wayland
    // desktop's pointer is nowhere to be seen, so no look at it would help.
    if (m_overtime && m_overtime->isLayerSurface())
        return;
    m_shakeSampler.start(shakeSampleMilliseconds);
}

void QtNotices::stopWatchingPointer() {
    m_shakeSampler.stop();
    // A shake ends the watch from inside the watch's own event handler: it goes once that returns.
    if (m_pointerMotion)
        QTimer::singleShot(0, [gone = std::shared_ptr<X11PointerMotion>(std::move(m_pointerMotion))] {});
}

void QtNotices::samplePointerNow() {
    const int x = QCursor::pos().x();
    const double now = static_cast<double>(m_shakeClock.elapsed()) / 1000.0;
    // Asking the display server where the pointer is costs a round trip: look often only while
    // it moves.
    if (x != m_lastPointerX) {
        m_lastPointerX = x;
        m_lastPointerMoveAt = now;
        m_shakeSampler.setInterval(shakeSampleMilliseconds);
    } else if (now - m_lastPointerMoveAt > restingAfterSeconds) {
        m_shakeSampler.setInterval(restingSampleMilliseconds);
    }
    samplePointer(x, now);
}

void QtNotices::samplePointer(double x, double seconds) {
    if (!m_overtime || !m_shakeDetector.addSample(x, seconds))
        return;
    m_services.log.log("overtime badge dismissed by shake");
    if (m_callbacks.onOvertimeDismissed)
        m_callbacks.onOvertimeDismissed();
    m_router.release(UserSignal::Kind::overtime);
    hideOvertimeBadge();
}

void QtNotices::refreshOvertimeTicker() {
    m_overtimeTicker.reset();
    if (UserSignal::isEnabled(UserSignal::Kind::overtime, m_services.store))
        m_overtimeTicker = m_services.timers.scheduled(overtimeTickerInterval, true, overtimeTickerTolerance,
                                                       [this] { refreshOvertimeBadge(); });
    refreshOvertimeBadge();
}

void QtNotices::refreshOvertimeBadge() {
    const auto text = m_callbacks.overtimeText ? m_callbacks.overtimeText() : std::nullopt;
    if (!text) {
        m_router.release(UserSignal::Kind::overtime);
        hideOvertimeBadge();
        return;
    }
    show(UserSignal::overtime(*text));
}

void QtNotices::stopOvertimeTicker() {
    m_overtimeTicker.reset();
}

// The posture and blink reminders.

void QtNotices::showWellnessNudge(WellnessNudge::Kind kind) {
    m_services.log.log("wellness nudge shown kind=" + std::string(WellnessNudge::text(kind)));
    if (m_callbacks.onWellnessNudgeShown)
        m_callbacks.onWellnessNudgeShown(kind);
    hideWellnessNudge();
    m_wellness = std::make_unique<NoticeCapsule>(Notice::wellnessCapsule(kind), nullptr);
    m_wellness->present(PreBreakOverlay::Position::topCenter);
    m_wellnessHideTimer = m_services.timers.scheduled(WellnessNudge::displaySeconds, false, 0, [this] {
        m_router.release(UserSignal::Kind::wellness);
        hideWellnessNudge();
    });
}

void QtNotices::hideWellnessNudge() {
    m_wellnessHideTimer.reset();
    retire(m_wellness);
}

void QtNotices::refreshWellnessTicker() {
    m_wellnessTicker.reset();
    const auto interval = WellnessNudge::storedIntervalSeconds(m_services.store);
    if (!interval) {
        m_router.release(UserSignal::Kind::wellness);
        hideWellnessNudge();
        return;
    }
    m_wellnessTicker = m_services.timers.scheduled(*interval, true, 0, [this] { offerWellnessNudge(); });
}

void QtNotices::offerWellnessNudge() {
    const auto kind = m_callbacks.wellnessKindDue ? m_callbacks.wellnessKindDue() : std::nullopt;
    if (kind)
        show(UserSignal::wellness(WellnessNudge::message(*kind)));
}

// The away-undo toast.

void QtNotices::showAwayUndo(const std::string& body) {
    hideAwayUndo();
    m_awayUndo =
        std::make_unique<NoticeCapsule>(Notice::awayUndoToast(body), [this](Notice::Button::Role role) {
            if (role == Notice::Button::Role::undo && m_callbacks.onUndoAwayReset)
                m_callbacks.onUndoAwayReset();
        });
    m_awayUndo->present(PreBreakOverlay::Position::topCenter);
    m_awayUndoTimer =
        m_services.timers.scheduled(BreakTiming::undoToastSeconds, false, 0, [this] { awayUndoExpired(); });
}

void QtNotices::awayUndoExpired() {
    m_router.release(UserSignal::Kind::awayUndo);
    hideAwayUndo();
    if (m_callbacks.onAwayResetStood)
        m_callbacks.onAwayResetStood();
}

void QtNotices::hideAwayUndo() {
    m_awayUndoTimer.reset();
    retire(m_awayUndo);
}

} // namespace sorvala
