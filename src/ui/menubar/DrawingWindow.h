// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include <functional>

namespace sorvala {

class Logger;
class PreferencesStore;
class SorvalaSaverWindow;

/// The application's own drawing window: a resizable window with the live drawing, one frame per
/// display refresh, and a menu bar that carries the status menu when there is no tray.
class DrawingWindow final : public QMainWindow {
public:
    /// `onVisibilityChanged` hears each time the window is shown or hidden.
    DrawingWindow(PreferencesStore& store, Logger& log, std::function<void(bool visible)> onVisibilityChanged);
    ~DrawingWindow() override;

    /// Shows the window in front with a fresh theme, starting the drawing if there is none.
    void open();
    /// The menu of the menu bar, shown only when `showMenu` asked for it.
    QMenu& menu() { return *m_menu; }
    /// Puts the status menu in the window's menu bar while there is no tray to hold it.
    void showMenu(bool shown);
    /// Reads the appearance again (the settings window closed).
    void reloadSettings();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Logger& m_log;
    std::function<void(bool)> m_onVisibilityChanged;
    SorvalaSaverWindow* m_drawing = nullptr;
    QMenu* m_menu = nullptr;
    bool m_stoppedByHide = false;
};

} // namespace sorvala
