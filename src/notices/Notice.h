// SPDX-License-Identifier: MIT
#pragma once

#include "notices/WellnessNudge.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// The content of an on-screen capsule or a dialog.
struct Notice {
    /// The small picture at a capsule's leading edge.
    struct Glyph {
        enum class Type { symbol, posture, blinkingEye };
        Type type = Type::symbol;
        std::string symbolName; ///< the icon's name, for `symbol`
        bool operator==(const Glyph&) const = default;
    };
    struct Button {
        enum class Role { confirm, dismiss, snooze, skip, undo };
        std::string title;
        Role role = Role::dismiss;
        bool operator==(const Button&) const = default;
    };

    std::optional<Glyph> glyph;
    std::string title; ///< a dialog's message; capsules do not show it
    std::string body;  ///< a capsule's text, or a dialog's informative text
    bool isWarning = false;
    std::vector<Button> buttons;

    bool operator==(const Notice&) const = default;

    /// The role of the button at `index`; `dismiss` for an index outside the buttons.
    Button::Role role(long long index) const;
    /// Whether the capsule takes clicks (it has buttons) or lets them through.
    bool acceptsClicks() const { return !buttons.empty(); }

    /// The pre-break countdown; its text is set live.
    static Notice preBreakCapsule(bool snoozeAllowed);
    static Notice overtimeCapsule(std::string_view text);
    static Notice wellnessCapsule(WellnessNudge::Kind kind);
    static Notice awayUndoToast(std::string_view body);
    /// Explains a permission before asking for it.
    static Notice permissionRequest(std::string_view permissionTitle, std::string_view explanation,
                                    bool needsRelaunch);
    static Notice saverInstalled();
    static Notice saverInstallFailed(std::string_view reason);
    static Notice invalidPlannedBreaks(std::string_view body);
};

} // namespace sorvala
