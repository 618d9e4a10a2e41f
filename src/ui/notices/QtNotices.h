// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/MainLoopTimer.h"
#include "app/ports/Notices.h"
#include "notices/ShakeDetector.h"
#include "notices/SignalRouter.h"
#include "notices/SoundDesign.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sorvala {

class BannerCenter;
class Logger;
class NoticeCapsule;
class PreferencesStore;
class ScreenDim;
class X11PointerMotion;

/// The notices on a Qt desktop: the pre-break countdown with the dimmed screens, the overtime
/// badge that a shake of the pointer dismisses, the posture and blink reminders, the away-undo
/// toast, and the banners of the signals that go as banners.
class QtNotices final : public Notices, private NoticePanels {
public:
    /// Everything the notices use; each must outlive them.
    struct Services {
        const PreferencesStore& store;
        Logger& log;
        MainLoopTimer& timers;
        /// The banners; none where no banner service is wanted.
        BannerCenter* banners = nullptr;
        /// Plays a chime (the application's sound player).
        std::function<void(SoundDesign::Event)> play;
    };

    /// Where pointer motion cannot be observed (no XInput 2): how often the pointer is looked at
    /// while the overtime badge shows and the pointer moves.
    static constexpr int shakeSampleMilliseconds = 20;
    /// How often it is looked at while the pointer rests: a shake is caught from its first move.
    static constexpr int restingSampleMilliseconds = 100;
    /// How long after its last move the pointer counts as resting.
    static constexpr double restingAfterSeconds = 1.0;

    explicit QtNotices(Services services);
    ~QtNotices() override;

    void wire(Callbacks callbacks) override;
    void show(const UserSignal& signal) override;
    void clear(UserSignal::Kind kind) override;
    void refreshOvertimeTicker() override;
    void refreshWellnessTicker() override;
    void stopOvertimeTicker() override;

    /// The capsule of `kind` on screen, if any.
    NoticeCapsule* capsule(UserSignal::Kind kind) const;
    /// The dim behind the countdown, while it shows.
    const ScreenDim* screenDim() const { return m_dim.get(); }
    /// Refreshes the countdown at once (its ticker does this every half second).
    void refreshPreBreakOverlay();
    /// Feeds one pointer position to the shake detector, as the badge's motion watch does.
    void samplePointer(double x, double seconds);
    /// Whether the pointer is looked at on a timer (no motion events to wait for).
    bool pollsPointer() const { return m_shakeSampler.isActive(); }
    /// Whether the badge waits for pointer motion events.
    bool watchesPointerMotion() const { return m_pointerMotion != nullptr; }

private:
    void showPanel(const UserSignal& signal) override;
    void hidePanel(UserSignal::Kind kind) override;

    void showPreBreakOverlay();
    void hidePreBreakOverlay();
    void showOvertimeBadge(const std::string& text);
    void hideOvertimeBadge();
    void refreshOvertimeBadge();
    void showWellnessNudge(WellnessNudge::Kind kind);
    void hideWellnessNudge();
    void offerWellnessNudge();
    void showAwayUndo(const std::string& body);
    void hideAwayUndo();
    void awayUndoExpired();
    void samplePointerNow();
    void watchPointer();
    void stopWatchingPointer();
    PreBreakOverlay::Position preBreakPosition() const;

    Services m_services;
    Callbacks m_callbacks;
    SignalRouter m_router;

    std::unique_ptr<NoticeCapsule> m_preBreak;
    std::unique_ptr<ScreenDim> m_dim;
    bool m_dimRefusalLogged = false;
    TimerField m_preBreakTicker;

    std::unique_ptr<NoticeCapsule> m_overtime;
    std::optional<std::string> m_shownOvertimeText;
    TimerField m_overtimeTicker;
    std::unique_ptr<X11PointerMotion> m_pointerMotion;
    QTimer m_shakeSampler;
    QElapsedTimer m_shakeClock;
    ShakeDetector m_shakeDetector;
    std::optional<int> m_lastPointerX;
    double m_lastPointerMoveAt = 0;

    std::unique_ptr<NoticeCapsule> m_wellness;
    TimerField m_wellnessTicker;
    TimerField m_wellnessHideTimer;

    std::unique_ptr<NoticeCapsule> m_awayUndo;
    TimerField m_awayUndoTimer;
};

} // namespace sorvala
