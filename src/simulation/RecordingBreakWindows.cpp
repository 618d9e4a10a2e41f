// SPDX-License-Identifier: MIT
#include "simulation/RecordingBreakWindows.h"

#include <algorithm>

namespace sorvala {

namespace {
// The renderer's own hold and fade of a finished drawing.
constexpr double holdSeconds = 20;
constexpr double fadeSeconds = 2;
} // namespace

RecordingBreakWindows::RecordingBreakWindows(MainLoopTimer& timers, std::optional<double> drawingSeconds)
    : m_timers(timers), m_drawingSeconds(drawingSeconds) {}

void RecordingBreakWindows::setDisplayCount(int count) {
    count = std::max(0, count);
    while (static_cast<int>(m_displays.size()) > count)
        m_displays.pop_back();
    while (static_cast<int>(m_displays.size()) < count)
        m_displays.push_back("display-" + std::to_string(m_nextDisplay++));
}

std::vector<BreakWindows::Display> RecordingBreakWindows::displays() {
    std::vector<Display> listed;
    for (const auto& id : m_displays)
        listed.push_back({id, id == "display-1"});
    return listed;
}

void RecordingBreakWindows::cover(const std::string& display, bool opaque) {
    m_windows.push_back(display);
    m_calls.push_back("cover " + display + (opaque ? " opaque" : ""));
}

void RecordingBreakWindows::showMicroContent(const std::string& display, const MicroContent& content) {
    m_micro = content;
    m_calls.push_back("micro content on " + display + (content.skipVisible ? " with skip" : ""));
}

void RecordingBreakWindows::startDrawing() {
    m_drawing = true;
    m_complete = false;
    if (!m_drawingSeconds)
        return;
    m_renderer = m_timers.scheduled(*m_drawingSeconds, false, 0, [this] {
        m_complete = true;
        if (m_stopsOnCompletion)
            return;
        m_renderer = m_timers.scheduled(holdSeconds + fadeSeconds, false, 0, [this] { startDrawing(); });
    });
}

void RecordingBreakWindows::showLongContent(const std::string& display, const LongContent& content) {
    startDrawing();
    m_calls.push_back("long content on " + display + (content.skipVisible ? " with skip" : ""));
}

void RecordingBreakWindows::moveContent(const std::string& display) {
    m_calls.push_back("move content to " + display);
}

void RecordingBreakWindows::screenLockRequested() {
    m_calls.push_back("screenLockRequested");
}

void RecordingBreakWindows::fadeIn() {
    m_calls.push_back("fadeIn");
    ++m_begun;
    if (m_onFadeIn)
        m_onFadeIn();
}

void RecordingBreakWindows::setCountdown(const std::string& text) {
    m_calls.push_back("countdown " + text);
}

void RecordingBreakWindows::revealSkip() {
    m_calls.push_back("revealSkip");
}

void RecordingBreakWindows::refit() {}

void RecordingBreakWindows::release(const std::string& display) {
    std::erase(m_windows, display);
    m_calls.push_back("release " + display);
}

std::optional<bool> RecordingBreakWindows::drawingComplete() {
    if (!m_drawingSeconds || !m_drawing)
        return std::nullopt;
    return m_complete;
}

void RecordingBreakWindows::saveFinishedDrawing() {
    ++m_saved;
    m_calls.push_back("saveFinishedDrawing");
}

void RecordingBreakWindows::fadeOut(double seconds, std::function<void()> done) {
    m_drawing = false;
    m_renderer.reset();
    m_calls.push_back("fadeOut");
    if (m_fadesComplete)
        m_fade = m_timers.scheduled(seconds, false, 0, std::move(done));
}

void RecordingBreakWindows::releaseAll() {
    m_fade.reset();
    m_windows.clear();
    ++m_finished;
    m_calls.push_back("releaseAll");
}

} // namespace sorvala
