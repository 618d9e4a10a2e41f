// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/MicroBreakPrompts.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// The windows of a break: one covering window per display, the content on one of them, and the
/// fades. The break's rules live in `BreakScreenLifecycle`; this only shows what it is told.
class BreakWindows {
public:
    /// One display as the system lists it.
    struct Display {
        std::string id;
        bool isMain = false;
        bool operator==(const Display&) const = default;
    };
    /// What a micro break's content shows.
    struct MicroContent {
        MicroBreakPrompt prompt;
        int restSeconds = 0;
        bool skipVisible = false;
        bool escapeHintVisible = false;
    };
    /// What a long break's content shows.
    struct LongContent {
        bool skipVisible = false;
    };

    virtual ~BreakWindows() = default;
    /// The displays in the system's order.
    virtual std::vector<Display> displays() = 0;
    /// Creates the covering window of `display`, transparent until `fadeIn`, or opaque at once.
    virtual void cover(const std::string& display, bool opaque) = 0;
    /// Builds the micro content in the window of `display`.
    virtual void showMicroContent(const std::string& display, const MicroContent& content) = 0;
    /// Builds the long content, with a fresh drawing, in the window of `display`.
    virtual void showLongContent(const std::string& display, const LongContent& content) = 0;
    /// Moves the content, drawing in progress included, into the window of `display`.
    virtual void moveContent(const std::string& display) = 0;
    /// The screen is being locked for this break: the keyboard and pointer are left to the lock
    /// screen, and taken only once no lock screen holds them.
    virtual void screenLockRequested() {}
    /// Fades every window in, then takes the keyboard and pointer.
    virtual void fadeIn() = 0;
    /// Shows `text` as the micro break's countdown.
    virtual void setCountdown(const std::string& text) = 0;
    /// Shows the skip button.
    virtual void revealSkip() = 0;
    /// Fits every window to its display again and lays out its content.
    virtual void refit() = 0;
    /// Orders out and drops the window of `display`.
    virtual void release(const std::string& display) = 0;
    /// Whether the long break's drawing is complete; nullopt when there is no renderer.
    virtual std::optional<bool> drawingComplete() = 0;
    /// Hands the finished drawing to the gallery.
    virtual void saveFinishedDrawing() = 0;
    /// Stops the content's frames and fades every window out; `done` runs when the fade ends
    /// (it may never run).
    virtual void fadeOut(double seconds, std::function<void()> done) = 0;
    /// Orders out every window that was faded out and clears its content.
    virtual void releaseAll() = 0;
};

} // namespace sorvala
