// SPDX-License-Identifier: MIT
#include "notices/PreBreakOverlay.h"

#include "i18n/I18n.h"

#include <algorithm>
#include <cmath>

namespace sorvala::PreBreakOverlay {

std::string displayName(Position position) {
    switch (position) {
    case Position::topLeft: return i18nc("overlay position", "Top left");
    case Position::topCenter: return i18nc("overlay position", "Top center");
    case Position::topRight: return i18nc("overlay position", "Top right");
    }
    return i18nc("overlay position", "Top center");
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
    // TRANSLATORS: %1 counts down the seconds.
    return i18n("Break in %1\u2026", static_cast<long long>(seconds));
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
