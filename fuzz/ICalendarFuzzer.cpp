// SPDX-License-Identifier: MIT
// Calendar files (.ics) as other programs write them: parsed, recurrences expanded, and only
// occurrences that overlap the asked window come back.
#include "FuzzSupport.h"

#include "platform/calendar/ICalendarSources.h"

#include <cstdlib>

using namespace sorvala;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ScratchFolder scratch;
    const auto file = scratch.fresh() / "calendar.ics";
    scratch.write("calendar.ics", fuzz::text(data, size));

    // A fresh reader each time: the kept parse is keyed on size and modification time.
    ICalendarSources sources;
    const Instant from = Instant::fromSecondsSinceEpoch(1796601600); // 2026-12-07T00:00:00Z
    const Instant to = from + 24 * 3600;
    for (const auto& event : sources.occurrences({file.string()}, from, to))
        fuzz::require(event.start <= to && event.end >= from, "every occurrence overlaps the window");
    return 0;
}
