// SPDX-License-Identifier: MIT
#pragma once

#include "notices/NoticeSlots.h"
#include "notices/UserSignal.h"

#include <functional>

namespace sorvala {

class Logger;
class PreferencesStore;

/// The on-screen side of the notices: shows and hides one kind's panel.
class NoticePanels {
public:
    virtual ~NoticePanels() = default;
    /// Puts up the panel of `signal`'s kind with its body (the pre-break panel reads its own text).
    virtual void showPanel(const UserSignal& signal) = 0;
    /// Takes the panel of `kind` down and stops its timers; nothing when it is not up.
    virtual void hidePanel(UserSignal::Kind kind) = 0;
};

/// Routes each signal: its setting, its medium (banner, panel or nothing), the place its panel
/// claims on screen, the log lines and the chime.
class SignalRouter {
public:
    /// Everything a route may touch; each must outlive the router.
    struct Outlets {
        const PreferencesStore& store;
        Logger& log;
        NoticePanels& panels;
        /// Whether a banner can be posted now; `needsButtons` when it would carry buttons.
        std::function<bool(bool needsButtons)> bannerAvailable;
        std::function<void(const UserSignal&)> postBanner;
        std::function<void(SoundDesign::Event)> play;
    };

    explicit SignalRouter(Outlets outlets) : m_out(std::move(outlets)) {}

    /// Called when an away-undo decision resolves to its default because its panel could not show
    /// or was pushed away.
    void setOnAwayResetStood(std::function<void()> callback) { m_onAwayResetStood = std::move(callback); }

    /// Shows `signal` through its medium, as its setting and the places on screen allow.
    void show(const UserSignal& signal);
    /// Frees the places of `kind` and takes its panel down.
    void clear(UserSignal::Kind kind);
    /// A panel went away by itself: frees its places.
    void release(UserSignal::Kind kind) { m_slots.release(kind); }
    /// The medium `signal` would use now.
    UserSignal::Medium medium(const UserSignal& signal) const;

    const NoticeSlots& occupancy() const { return m_slots; }

    /// Whether the signal's banner would carry buttons: without them it is not worth posting.
    static bool needsButtons(const UserSignal& signal);

private:
    void resolveOnLoss(UserSignal::Kind kind);

    Outlets m_out;
    NoticeSlots m_slots;
    std::function<void()> m_onAwayResetStood;
};

} // namespace sorvala
