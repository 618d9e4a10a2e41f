// SPDX-License-Identifier: MIT
#include "PlaceholderPorts.h"

#include "core/BreakTiming.h"
#include "core/Logger.h"

#include <QTimer>

#include <string>

namespace sorvala {

void PlaceholderBreakScreen::begin(int restSeconds, bool isMicroBreak, bool startedManually) {
    m_log.log(std::string("break screen not available; break passed over unrecorded kind=") +
              (isMicroBreak ? "micro" : "long") + " rest=" + std::to_string(restSeconds) +
              "s manual=" + (startedManually ? "true" : "false"));
    // Ended from the event loop, as a real break ends long after `begin` returned.
    QTimer::singleShot(0, [this, isMicroBreak] {
        if (m_onEnded)
            m_onEnded(isMicroBreak);
    });
}

void PlaceholderNotices::show(const UserSignal& signal) {
    m_log.log("notice not shown kind=" + std::string(text(signal.kind)));
    if (signal.kind != UserSignal::Kind::awayUndo)
        return;
    const int shown = ++m_awayUndoShown;
    QTimer::singleShot(static_cast<int>(BreakTiming::undoToastSeconds * 1000), [this, shown] {
        // A notice cleared or shown again in the meantime does not stand.
        if (shown == m_awayUndoShown && m_callbacks.onAwayResetStood)
            m_callbacks.onAwayResetStood();
    });
}

void PlaceholderNotices::clear(UserSignal::Kind kind) {
    if (kind == UserSignal::Kind::awayUndo)
        ++m_awayUndoShown;
}

void PlaceholderUpdater::startAutomaticChecks() {
    m_log.log("updater not available; no update checks");
}

} // namespace sorvala
