// SPDX-License-Identifier: MIT
#include "simulation/RecordingPorts.h"

#include "core/BreakTiming.h"
#include "core/Clock.h"
#include "history/BreakLog.h"
#include "simulation/Timeline.h"

namespace sorvala {

RecordingNotices::RecordingNotices(Timeline& timeline, MainLoopTimer& timers)
    : m_timeline(timeline), m_timers(timers) {}

void RecordingNotices::show(const UserSignal& signal) {
    m_timeline.note("notice shown kind=" + std::string(text(signal.kind)) + " id=" + signal.identifier);
    if (signal.kind == UserSignal::Kind::preBreak)
        m_preBreakShowing = true;
    if (signal.kind == UserSignal::Kind::awayUndo) {
        m_awayUndoShowing = true;
        m_awayUndoTimer = m_timers.scheduled(BreakTiming::undoToastSeconds, false, 0, [this] {
            m_awayUndoTimer.reset();
            m_awayUndoShowing = false;
            m_timeline.note("notice expired kind=awayUndo");
            if (m_callbacks.onAwayResetStood)
                m_callbacks.onAwayResetStood();
        });
    }
}

void RecordingNotices::clear(UserSignal::Kind kind) {
    bool& showing = kind == UserSignal::Kind::preBreak ? m_preBreakShowing : m_awayUndoShowing;
    if (kind != UserSignal::Kind::preBreak && kind != UserSignal::Kind::awayUndo)
        return;
    if (!showing)
        return;
    showing = false;
    if (kind == UserSignal::Kind::awayUndo)
        m_awayUndoTimer.reset();
    m_timeline.note("notice cleared kind=" + std::string(text(kind)));
}

void RecordingNotices::chooseSkip() {
    if (m_preBreakShowing && m_callbacks.onSkipBreak)
        m_callbacks.onSkipBreak();
}

void RecordingNotices::chooseSnooze() {
    if (m_preBreakShowing && m_callbacks.onSnoozeBreak)
        m_callbacks.onSnoozeBreak();
}

void RecordingNotices::chooseUndo() {
    if (m_awayUndoShowing && m_callbacks.onUndoAwayReset)
        m_callbacks.onUndoAwayReset();
}

void MemoryBreakHistory::record(BreakEvent::Kind kind, BreakEvent::Outcome outcome,
                                std::optional<double> durationSeconds) {
    m_log.log(BreakLog::reportLine(kind, outcome, durationSeconds));
    m_events.push_back({m_clock.now(), kind, outcome, durationSeconds});
}

void RecordingBannerCenter::clearDelivered() {
    m_timeline.note("banners cleared");
}

} // namespace sorvala
