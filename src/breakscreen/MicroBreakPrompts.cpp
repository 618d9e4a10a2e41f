// SPDX-License-Identifier: MIT
#include "breakscreen/MicroBreakPrompts.h"

#include "drawing/Settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace sorvala {

namespace MicroBreakPrompts {

const std::array<MicroBreakPrompt, 16>& all() {
    static const std::array<MicroBreakPrompt, 16> catalogue = {{
        {"Look at something 20 feet away",
         "Soften your gaze and let it drift to the far side of the room. The ring is keeping the time for you.",
         "BREATHE IN  \u00b7  BREATHE OUT"},
        {"Blink, slowly and fully",
         "Screens cut your blink rate in half. Close your eyes gently, pause, and open \u2014 a few times \u2014 to "
         "rewet them.",
         "CLOSE  \u00b7  OPEN"},
        {"Rest your eyes in your palms",
         "Cup your warmed palms lightly over closed eyes. No pressure \u2014 just soft darkness while the ring "
         "winds down.",
         "BREATHE IN  \u00b7  BREATHE OUT"},
        {"Trace the edge of the room",
         "Let your eyes travel slowly along where the walls meet the ceiling. Far, unhurried focus loosens tired "
         "muscles.",
         "BREATHE IN  \u00b7  BREATHE OUT"},
        {"Find the farthest thing you can see",
         "Look out a window if you have one, to the horizon or a distant tree. Distance is rest for the eyes.",
         "BREATHE IN  \u00b7  BREATHE OUT"},
        {"Shift near, then far",
         "Focus on your thumb up close, then on something across the room. Move gently between them a few times.",
         "NEAR  \u00b7  FAR"},
        {"Take one slow breath",
         "In through the nose for four, out through the mouth for six. One good breath resets more than you\u2019d "
         "think.",
         std::nullopt},
        {"Let your shoulders drop",
         "Breathe in and lift them to your ears, then exhale and let them fall. Notice how far they\u2019d crept up.",
         "RISE  \u00b7  FALL"},
        {"Unclench your jaw",
         "Let your teeth part and your tongue rest soft. Soften your forehead and the space between your brows.",
         std::nullopt},
        {"Sit tall and lengthen your neck",
         "Imagine a thread lifting the crown of your head. Let your spine stack itself without strain.",
         std::nullopt},
        {"Roll your shoulders back",
         "Slow circles, back and down, a few times. Undo the quiet hunch a screen pulls you into.",
         "BACK  \u00b7  DOWN"},
        {"Draw your shoulder blades together",
         "Gently squeeze them toward each other, hold a breath, release. It opens the chest a typing posture "
         "closes.",
         "SQUEEZE  \u00b7  RELEASE"},
        {"Stretch your hands open",
         "Spread your fingers wide, then let them relax. Roll your wrists slowly in each direction.",
         "SPREAD  \u00b7  RELAX"},
        {"Stand, if you can",
         "Rise, let the blood move, and gaze softly at nothing in particular until the ring runs out.",
         std::nullopt},
        {"Look away and name three sounds",
         "Let your eyes go loose and just listen \u2014 the room, outside, your own breath. A small return to the "
         "present.",
         std::nullopt},
        {"Sip some water", "Reach for your glass. A pause to hydrate is a pause well spent.", std::nullopt},
    }};
    return catalogue;
}

MicroBreakPrompt next(const std::optional<MicroBreakPrompt>& previous, const RandomBelow& randomBelow) {
    const auto& catalogue = all();
    std::vector<const MicroBreakPrompt*> candidates;
    for (const auto& prompt : catalogue)
        if (!previous || prompt != *previous)
            candidates.push_back(&prompt);
    // Only the catalogue's own entries are ever removed, so at least fifteen remain.
    const auto pick = std::min<std::uint64_t>(randomBelow(candidates.size()), candidates.size() - 1);
    return *candidates[pick];
}

MicroBreakPrompt next(const std::optional<MicroBreakPrompt>& previous) {
    return next(previous, [](std::uint64_t bound) { return secureRandomBelow(bound); });
}

} // namespace MicroBreakPrompts

namespace MicroBreakDisplay {

std::string countdownText(double remainingSeconds) {
    // Minutes and two-digit seconds, the way the menu bar writes durations.
    const auto whole = static_cast<long long>(std::max(0.0, std::round(remainingSeconds)));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld", whole / 60, whole % 60);
    return buffer;
}

double ringFraction(double remainingSeconds, double restSeconds) {
    if (!(restSeconds > 0))
        return 0;
    return std::clamp(remainingSeconds / restSeconds, 0.0, 1.0);
}

double glowOpacity(double breath) {
    return 0.5 + 0.4 * std::clamp(breath, 0.0, 1.0);
}

} // namespace MicroBreakDisplay

} // namespace sorvala
