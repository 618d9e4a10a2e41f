// SPDX-License-Identifier: MIT
// Texts read back from the settings store, which a person may have edited by hand: the typed
// reads of a value ('0'), the planned break times ('1'), a stored shortcut ('2') and the saved
// session ('3'). Each one that has a writer must read back what it wrote.
#include "FuzzSupport.h"

#include "app/KeyboardShortcut.h"
#include "core/FixedBreakTimes.h"
#include "core/PreferencesStore.h"
#include "core/SessionState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace sorvala;

namespace {

void conversions(std::string_view text) {
    const PreferenceValue value{std::string(text)};
    PreferenceConversion::toBoolean(value);
    PreferenceConversion::toInteger(value);
    fuzz::require(std::isfinite(PreferenceConversion::toNumber(value)), "a text reads as a finite number");
    fuzz::require(PreferenceConversion::toText(value) == std::string(text), "a text reads as itself");

    // Numbers stored as text (the way a hand-edited file holds them) read back as the same number.
    if (text.size() < sizeof(double))
        return;
    std::int64_t whole = 0;
    double number = 0;
    std::memcpy(&whole, text.data(), sizeof whole);
    std::memcpy(&number, text.data(), sizeof number);
    fuzz::require(PreferenceConversion::toInteger(PreferenceValue{describe(PreferenceValue{whole})}) == whole,
                  "an integer written as text reads back the same");
    if (std::isfinite(number))
        fuzz::require(PreferenceConversion::toNumber(PreferenceValue{describe(PreferenceValue{number})}) ==
                          number,
                      "a number written as text reads back the same");
}

void plannedTimes(std::string_view text) {
    auto times = FixedBreakTimes::parse(text);
    const std::string written = FixedBreakTimes::formatted(times);
    std::stable_sort(times.begin(), times.end());
    fuzz::require(FixedBreakTimes::parse(written) == times, "planned times read back as written, in order");
    fuzz::require(FixedBreakTimes::formatted(times) == written, "formatting planned times is stable");
    const fuzz::UtcCalendar calendar;
    const Instant after = Instant::fromSecondsSinceEpoch(1.8e9);
    if (const auto next = FixedBreakTimes::nextFireDate(after, times, calendar))
        fuzz::require(*next > after && *next - after <= 86400, "the next planned break is within a day");
    else
        fuzz::require(times.empty(), "some time is next when any time is planned");
}

void shortcut(std::string_view text) {
    const auto read = KeyboardShortcut::fromEncoded(text);
    if (!read)
        return;
    read->displayString();
    fuzz::require(KeyboardShortcut::fromEncoded(read->encoded()) == read, "a shortcut reads back as written");
}

void session(std::string_view text) {
    const auto state = SessionState::decoded(text);
    if (!state)
        return;
    const auto written = state->encoded();
    fuzz::require(written.has_value(), "a session that was read can be written");
    fuzz::require(SessionState::decoded(*written) == state, "a session reads back as written");
    state->restored(state->savedAt + 60, state->version);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [reader, text] = fuzz::pick(data, size, 4);
    switch (reader) {
    case 0: conversions(text); break;
    case 1: plannedTimes(text); break;
    case 2: shortcut(text); break;
    default: session(text); break;
    }
    return 0;
}
