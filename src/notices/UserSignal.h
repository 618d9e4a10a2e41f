// SPDX-License-Identifier: MIT
#pragma once

#include "notices/PreBreakOverlay.h"
#include "notices/SoundDesign.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

class PreferencesStore;

/// Something the application tells the user between breaks: what it says, which chime may go
/// with it, how strongly a banner may interrupt, and (per kind) where on screen it goes.
struct UserSignal {
    enum class Kind { preBreak, smartPause, updateAvailable, overtime, wellness, awayUndo };
    /// How the signal reaches the user.
    enum class Medium { banner, panel, silent };
    /// How strongly a banner may interrupt.
    enum class Interruption { passive, active, timeSensitive };
    /// How signals rank when they want the same place; later cases rank higher.
    enum class Priority { ambient, nudge, actionable, imminent };

    /// A place on screen a panel occupies: one of the capsule slots, or the dimmed screen.
    struct Resource {
        enum class Type { slot, screenDim };
        Type type = Type::screenDim;
        PreBreakOverlay::Position position = PreBreakOverlay::Position::topCenter;

        static Resource slot(PreBreakOverlay::Position position) { return {Type::slot, position}; }
        static Resource screenDim() { return {}; }
        bool operator==(const Resource& other) const {
            return type == other.type && (type == Type::screenDim || position == other.position);
        }
        bool operator<(const Resource& other) const;
    };

    /// Today's taken and resolved long breaks, for the heads-up's score line.
    struct DailyScore {
        int taken = 0;
        int resolved = 0;
    };

    static constexpr std::string_view preBreakIdentifier = "pre-break";
    static constexpr std::string_view smartPauseIdentifier = "smart-pause";

    Kind kind = Kind::preBreak;
    std::string identifier;               ///< a banner with the same identifier replaces the earlier one
    std::string category;                 ///< the banner category with the signal's actions; empty for none
    std::optional<std::string> gatingKey; ///< the boolean setting that must be on; none for always
    std::optional<SoundDesign::Event> sound;
    Interruption interruption = Interruption::passive;
    std::string title;
    std::string body;

    bool operator==(const UserSignal&) const = default;

    /// The heads-up before a long break; its category carries the snooze actions while allowed.
    /// `showSnoozesRemaining` is the setting of that name.
    static UserSignal preBreak(bool snoozeAllowed, int snoozesTaken, std::optional<int> snoozesRemaining,
                               std::optional<DailyScore> dailyScore, bool showSnoozesRemaining);
    /// A due break is held while the cause described by `alertDescription` lasts.
    static UserSignal smartPause(std::string_view alertDescription);
    /// A cause has held the break for `minutes`.
    static UserSignal blockerStillHolding(std::string_view alertDescription, int minutes);
    /// A newer version can be installed.
    static UserSignal updateAvailable(std::string_view version);
    /// The badge saying how long the user has worked without a break.
    static UserSignal overtime(std::string_view text);
    /// A posture or blink reminder; `message` is the kind's message.
    static UserSignal wellness(std::string_view message);
    /// The user came back from an absence that reset the work clock; undo is offered.
    static UserSignal awayUndo();

    /// How the kind ranks against other kinds.
    static Priority priority(Kind kind);
    /// The medium for `kind`; the heads-up reads its overlay setting from `store`.
    static Medium medium(Kind kind, const PreferencesStore& store, bool bannerAvailable);
    /// The heads-up goes as a panel when the overlay setting is on or no banner can be posted.
    static Medium preBreakMedium(const PreferencesStore& store, bool bannerAvailable);
    /// The capsule slot of a panel kind; none for the kinds without a panel.
    static std::optional<PreBreakOverlay::Position> slot(Kind kind, const PreferencesStore& store);
    /// Everything the kind's panel occupies.
    static std::vector<Resource> resources(Kind kind, const PreferencesStore& store);
    /// Whether the kind stands for a pending decision that resolves to its default when the
    /// signal cannot be shown or is pushed away.
    static bool resolvesOnLoss(Kind kind);
    /// Whether the kind's panel dims the screens behind it.
    static bool dimsScreen(Kind kind);
    /// The boolean setting that gates the kind; none for always.
    static std::optional<std::string> gatingKeyOf(Kind kind);
    /// Whether the kind's panel has something to show for `body`.
    static bool hasSomethingToDraw(Kind kind, std::string_view body);

    /// Whether this signal may show: its gating setting is on or it has none.
    bool isEnabled(const PreferencesStore& store) const;
    /// Whether signals of `kind` may show.
    static bool isEnabled(Kind kind, const PreferencesStore& store);
};

/// "preBreak", "smartPause", ...: the word in log lines.
std::string_view text(UserSignal::Kind kind);
/// "banner", "panel" or "silent".
std::string_view text(UserSignal::Medium medium);
/// "passive", "active" or "timeSensitive".
std::string_view text(UserSignal::Interruption interruption);

} // namespace sorvala
