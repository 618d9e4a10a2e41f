// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/MainLoopTimer.h"
#include "breakscreen/BreakWindows.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// Break windows without a screen: displays named "display-1", "display-2", … (the first is the
/// main one), a drawing that completes a fixed time after it is first shown, fades that end on
/// virtual time, and every call written down. The drawing runs on timers, as the renderer's
/// media clock does, so setting the wall clock does not move it.
class RecordingBreakWindows final : public BreakWindows {
public:
    /// `drawingSeconds`: how long a drawing takes; nullopt for a long break without a renderer.
    RecordingBreakWindows(MainLoopTimer& timers, std::optional<double> drawingSeconds);

    /// Plugs in or unplugs displays so that `count` remain; the main one stays first.
    void setDisplayCount(int count);
    /// Whether the host stops the renderer once its drawing is complete, as the break screen does;
    /// when false the renderer goes on as in a screen saver: it holds the finished drawing 20 s,
    /// fades it out over 2 s and starts a new one.
    void setStopsOnCompletion(bool stops) { m_stopsOnCompletion = stops; }
    /// Whether fades report their end; when false only the deadline tears a break down.
    void setFadesComplete(bool complete) { m_fadesComplete = complete; }
    /// Every call so far, one line each ("cover display-1", "fadeOut", …).
    const std::vector<std::string>& calls() const { return m_calls; }
    /// The windows currently shown or fading, by display.
    const std::vector<std::string>& windows() const { return m_windows; }
    /// The last micro content shown.
    const std::optional<MicroContent>& microContent() const { return m_micro; }
    /// How many finished drawings were handed to the gallery.
    int savedDrawings() const { return m_saved; }
    /// How many breaks faded in, and how many were torn down since.
    int begun() const { return m_begun; }
    int finished() const { return m_finished; }
    /// Timers of its own that will still fire.
    int liveTimers() const { return (isLive(m_fade) ? 1 : 0) + (isLive(m_renderer) ? 1 : 0); }
    /// Called as each break's windows fade in.
    void setOnFadeIn(std::function<void()> observer) { m_onFadeIn = std::move(observer); }

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
    MainLoopTimer& m_timers;
    std::optional<double> m_drawingSeconds;
    std::vector<std::string> m_displays{"display-1"};
    int m_nextDisplay = 2;
    std::vector<std::string> m_windows;
    std::vector<std::string> m_calls;
    std::optional<MicroContent> m_micro;
    void startDrawing();

    bool m_drawing = false;
    bool m_complete = false;
    bool m_stopsOnCompletion = true;
    TimerField m_renderer;
    bool m_fadesComplete = true;
    int m_saved = 0;
    int m_begun = 0;
    int m_finished = 0;
    std::function<void()> m_onFadeIn;
    TimerField m_fade;
};

} // namespace sorvala
