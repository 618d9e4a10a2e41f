// SPDX-License-Identifier: MIT
#include "notices/SignalRouter.h"

#include "core/Logger.h"
#include "core/PreferencesStore.h"

namespace sorvala {

bool SignalRouter::needsButtons(const UserSignal& signal) {
    // The final heads-up has no snooze left to offer; a plain banner says all it has to say.
    return signal.kind == UserSignal::Kind::preBreak && signal.category == "pre-break";
}

UserSignal::Medium SignalRouter::medium(const UserSignal& signal) const {
    const bool available = m_out.bannerAvailable && m_out.bannerAvailable(needsButtons(signal));
    return UserSignal::medium(signal.kind, m_out.store, available);
}

void SignalRouter::resolveOnLoss(UserSignal::Kind kind) {
    if (UserSignal::resolvesOnLoss(kind) && m_onAwayResetStood)
        m_onAwayResetStood();
}

void SignalRouter::show(const UserSignal& signal) {
    const auto kindWord = std::string(text(signal.kind));
    if (!signal.isEnabled(m_out.store)) {
        resolveOnLoss(signal.kind);
        return;
    }
    if (!UserSignal::hasSomethingToDraw(signal.kind, signal.body)) {
        m_out.log.log("signal refused kind=" + kindWord + " reason=nothingToDraw");
        resolveOnLoss(signal.kind);
        return;
    }
    const bool wasShowing = m_slots.isShowing(signal.kind);
    switch (medium(signal)) {
    case UserSignal::Medium::banner:
        if (m_out.postBanner)
            m_out.postBanner(signal);
        break;
    case UserSignal::Medium::panel: {
        const auto displaced = m_slots.claim(signal.kind, UserSignal::resources(signal.kind, m_out.store));
        if (!displaced) {
            m_out.log.log("signal refused kind=" + kindWord + " reason=slotTaken");
            resolveOnLoss(signal.kind);
            return;
        }
        for (const auto kind : *displaced) {
            m_out.log.log("signal displaced kind=" + std::string(text(kind)) + " by=" + kindWord);
            m_out.panels.hidePanel(kind);
            resolveOnLoss(kind);
        }
        m_out.panels.showPanel(signal);
        break;
    }
    case UserSignal::Medium::silent: resolveOnLoss(signal.kind); break;
    }
    if (signal.sound && !wasShowing && m_out.play)
        m_out.play(*signal.sound);
}

void SignalRouter::clear(UserSignal::Kind kind) {
    m_slots.release(kind);
    m_out.panels.hidePanel(kind);
}

} // namespace sorvala
