// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <set>
#include <string>

class QWidget;

namespace sorvala {

class Logger;
class WaylandKeyboardHold;

/// Holds the break windows on their outputs as far as a Wayland compositor lets a client: it
/// refuses the compositor's close request (Alt+F4, an overview's close button, `swaymsg kill`)
/// while the break runs, makes a window full screen again when the compositor takes that away,
/// and asks for the focus back when it went to another client. Where the compositor offers a
/// layer shell it also takes the keyboard from every other client and hands the keys to the
/// focus target. What cannot be held is logged once per break.
class WaylandBreakHold final : public QObject {
public:
    explicit WaylandBreakHold(Logger& log);
    ~WaylandBreakHold() override;

    /// A break starts: takes the keyboard where it can; what was logged for the last break may
    /// be logged again.
    void breakStarted();
    /// The break ends: the keyboard goes back to the desktop.
    void breakEnded();
    /// Holds this window until `release`; `focusTarget` is asked for the focus back.
    void hold(QWidget& window);
    /// Lets the window go (the break ends or its output went away).
    void release(QWidget& window);
    /// The window that gets the focus back when another client took it.
    void setFocusTarget(QWidget* window) { m_focusTarget = window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void logOnce(const std::string& line);
    void reclaimFocusSoon();
    void holdKeys();

    Logger& m_log;
    std::set<QObject*> m_held;
    std::set<QObject*> m_fullScreen;
    std::set<std::string> m_logged;
    QPointer<QWidget> m_focusTarget;
    bool m_reclaimPending = false;
    std::unique_ptr<WaylandKeyboardHold> m_keys;
};

} // namespace sorvala
