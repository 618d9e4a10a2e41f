// SPDX-License-Identifier: MIT
#include "saver/ScreenSaverHost.h"

#include "saver/HostWindowGeometry.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <cmath>

namespace sorvala {

namespace {

/// Ends the program on a key or a click: what a saver in a window of its own is expected to do.
class EndOnInput final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
            QGuiApplication::quit();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

std::vector<ScreenRect> screenRects(std::size_t* primary) {
    std::vector<ScreenRect> rects;
    const auto screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QScreen* screen = screens[i];
        // Qt gives screens in its own units; the X server speaks device pixels.
        const QRect g = screen->geometry();
        rects.push_back(nativeScreenRect({g.x(), g.y(), g.width(), g.height()}, screen->devicePixelRatio()));
        if (screen == QGuiApplication::primaryScreen())
            *primary = static_cast<std::size_t>(i);
    }
    return rects;
}

} // namespace

ScreenSaverHost::ScreenSaverHost(PreferencesStore& store, SaverOptions options)
    : m_options(options), m_window(store) {
    m_settingsChanges = store.observeChanges([this] { m_window.view().reloadSettings(); });
}

ScreenSaverHost::~ScreenSaverHost() {
    // The foreign host would delete its children, our window among them, which is a member here.
    if (m_host) {
        m_window.hide();
        m_window.setParent(nullptr);
    }
}

std::optional<ScreenRect> ScreenSaverHost::hostGeometry() const {
    return hostWindowGeometry(m_x, m_hostId);
}

void ScreenSaverHost::followHost() {
    const auto geometry = hostGeometry();
    if (!geometry) {
        // The daemon destroyed our window without ending us first.
        QGuiApplication::quit();
        return;
    }
    if (geometry == m_lastHost)
        return;
    m_lastHost = geometry;
    std::size_t primary = 0;
    const auto screens = screenRects(&primary);
    m_window.view().setSuppressed(!drawsOnHost(*geometry, screens, primary));
    const qreal ratio = m_window.devicePixelRatio() > 0 ? m_window.devicePixelRatio() : 1.0;
    m_window.setGeometry(0, 0, static_cast<int>(std::ceil(geometry->width / ratio)),
                         static_cast<int>(std::ceil(geometry->height / ratio)));
}

std::optional<std::string> ScreenSaverHost::start() {
    using Mode = SaverOptions::Mode;
    if (m_options.mode == Mode::hostWindow || m_options.mode == Mode::rootWindow) {
        if (!m_x.isOpen())
            return "cannot open the X display";
        m_hostId = m_options.mode == Mode::hostWindow ? m_options.hostWindow : m_x.root();
        if (!hostGeometry())
            return "window " + std::to_string(m_hostId) + " does not exist";
        m_host.reset(QWindow::fromWinId(static_cast<WId>(m_hostId)));
        m_window.setParent(m_host.get());
        followHost();
        m_window.show();
        // The daemon may resize its window (a screen changed) or destroy it.
        QObject::connect(&m_hostWatch, &QTimer::timeout, [this] { followHost(); });
        m_hostWatch.start(1000);
    } else {
        m_window.setTitle(QStringLiteral("Sorvala"));
        m_window.installEventFilter(new EndOnInput(&m_window));
        if (m_options.mode == Mode::window) {
            m_window.resize(960, 600);
            m_window.show();
        } else {
            m_window.showFullScreen();
        }
    }
    m_window.startAnimation();
    return std::nullopt;
}

} // namespace sorvala
