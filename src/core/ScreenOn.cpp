// SPDX-License-Identifier: MIT
#include "core/ScreenOn.h"

#include "core/BreakTiming.h"
#include "core/PreferencesStore.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sorvala::ScreenOn {

void record(Instant date, PreferencesStore& defaults) {
    defaults.set(defaultsKey, date.secondsSinceReferenceDate());
}

std::optional<Instant> lastOnAt(const PreferencesStore& defaults) {
    const auto stored = defaults.object(defaultsKey);
    if (!stored)
        return std::nullopt;
    std::optional<double> seconds;
    if (const auto* number = std::get_if<double>(&*stored))
        seconds = *number;
    else if (const auto* whole = std::get_if<std::int64_t>(&*stored))
        seconds = static_cast<double>(*whole);
    else if (const auto* text = std::get_if<std::string>(&*stored)) {
        // A text store hands numbers back as text; anything else in it is not an instant.
        double parsed = 0;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), parsed);
        if (error == std::errc{} && end == text->data() + text->size())
            seconds = parsed;
    }
    if (!seconds || !std::isfinite(*seconds))
        return std::nullopt;
    return Instant::fromSecondsSinceReferenceDate(*seconds);
}

double threshold(int intervalMinutes) {
    return std::max(BreakTiming::idleResetThreshold, intervalMinutes * 60.0);
}

std::optional<double> darkSpanSeconds(std::optional<Instant> lastOnAt, Instant now, double thresholdSeconds) {
    if (!lastOnAt || !(now - *lastOnAt > thresholdSeconds))
        return std::nullopt;
    return now - *lastOnAt;
}

Action action(std::optional<Instant> lastOnAt, Instant now, bool anyScreenIsOn, double thresholdSeconds) {
    if (!anyScreenIsOn)
        return Wait{};
    if (const auto span = darkSpanSeconds(lastOnAt, now, thresholdSeconds))
        return CreditThenRecord{*span};
    return Record{};
}

Tick tick(std::optional<Instant> returnedAt, std::optional<Instant> lastOnAt, std::optional<Instant> lastTickAt,
          Instant now, bool anyScreenIsOn, double thresholdSeconds, double graceSeconds) {
    if (!anyScreenIsOn)
        return Tick{std::nullopt, Wait{}};
    if (lastTickAt && now - *lastTickAt >= staleTickSeconds)
        return Tick{now, Wait{}};
    if (!returnedAt)
        return Tick{now, Wait{}};
    if (now - *returnedAt < graceSeconds)
        return Tick{returnedAt, Wait{}};
    if (!lastOnAt)
        return Tick{returnedAt, Record{}};
    const double span = *returnedAt - *lastOnAt;
    if (span > thresholdSeconds)
        return Tick{returnedAt, CreditThenRecord{span}};
    return Tick{returnedAt, Record{}};
}

} // namespace sorvala::ScreenOn
