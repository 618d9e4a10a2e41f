// SPDX-License-Identifier: MIT
#include "notices/PreBreakOverlay.h"

#include <algorithm>
#include <cmath>

namespace sorvala::PreBreakOverlay {

std::string_view displayName(Position position) {
    switch (position) {
    case Position::topLeft: return "Top left";
    case Position::topCenter: return "Top center";
    case Position::topRight: return "Top right";
    }
    return "Top center";
}

Position position(long long raw) {
    if (raw == 0)
        return Position::topLeft;
    if (raw == 2)
        return Position::topRight;
    return Position::topCenter;
}

std::string text(double secondsRemaining) {
    // Clamped before the cast: a NaN or an absurd value must not become an undefined conversion.
    const double seconds = std::isfinite(secondsRemaining) ? std::clamp(secondsRemaining, 0.0, 1e9) : 0.0;
    return "Break in " + std::to_string(static_cast<long long>(seconds)) + "\u2026";
}

double dimAlpha(double secondsRemaining, double totalSeconds) {
    if (totalSeconds <= 0)
        return maximumDimAlpha;
    const double fraction = 1 - secondsRemaining / totalSeconds;
    if (!(fraction > 0))
        return 0;
    return std::min(fraction, 1.0) * maximumDimAlpha;
}

Point topLeftPoint(Position position, double panelWidth, const Rect& visible, double margin) {
    const double y = visible.y + margin;
    switch (position) {
    case Position::topLeft: return {visible.x + margin, y};
    case Position::topRight: return {visible.x + visible.width - panelWidth - margin, y};
    case Position::topCenter: break;
    }
    return {visible.x + visible.width / 2 - panelWidth / 2, y};
}

} // namespace sorvala::PreBreakOverlay
