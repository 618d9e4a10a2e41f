// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala {

/// The application's commands that global shortcuts reach. The application object fulfils it.
class ShortcutCommands {
public:
    virtual ~ShortcutCommands() = default;

    /// Starts a long break now, or ends the one on screen as not completed (the enforcement tier
    /// decides whether it may end).
    virtual void toggleBreakFromHotKey() = 0;
    /// Starts a micro break now.
    virtual void startMicroBreakNow() = 0;
    /// Whether reminders are paused.
    virtual bool isPaused() const = 0;
    /// Resumes paused reminders.
    virtual void resumeReminders() = 0;
    /// Pauses reminders with no end.
    virtual void pauseUntilResumed() = 0;
    /// Snoozes the next break by `minutes`, asked for from a hot key (the snooze budget applies).
    virtual void snoozeFromHotKey(int minutes) = 0;
};

} // namespace sorvala
