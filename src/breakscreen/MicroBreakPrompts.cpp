// SPDX-License-Identifier: MIT
#include "breakscreen/MicroBreakPrompts.h"

#include "drawing/Settings.h"
#include "i18n/I18n.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace sorvala {

namespace MicroBreakPrompts {

const std::array<MicroBreakPrompt, 16>& all() {
    static const std::array<MicroBreakPrompt, 16> catalogue = {{
        {I18N_NOOP("Look at something 20 feet away"),
         I18N_NOOP("Soften your gaze and let it drift to the far side of the room. The ring is keeping the "
                   "time for you."),
         I18NC_NOOP("micro-break rhythm", "BREATHE IN  \u00b7  BREATHE OUT")},
        {I18N_NOOP("Blink, slowly and fully"),
         I18N_NOOP("Screens cut your blink rate in half. Close your eyes gently, pause, and open \u2014 a "
                   "few times \u2014 to rewet them."),
         I18NC_NOOP("micro-break rhythm", "CLOSE  \u00b7  OPEN")},
        {I18N_NOOP("Rest your eyes in your palms"),
         I18N_NOOP("Cup your warmed palms lightly over closed eyes. No pressure \u2014 just soft darkness "
                   "while the ring winds down."),
         I18NC_NOOP("micro-break rhythm", "BREATHE IN  \u00b7  BREATHE OUT")},
        {I18N_NOOP("Trace the edge of the room"),
         I18N_NOOP("Let your eyes travel slowly along where the walls meet the ceiling. Far, unhurried focus "
                   "loosens tired muscles."),
         I18NC_NOOP("micro-break rhythm", "BREATHE IN  \u00b7  BREATHE OUT")},
        {I18N_NOOP("Find the farthest thing you can see"),
         I18N_NOOP("Look out a window if you have one, to the horizon or a distant tree. Distance is rest "
                   "for the eyes."),
         I18NC_NOOP("micro-break rhythm", "BREATHE IN  \u00b7  BREATHE OUT")},
        {I18N_NOOP("Shift near, then far"),
         I18N_NOOP("Focus on your thumb up close, then on something across the room. Move gently between "
                   "them a few times."),
         I18NC_NOOP("micro-break rhythm", "NEAR  \u00b7  FAR")},
        {I18N_NOOP("Take one slow breath"),
         I18N_NOOP("In through the nose for four, out through the mouth for six. One good breath resets more "
                   "than you\u2019d think."),
         std::nullopt},
        {I18N_NOOP("Let your shoulders drop"),
         I18N_NOOP("Breathe in and lift them to your ears, then exhale and let them fall. Notice how far "
                   "they\u2019d crept up."),
         I18NC_NOOP("micro-break rhythm", "RISE  \u00b7  FALL")},
        {I18N_NOOP("Unclench your jaw"),
         I18N_NOOP("Let your teeth part and your tongue rest soft. Soften your forehead and the space "
                   "between your brows."),
         std::nullopt},
        {I18N_NOOP("Sit tall and lengthen your neck"),
         I18N_NOOP("Imagine a thread lifting the crown of your head. Let your spine stack itself without "
                   "strain."),
         std::nullopt},
        {I18N_NOOP("Roll your shoulders back"),
         I18N_NOOP("Slow circles, back and down, a few times. Undo the quiet hunch a screen pulls you into."),
         I18NC_NOOP("micro-break rhythm", "BACK  \u00b7  DOWN")},
        {I18N_NOOP("Draw your shoulder blades together"),
         I18N_NOOP("Gently squeeze them toward each other, hold a breath, release. It opens the chest a "
                   "typing posture closes."),
         I18NC_NOOP("micro-break rhythm", "SQUEEZE  \u00b7  RELEASE")},
        {I18N_NOOP("Stretch your hands open"),
         I18N_NOOP("Spread your fingers wide, then let them relax. Roll your wrists slowly in each "
                   "direction."),
         I18NC_NOOP("micro-break rhythm", "SPREAD  \u00b7  RELAX")},
        {I18N_NOOP("Stand, if you can"),
         I18N_NOOP("Rise, let the blood move, and gaze softly at nothing in particular until the ring runs "
                   "out."),
         std::nullopt},
        {I18N_NOOP("Look away and name three sounds"),
         I18N_NOOP("Let your eyes go loose and just listen \u2014 the room, outside, your own breath. A "
                   "small return to the present."),
         std::nullopt},
        {I18N_NOOP("Sip some water"),
         I18N_NOOP("Reach for your glass. A pause to hydrate is a pause well spent."),
         std::nullopt},
    }};
    return catalogue;
}

MicroBreakPrompt translated(const MicroBreakPrompt& tip) {
    MicroBreakPrompt shown{i18n(tip.prompt.c_str()), i18n(tip.subtitle.c_str()), std::nullopt};
    if (tip.cue)
        shown.cue = i18nc("micro-break rhythm", tip.cue->c_str());
    return shown;
}

MicroBreakPrompt next(const std::optional<MicroBreakPrompt>& previous, const RandomBelow& randomBelow) {
    std::vector<MicroBreakPrompt> candidates;
    for (const auto& prompt : all()) {
        // The previous tip was shown, so in the user's language.
        auto shown = translated(prompt);
        if (!previous || (shown != *previous && prompt != *previous))
            candidates.push_back(std::move(shown));
    }
    // Only the catalogue's own entries are ever removed, so at least fifteen remain.
    const auto pick = std::min<std::uint64_t>(randomBelow(candidates.size()), candidates.size() - 1);
    return candidates[pick];
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
