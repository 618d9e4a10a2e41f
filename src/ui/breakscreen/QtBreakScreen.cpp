// SPDX-License-Identifier: MIT
#include "ui/breakscreen/QtBreakScreen.h"

#include "core/Logger.h"
#include "drawing/Settings.h"
#include "drawing/SorvalaGenerator.h"
#include "i18n/QtI18n.h"
#include "render/SorvalaSaverView.h"
#include "ui/breakscreen/BreakContent.h"
#include "ui/breakscreen/QtBreakChrome.h"
#include "ui/wayland/WaylandWindows.h"

#include <QGuiApplication>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPixmapCache>
#include <QScreen>
#include <QThreadPool>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <bit>
#include <cstdint>
#include <optional>

#include <malloc.h>

namespace sorvala {

namespace {

constexpr int fadeInMilliseconds = 400;
constexpr int grabRetryMilliseconds = 250;
/// After this many quick attempts the grabs are tried once a second for as long as the break is up.
constexpr int quickGrabAttempts = 20;
constexpr int slowGrabRetryMilliseconds = 1000;
/// How long the grabs wait for a lock screen that was just asked for to take the keyboard.
constexpr int lockSettleMilliseconds = 3000;

bool onWayland() {
    return WaylandWindows::active();
}

QColor qtColour(Rgba colour) {
    return QColor::fromRgbF(float(colour.r), float(colour.g), float(colour.b), float(colour.a));
}

/// An 8-bit colour channel placed in a visual's channel mask.
std::uint32_t channelBits(int value, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t largest = mask >> shift;
    return ((std::uint32_t(value) * largest + 127) / 255) << shift;
}

/// The pixel of `colour` in the true-colour visual `id` of `screen`; nothing for other visuals.
std::optional<std::uint32_t> pixelOf(const QColor& colour, const xcb_screen_t& screen, xcb_visualid_t id) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem; xcb_depth_next(&depths))
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            const xcb_visualtype_t& visual = *visuals.data;
            if (visual.visual_id != id)
                continue;
            if (visual._class != XCB_VISUAL_CLASS_TRUE_COLOR || depths.data->depth != 24)
                return std::nullopt;
            return channelBits(colour.red(), visual.red_mask) | channelBits(colour.green(), visual.green_mask) |
                   channelBits(colour.blue(), visual.blue_mask);
        }
    return std::nullopt;
}

} // namespace

BreakWindow::BreakWindow(QScreen* screen, const QColor& background)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           (onWayland() ? Qt::WindowFlags() : Qt::WindowFlags(Qt::BypassWindowManagerHint))),
      m_screen(screen) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(qi18n("Sorvala break"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);
    setAutoFillBackground(true);
    fitToScreen();
    // A flat colour needs no picture: until content comes, the screen is filled by the X server
    // and the window saves an image the size of the screen, tens of megabytes on a 4K display.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        setAttribute(Qt::WA_PaintOnScreen);
        m_filledByServer = fillByServer(background);
        if (!m_filledByServer)
            setAttribute(Qt::WA_PaintOnScreen, false);
    }
}

bool BreakWindow::fillByServer(const QColor& background) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    // Qt gives an opaque window its screen's default visual; reading the window's own back would
    // cost a round trip to the server on the way to covering the screen.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto pixel = screen ? pixelOf(background, *screen, screen->root_visual) : std::nullopt;
    if (!pixel)
        return false;
    xcb_change_window_attributes(connection, xcb_window_t(winId()), XCB_CW_BACK_PIXEL, &*pixel);
    return true;
}

QPaintEngine* BreakWindow::paintEngine() const {
    return m_filledByServer ? nullptr : QWidget::paintEngine();
}

void BreakWindow::sendToServer() {
    // The content is made before the event loop runs again; the screen is covered before that.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>(); x11 && x11->connection())
        xcb_flush(x11->connection());
}

void BreakWindow::holdContent() {
    if (!m_filledByServer)
        return;
    m_filledByServer = false;
    setAttribute(Qt::WA_PaintOnScreen, false);
    update();
}

void BreakWindow::fitToScreen() {
    if (!m_screen)
        return;
    if (windowHandle())
        windowHandle()->setScreen(m_screen);
    setGeometry(m_screen->geometry());
}

void BreakWindow::keyPressEvent(QKeyEvent* event) {
    if (onKey)
        onKey(event);
    event->accept();
}

void BreakWindow::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}

void BreakWindow::closeEvent(QCloseEvent* event) {
    // Only the break's end takes its windows away, never a close request from the desktop.
    event->ignore();
}

void BreakWindow::mouseMoveEvent(QMouseEvent* event) {
    if (onPointer)
        onPointer();
    event->accept();
}

bool BreakWindow::event(QEvent* event) {
    // A content widget's own mouse moves reach here once it lets them pass.
    if (event->type() == QEvent::Enter && onPointer)
        onPointer();
    return QWidget::event(event);
}

QtBreakWindows::QtBreakWindows(PreferencesStore& store, Logger& log, SaveFinishedDrawing saveFinishedDrawing)
    : m_store(store), m_log(log), m_saveFinishedDrawing(std::move(saveFinishedDrawing)), m_waylandHold(log) {
    connect(&m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) { setOpacity(value.toReal()); });
    m_grabRetry.setSingleShot(true);
    m_grabRetry.setInterval(grabRetryMilliseconds);
    m_lockSettle.setRemainingTime(0);
    connect(&m_grabRetry, &QTimer::timeout, this, [this] { grabInput(); });
}

QtBreakWindows::~QtBreakWindows() = default;

std::string QtBreakWindows::displayId(const QScreen* screen) {
    // Names can repeat (two monitors of one model); the object lives as long as the display.
    return screen->name().toStdString() + "@" + std::to_string(reinterpret_cast<std::uintptr_t>(screen));
}

QScreen* QtBreakWindows::screenOf(const std::string& display) const {
    for (auto* screen : QGuiApplication::screens())
        if (displayId(screen) == display)
            return screen;
    return nullptr;
}

BreakWindow* QtBreakWindows::windowOf(const std::string& display) const {
    for (const auto& covering : m_windows)
        if (covering.display == display)
            return covering.window.get();
    return nullptr;
}

std::vector<BreakWindows::Display> QtBreakWindows::displays() {
    std::vector<Display> listed;
    const auto* primary = QGuiApplication::primaryScreen();
    for (const auto* screen : QGuiApplication::screens())
        listed.push_back({displayId(screen), screen == primary});
    return listed;
}

void QtBreakWindows::prepareBreakLook() {
    if (m_lookPrepared)
        return;
    const Settings settings = Settings::load(m_store, SorvalaGenerator::drawingCount);
    const auto theme = Appearance::resolved(settings.theme, desktopPrefersDark());
    m_isDark = theme == Settings::Theme::dark;
    m_background = qtColour(Appearance::backgroundColor(theme));
    m_reduceMotion = QtBreakChrome::reduceMotion();
    m_lookPrepared = true;
}

void QtBreakWindows::cover(const std::string& display, bool opaque) {
    prepareBreakLook();
    auto* screen = screenOf(display);
    if (!screen)
        return;
    auto window = std::make_unique<BreakWindow>(screen, m_background);
    window->onKey = [this](QKeyEvent* event) {
        if (event->isAutoRepeat())
            return;
        if (event->key() == Qt::Key_Escape) {
            if (onEscape)
                onEscape();
        } else if (onOtherKey) {
            onOtherKey(*event);
        }
    };
    window->onPointer = [this] {
        if (m_long)
            m_long->pointerMoved();
    };
    if (onWayland()) {
        WaylandWindows::showFullScreenOn(*window, screen);
        m_waylandHold.hold(*window);
    } else {
        window->setWindowOpacity(opaque ? 1.0 : 0.0);
        window->show();
        window->fitToScreen();
    }
    window->raise();
    window->sendToServer();
    m_windows.push_back({display, std::move(window)});
}

void QtBreakWindows::place(QWidget* content, BreakWindow* window) {
    if (!content || !window)
        return;
    window->holdContent();
    content->setParent(window);
    content->setGeometry(window->rect());
    content->show();
}

void QtBreakWindows::showMicroContent(const std::string& display, const MicroContent& content) {
    auto* window = windowOf(display);
    if (!window)
        return;
    const BreakContentStyle style{BreakPalette::resolve(m_isDark), m_background, m_reduceMotion};
    auto* micro = new MicroBreakContent(style, content, {.skip = [this] { if (onSkip) onSkip(); }, .extend = {}},
                                        window);
    m_micro = micro;
    place(micro, window);
}

void QtBreakWindows::showLongContent(const std::string& display, const LongContent& content) {
    auto* window = windowOf(display);
    if (!window)
        return;
    const BreakContentStyle style{BreakPalette::resolve(m_isDark), m_background, m_reduceMotion};
    auto* longContent = new LongBreakContent(
        m_store, style, content,
        {.skip = [this] { if (onSkip) onSkip(); }, .extend = [this] { if (onExtend) onExtend(); }}, window);
    m_long = longContent;
    place(longContent, window);
}

void QtBreakWindows::moveContent(const std::string& display) {
    auto* window = windowOf(display);
    if (m_long) {
        place(m_long, window);
        m_long->followScreen();
    }
    if (m_micro)
        place(m_micro, window);
    m_waylandHold.setFocusTarget(window);
    regrab();
}

void QtBreakWindows::fadeIn() {
    m_fade.stop();
    m_fade.setDuration(fadeInMilliseconds);
    m_fade.setStartValue(0.0);
    m_fade.setEndValue(1.0);
    QObject::disconnect(&m_fade, &QVariantAnimation::finished, nullptr, nullptr);
    m_fade.start();
    if (m_windows.empty())
        return;
    // The window with the buttons takes the focus, so Tab reaches them on any screen.
    auto* first = m_windows.front().window.get();
    for (const auto& covering : m_windows)
        for (const QWidget* content : {static_cast<QWidget*>(m_long), static_cast<QWidget*>(m_micro)})
            if (content && covering.window->isAncestorOf(content))
                first = covering.window.get();
    first->activateWindow();
    first->setFocus();
    if (onWayland()) {
        m_waylandHold.breakStarted();
        m_waylandHold.setFocusTarget(first);
    }
    regrab();
}

QWindow* QtBreakWindows::grabWindow() const {
    // The window with the buttons takes the grabs: every click is reported to it, so its own
    // buttons must be on it.
    for (const QWidget* content : {static_cast<QWidget*>(m_long), static_cast<QWidget*>(m_micro)})
        if (content && content->window() != content)
            return content->window()->windowHandle();
    return m_windows.empty() ? nullptr : m_windows.front().window->windowHandle();
}

void QtBreakWindows::regrab() {
    m_grabAttempts = 0;
    grabInput();
}

void QtBreakWindows::screenLockRequested() {
    m_lockSettle.setRemainingTime(lockSettleMilliseconds);
}

void QtBreakWindows::grabInput() {
    if (m_windows.empty() || onWayland())
        return;
    // A lock screen needs the keyboard and pointer to lock at all: ours wait until it had its chance.
    if (!m_lockSettle.hasExpired()) {
        m_grabRetry.start(int(std::max<qint64>(1, m_lockSettle.remainingTime())));
        return;
    }
    grabInputX11();
}

void QtBreakWindows::grabInputX11() {
    auto* window = grabWindow();
    // A window not mapped yet cannot take the grabs, nor can anyone while a lock screen holds them:
    // they are asked again for as long as the break is on screen.
    const bool keyboard = window && window->setKeyboardGrabEnabled(true);
    if (keyboard && window->setMouseGrabEnabled(true)) {
        if (m_grabAttempts >= quickGrabAttempts)
            m_log.log("break screen input grabbed attempts=" + std::to_string(m_grabAttempts + 1));
        m_grabAttempts = 0;
        return;
    }
    if (keyboard)
        window->setKeyboardGrabEnabled(false); // half a grab would leave the pointer to others
    if (++m_grabAttempts == quickGrabAttempts)
        m_log.log("break screen input grab failed attempts=" + std::to_string(m_grabAttempts) +
                  "; retrying while the break is on screen");
    m_grabRetry.start(m_grabAttempts < quickGrabAttempts ? grabRetryMilliseconds : slowGrabRetryMilliseconds);
}

void QtBreakWindows::setCountdown(const std::string& text) {
    if (m_micro)
        m_micro->setCountdown(QString::fromStdString(text));
}

void QtBreakWindows::revealSkip() {
    if (m_long)
        m_long->revealSkip();
    if (m_micro)
        m_micro->revealSkip();
}

void QtBreakWindows::refit() {
    for (const auto& covering : m_windows) {
        // A Wayland compositor sizes a full-screen window itself; setting a geometry would end
        // its full screen.
        if (!onWayland())
            covering.window->fitToScreen();
        for (auto* child : covering.window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            child->setGeometry(covering.window->rect());
    }
    if (m_long)
        m_long->followScreen();
}

void QtBreakWindows::release(const std::string& display) {
    const auto found = std::find_if(m_windows.begin(), m_windows.end(), [&](const auto& c) { return c.display == display; });
    if (found == m_windows.end())
        return;
    m_waylandHold.release(*found->window);
    found->window->hide();
    m_windows.erase(found);
    // Unmapping the window that held the grabs ended them.
    regrab();
}

std::optional<bool> QtBreakWindows::drawingComplete() {
    if (!m_long)
        return std::nullopt;
    return m_long->view().isDrawingComplete();
}

void QtBreakWindows::saveFinishedDrawing() {
    if (!m_long)
        return;
    if (!m_saveFinishedDrawing) {
        m_log.log("gallery save skipped: no gallery");
        return;
    }
    m_saveFinishedDrawing(m_long->view(), m_long->devicePixelRatioF());
}

void QtBreakWindows::fadeOut(double seconds, std::function<void()> done) {
    m_grabRetry.stop();
    m_lockSettle.setRemainingTime(0);
    if (m_long)
        m_long->stopFrames();
    for (auto& covering : m_windows) {
        if (auto* handle = covering.window->windowHandle()) {
            handle->setKeyboardGrabEnabled(false);
            handle->setMouseGrabEnabled(false);
        }
        m_waylandHold.release(*covering.window);
        m_fading.push_back(std::move(covering.window));
    }
    m_waylandHold.breakEnded();
    m_windows.clear();
    m_lookPrepared = false;
    m_fade.stop();
    m_fade.setDuration(int(seconds * 1000));
    m_fade.setStartValue(1.0);
    m_fade.setEndValue(0.0);
    QObject::disconnect(&m_fade, &QVariantAnimation::finished, nullptr, nullptr);
    connect(&m_fade, &QVariantAnimation::finished, this, [done = std::move(done)] {
        if (done)
            done();
    });
    m_fade.start();
}

void QtBreakWindows::setOpacity(qreal opacity) {
    // Wayland has no window opacity: the windows appear and go at once.
    if (onWayland())
        return;
    for (const auto& covering : m_windows)
        covering.window->setWindowOpacity(opacity);
    for (const auto& window : m_fading)
        window->setWindowOpacity(opacity);
}

void QtBreakWindows::releaseAll() {
    m_fade.stop();
    for (const auto& window : m_fading)
        window->hide();
    // The content widgets are children of the windows and go with them.
    m_fading.clear();
    // The windows' icons and the faces of the break's large type were made for the break alone;
    // the next break makes them again in a moment. Fonts still in use keep their faces: the
    // cache is replaced, not emptied under them.
    QPixmapCache::clear();
    QFont::cleanup();
    // Qt converts and scales large images on its pool's threads, which would idle on for half a
    // minute with their stacks and heaps; ended now unless one is at work for someone else.
    QThreadPool::globalInstance()->waitForDone(0);
    // The break's images came to tens of megabytes; the allocator keeps pages freed in its heap
    // until asked to give them back, and an idle program should not hold them until the next break.
    malloc_trim(0);
}

QtBreakScreen::QtBreakScreen(Dependencies d)
    : m_windows(d.store, d.log, std::move(d.saveFinishedDrawing)), m_aboutToShow(std::move(d.aboutToShow)),
      m_windowsGone(std::move(d.windowsGone)) {
    m_lifecycle = std::make_unique<BreakScreenLifecycle>(BreakScreenLifecycle::Dependencies{
        .clock = d.clock,
        .timers = d.timers,
        .log = d.log,
        .history = d.history,
        .store = d.store,
        .windows = m_windows,
        .launcher = d.launcher,
        .system = d.system,
        .playSound = std::move(d.playSound),
        .statusItemInstalled = std::move(d.statusItemInstalled),
    });
    m_windows.onEscape = [this] { m_lifecycle->escapePressed(); };
    m_windows.onSkip = [this] { m_lifecycle->skipPressed(); };
    m_windows.onExtend = [this] { m_lifecycle->extendPressed(); };
    m_windows.onOtherKey = std::move(d.otherKey);
    m_lifecycle->setOnBreakEnded([this](bool isMicroBreak) {
        if (m_windowsGone)
            m_windowsGone();
        if (m_onBreakEnded)
            m_onBreakEnded(isMicroBreak);
    });
    for (auto* screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        screensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] { screensChanged(); });
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this] { screensChanged(); });
}

QtBreakScreen::~QtBreakScreen() {
    m_lifecycle.reset();
}

void QtBreakScreen::watchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this] { screensChanged(); });
}

void QtBreakScreen::screensChanged() {
    // One change often comes as several signals; the windows follow once they have settled.
    if (m_changePending)
        return;
    m_changePending = true;
    QTimer::singleShot(0, this, [this] {
        m_changePending = false;
        m_lifecycle->screenParametersChanged();
    });
}

void QtBreakScreen::begin(int restSeconds, bool isMicroBreak, bool startedManually) {
    if (m_aboutToShow && !m_lifecycle->isActive())
        m_aboutToShow();
    m_lifecycle->begin(restSeconds, isMicroBreak, startedManually);
}

void QtBreakScreen::end(bool completed, bool enforcementApplies) {
    m_lifecycle->end(completed, enforcementApplies);
}

bool QtBreakScreen::isActive() const {
    return m_lifecycle->isActive();
}

void QtBreakScreen::setOnBreakEnded(std::function<void(bool isMicroBreak)> callback) {
    m_onBreakEnded = std::move(callback);
}

} // namespace sorvala
