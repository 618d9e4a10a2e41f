// SPDX-License-Identifier: MIT
// The break history as it may be found on disk: every line through both readers, every event
// back through the encoder, and the whole history through the statistics built on it.
#include "FuzzSupport.h"

#include "history/BreakLog.h"
#include "history/ReportsPresentation.h"
#include "history/StatsPresentation.h"

#include <algorithm>

using namespace sorvala;

namespace {

void checkLine(std::string_view line) {
    const auto quick = BreakLog::decodeWrittenForm(line);
    const auto general = BreakLog::decodeAnyForm(line);
    if (quick)
        fuzz::require(general == quick, "the quick reader and the general one agree");
    const auto event = BreakLog::decodeLine(line);
    fuzz::require(event == (quick ? quick : general), "decodeLine answers what its readers answer");
    if (!event)
        return;
    const auto encoded = BreakLog::encode(*event);
    // A duration the encoder cannot write (the general reader takes 1e999 as infinity) stays unwritten.
    if (!encoded)
        return;
    fuzz::require(encoded->find('\n') == std::string::npos, "an encoded event is one line");
    fuzz::require(BreakLog::decodeWrittenForm(*encoded) == event, "an encoded event reads back the same");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::text(data, size);
    const BreakLog::Decoded decoded = BreakLog::decode(text);

    std::size_t lines = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) {
            checkLine(text.substr(start, end - start));
            ++lines;
        }
        start = end + 1;
    }
    fuzz::require(decoded.events.size() + static_cast<std::size_t>(decoded.undecodableLines) == lines,
                  "every non-empty line is an event or damage");

    const fuzz::UtcCalendar calendar;
    const Instant now = decoded.events.empty() ? Instant() : decoded.events.back().date;
    StatsPresentation::content(decoded.events, now, 20, calendar);
    ReportsPresentation::content(decoded.events, calendar);
    BreakLog::csv(decoded.events, calendar);
    return 0;
}
