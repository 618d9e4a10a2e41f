// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// The operating system's answers behind every reading and smart-pause cause: one method per
/// probe. Every method returns at once, never throws and answers the harmless value on any
/// failure (the one written on it), so an error never holds a break.
class SystemSignals {
public:
    /// Which back end serves one reading, for `sorvalactl probe` and the launch log.
    struct Backend {
        std::string reading; ///< "session", "idle", "keyDown", "display", "frontmostApp", ...
        std::string choice;  ///< "x11-screensaver", "mutter-idle-monitor", "none", ...
        bool operator==(const Backend&) const = default;
    };

    virtual ~SystemSignals() = default;

    /// Seconds since the last keyboard or pointer input on any device. Failure: 0 (the user
    /// counts as present, and breaks still run on the work clock).
    virtual double secondsSinceLastInput() = 0;

    /// Seconds since the last key press. Nullopt where key presses of other programs cannot be
    /// observed (Wayland, no XInput 2); callers read that as "not typing", never as the idle time.
    virtual std::optional<double> secondsSinceLastKeyDown() = 0;

    /// Whether the main display sleeps (DPMS off or standby). Failure: false (awake).
    virtual bool displayIsAsleep() = 0;

    /// Whether every connected display sleeps; without a per-display list this is
    /// `displayIsAsleep()`. Failure: false (awake).
    virtual bool everyDisplayIsAsleep() = 0;

    /// The desktop-file id of the frontmost application ("org.gnome.Terminal"), the Linux form of
    /// a bundle identifier. Failure, no active window or one of our own windows: nullopt.
    virtual std::optional<std::string> frontmostApplicationBundleIdentifier() = 0;

    /// Whether the frontmost application, not this one, shows a fullscreen window. Failure: false.
    virtual bool frontmostApplicationIsFullscreen() = 0;

    /// Whether some other program holds an idle or display-sleep inhibitor (a playing video, a
    /// presentation, a keep-awake tool). Failure or no inhibitor service: false.
    virtual bool videoPlaying() = 0;

    /// Whether a microphone (any non-monitor capture source) is being recorded from by another
    /// program, which we read as a call. Failure or no sound server: false.
    virtual bool microphoneInUse() = 0;

    /// Whether the desktop is sharing or recording the screen. Failure, or a session where
    /// capture leaves no trace (X11): false.
    virtual bool screenCaptured() = 0;

    /// Whether the desktop's notification service is in Do Not Disturb. Failure: false.
    virtual bool doNotDisturbActive() = 0;

    /// Whether at least one of the calendar sources (iCalendar files or folders of them, the
    /// "calendarSources" setting) can be read. No sources or none readable: false.
    virtual bool calendarAccessGranted(const std::vector<std::string>& sources) = 0;

    /// Whether a timed (not all-day) event of the calendar sources is in progress at `now`.
    /// Unreadable or unparsable sources are skipped; none readable: false.
    virtual bool calendarEventInProgress(const std::vector<std::string>& sources, Instant now) = 0;

    /// Whether screen capture may be observed. Linux asks no permission for it: true.
    virtual bool screenRecordingGranted() = 0;

    /// Locks the screen at once, fire and forget. No screen locker reachable: nothing happens
    /// and nothing is reported.
    virtual void lockScreen() = 0;

    /// The session and the back end chosen for each reading, in a stable order.
    virtual std::vector<Backend> backends() = 0;
};

} // namespace sorvala
