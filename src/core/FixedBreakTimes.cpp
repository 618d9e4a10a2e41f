// SPDX-License-Identifier: MIT
#include "core/FixedBreakTimes.h"

#include "core/Text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace sorvala {

namespace {

std::vector<std::string_view> nonEmptyPieces(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    while (true) {
        const auto at = text.find(separator);
        const std::string_view piece = text.substr(0, at);
        if (!piece.empty())
            pieces.push_back(piece);
        if (at == std::string_view::npos)
            return pieces;
        text.remove_prefix(at + 1);
    }
}

// A whole decimal number with an optional leading sign, nothing else.
std::optional<int> wholeNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::string ClockTime::formatted() const {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", hour, minute);
    return buffer;
}

std::vector<ClockTime> FixedBreakTimes::parse(std::string_view text) {
    std::vector<ClockTime> times;
    for (const std::string_view piece : nonEmptyPieces(text, ',')) {
        const auto parts = nonEmptyPieces(piece, ':');
        if (parts.size() != 2)
            continue;
        const auto hour = wholeNumber(Text::trimmed(parts[0]));
        const auto minute = wholeNumber(Text::trimmed(parts[1]));
        if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59)
            continue;
        times.push_back(ClockTime{*hour, *minute});
    }
    return times;
}

std::string FixedBreakTimes::formatted(std::vector<ClockTime> times) {
    std::stable_sort(times.begin(), times.end());
    std::vector<std::string> texts;
    for (const ClockTime time : times)
        texts.push_back(time.formatted());
    return Text::joined(texts);
}

std::optional<Instant> FixedBreakTimes::nextFireDate(Instant after, const std::vector<ClockTime>& times,
                                                     const Calendar& calendar) {
    std::optional<Instant> earliest;
    for (const ClockTime time : times) {
        const Instant candidate = calendar.nextTime(after, time.hour, time.minute);
        if (!earliest || candidate < *earliest)
            earliest = candidate;
    }
    return earliest;
}

} // namespace sorvala
