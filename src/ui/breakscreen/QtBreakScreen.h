// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/BreakScreen.h"
#include "breakscreen/BreakScreenLifecycle.h"
#include "breakscreen/BreakWindows.h"
#include "ui/wayland/WaylandBreakHold.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QScreen;
class QWindow;

namespace sorvala {

class LongBreakContent;
class MicroBreakContent;
class PreferencesStore;
class SorvalaSaverView;

/// A borderless window that covers one screen for a break and takes its keys.
class BreakWindow final : public QWidget {
public:
    BreakWindow(QScreen* screen, const QColor& background);
    /// Called for every key pressed while a break is up; every key is swallowed.
    std::function<void(QKeyEvent*)> onKey;
    /// Called when the mouse moves over the window or its content.
    std::function<void()> onPointer;
    QScreen* coveredScreen() const { return m_screen; }
    /// Fits the window to its screen again.
    void fitToScreen();
    /// Sends what was asked of the window so far to the display server at once.
    void sendToServer();
    /// Content is placed on the window: from now on it paints itself like any widget.
    void holdContent();

protected:
    QPaintEngine* paintEngine() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    /// Has the X server fill the window with `background`; false when it cannot.
    bool fillByServer(const QColor& background);

    QPointer<QScreen> m_screen;
    /// Without content on X11 the server fills the window with its background colour, so the
    /// window keeps no screen-sized image of its own.
    bool m_filledByServer = false;
};

/// The break windows on Qt: one `BreakWindow` per `QScreen`, above everything (bypassing the
/// window manager on X11, full screen on Wayland), fades, and the content on the main screen.
class QtBreakWindows final : public QObject, public BreakWindows {
public:
    /// Hands a finished drawing to the gallery with its device-pixel ratio.
    using SaveFinishedDrawing = std::function<void(const SorvalaSaverView& view, qreal devicePixelRatio)>;

    QtBreakWindows(PreferencesStore& store, Logger& log, SaveFinishedDrawing saveFinishedDrawing);
    ~QtBreakWindows() override;

    /// The user's actions, forwarded from the windows and the content.
    std::function<void()> onEscape;
    std::function<void()> onSkip;
    std::function<void()> onExtend;
    /// Any other key: our own global shortcuts, which the keyboard grab keeps from firing.
    std::function<void(const QKeyEvent&)> onOtherKey;

    std::vector<Display> displays() override;
    void cover(const std::string& display, bool opaque) override;
    void showMicroContent(const std::string& display, const MicroContent& content) override;
    void showLongContent(const std::string& display, const LongContent& content) override;
    void moveContent(const std::string& display) override;
    void screenLockRequested() override;
    void fadeIn() override;
    void setCountdown(const std::string& text) override;
    void revealSkip() override;
    void refit() override;
    void release(const std::string& display) override;
    std::optional<bool> drawingComplete() override;
    void saveFinishedDrawing() override;
    void fadeOut(double seconds, std::function<void()> done) override;
    void releaseAll() override;

private:
    struct Covering {
        std::string display;
        std::unique_ptr<BreakWindow> window;
    };
    static std::string displayId(const QScreen* screen);
    QScreen* screenOf(const std::string& display) const;
    BreakWindow* windowOf(const std::string& display) const;
    void prepareBreakLook();
    void place(QWidget* content, BreakWindow* window);
    QWindow* grabWindow() const;
    void regrab();
    void grabInput();
    void grabInputX11();
    void setOpacity(qreal opacity);

    PreferencesStore& m_store;
    Logger& m_log;
    SaveFinishedDrawing m_saveFinishedDrawing;
    std::vector<Covering> m_windows;
    std::vector<std::unique_ptr<BreakWindow>> m_fading;
    QPointer<LongBreakContent> m_long;
    QPointer<MicroBreakContent> m_micro;
    QColor m_background;
    bool m_isDark = false;
    bool m_reduceMotion = false;
    bool m_lookPrepared = false;
    QVariantAnimation m_fade;
    QTimer m_grabRetry;
    int m_grabAttempts = 0;
    WaylandBreakHold m_waylandHold;
    /// Until when the grabs leave the keyboard to a lock screen asked for at the break's start.
    QDeadlineTimer m_lockSettle;
};

/// The production break screen: the break's rules over Qt windows, following the screens as
/// they come and go.
class QtBreakScreen final : public QObject, public BreakScreen {
public:
    /// Everything it talks to; each must outlive it. The lifecycle's windows are its own.
    struct Dependencies {
        const Clock& clock;
        MainLoopTimer& timers;
        Logger& log;
        BreakHistory& history;
        PreferencesStore& store;
        ProcessLauncher* launcher = nullptr;
        SystemSignals* system = nullptr;
        std::function<void(SoundDesign::Event)> playSound = {};
        std::function<void()> statusItemInstalled = {};
        /// The gallery's save; without it a finished drawing is not kept.
        QtBreakWindows::SaveFinishedDrawing saveFinishedDrawing = {};
        /// Keys pressed during a break other than Escape (our global shortcuts); none when empty.
        std::function<void(const QKeyEvent&)> otherKey = {};
        /// Called just before a break's windows show, and once they are gone; none when empty.
        std::function<void()> aboutToShow = {};
        std::function<void()> windowsGone = {};
    };

    explicit QtBreakScreen(Dependencies dependencies);
    ~QtBreakScreen() override;

    void begin(int restSeconds, bool isMicroBreak, bool startedManually) override;
    void end(bool completed, bool enforcementApplies) override;
    bool isActive() const override;
    void setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) override;

    /// The rules, for tools that drive a break by hand.
    BreakScreenLifecycle& lifecycle() { return *m_lifecycle; }

private:
    void watchScreen(QScreen* screen);
    void screensChanged();

    QtBreakWindows m_windows;
    std::unique_ptr<BreakScreenLifecycle> m_lifecycle;
    std::function<void()> m_aboutToShow;
    std::function<void()> m_windowsGone;
    std::function<void(bool)> m_onBreakEnded;
    bool m_changePending = false;
};

} // namespace sorvala
