// SPDX-License-Identifier: MIT
#include "ui/menubar/DrawingWindow.h"

#include "core/Logger.h"
#include "i18n/QtI18n.h"
#include "ui/access/AccessibleRole.h"
#include "render/SorvalaSaverWindow.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

#include <utility>

namespace sorvala {

DrawingWindow::DrawingWindow(PreferencesStore& store, Logger& log, std::function<void(bool)> onVisibilityChanged)
    : m_log(log), m_onVisibilityChanged(std::move(onVisibilityChanged)) {
    setWindowTitle(QStringLiteral("Sorvala"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/sorvala.svg")));
    m_drawing = new SorvalaSaverWindow(store);
    auto* container = QWidget::createWindowContainer(m_drawing, this);
    container->setFocusPolicy(Qt::NoFocus);
    container->setAccessibleName(qi18n("Drawing"));
    // TRANSLATORS: read by screen readers for the window that draws one drawing after another.
    container->setAccessibleDescription(qi18n("A drawing appears stroke by stroke, then the next one."));
    AccessibleRole::set(*container, QAccessible::Animation);
    setCentralWidget(container);
    m_menu = new QMenu(QStringLiteral("&Sorvala"), this);
    menuBar()->addMenu(m_menu);
    menuBar()->setVisible(false);
    // A third of a large screen, most of a small one (or of one at twice the scale).
    QSize size(960, 640);
    if (const auto* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 4 / 5);
    resize(size);
}

DrawingWindow::~DrawingWindow() = default;

void DrawingWindow::open() {
    m_log.log("sorvala window opened");
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    m_stoppedByHide = false;
    show();
    // Starting again re-rolls a random theme and keeps a drawing that is under way.
    m_drawing->startAnimation();
    raise();
    activateWindow();
}

void DrawingWindow::showMenu(bool shown) {
    menuBar()->setVisible(shown);
}

void DrawingWindow::reloadSettings() {
    m_drawing->view().reloadSettings();
}

void DrawingWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Back from the task bar: the frames stopped when it was minimised.
    if (std::exchange(m_stoppedByHide, false))
        m_drawing->startAnimation();
    m_onVisibilityChanged(true);
}

void DrawingWindow::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    // A hidden window needs no frames.
    m_drawing->stopAnimation();
    m_stoppedByHide = true;
    m_onVisibilityChanged(false);
}

} // namespace sorvala
