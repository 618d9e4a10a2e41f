// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/DesignTokens.h"

namespace sorvala {

/// The break screen's twelve colours for a light or a dark theme.
struct BreakPalette {
    using Colour = DesignTokens::Colour;
    Colour text;
    Colour accent;
    Colour gradientWash;
    Colour ringTrack;
    Colour glow;
    Colour topName;
    Colour topKicker;
    Colour seconds;
    Colour subtitle;
    Colour escapeHint;
    Colour skipFill;
    Colour skipBorder;
    bool operator==(const BreakPalette&) const = default;

    /// The dark palette when `isDark`, else the paper one; the accent matches the default ink.
    static BreakPalette resolve(bool isDark);
};

} // namespace sorvala
