// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"
#include "core/Calendar.h"
#include "core/FileWriting.h"
#include "core/Logger.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// A whole history, shared rather than copied: the cache hands out the same list until the file changes.
using BreakEvents = std::shared_ptr<const std::vector<BreakEvent>>;

/// The decoded history of one file, kept while the file's modification time and size stay the same.
class EventLogCache {
public:
    /// What identifies one state of the file.
    struct Stamp {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };

    /// The cached events when `stamp` matches the kept one; otherwise the result of `parse`, kept
    /// under `stamp` (or, without a stamp, not kept at all).
    BreakEvents events(const std::optional<Stamp>& stamp, const std::function<BreakEvents()>& parse);

private:
    std::optional<std::pair<Stamp, BreakEvents>> m_decoded;
};

/// Reads one history file: decodes it when its stamp changes and logs damage once per reader.
class BreakLogReader {
public:
    explicit BreakLogReader(std::filesystem::path url);

    /// The whole history in file order; empty when the file is missing, unreadable or not UTF-8.
    BreakEvents events(Logger& log);

    /// The events dated from `from` on, in file order, read backwards from the end of the file
    /// only as far as the first record a day older than `from`: records are appended as breaks
    /// happen, and the day's margin covers a clock set back. What the menu and a heads-up ask
    /// costs the last days of a history, not years of it, and keeps nothing decoded. Damage in
    /// the part read is handled as by `events`.
    std::vector<BreakEvent> eventsSince(Instant from, Logger& log);

    const std::filesystem::path& url() const { return m_url; }

private:
    void reportDamage(Logger& log, const std::string& message);

    std::filesystem::path m_url;
    std::mutex m_lock;
    EventLogCache m_cache;
    bool m_reportedDamagedHistory = false;
};

/// The append-only break history: one JSON object per line.
namespace BreakLog {

/// `$XDG_DATA_HOME/Sorvala/break-events.jsonl`.
std::filesystem::path fileURL();

/// The stored line of an event, without the line feed; nullopt when it cannot be encoded (a
/// duration that is not a finite number).
std::optional<std::string> encode(const BreakEvent& event);
/// The event one stored line holds; nullopt for anything that is not a well-formed record.
std::optional<BreakEvent> decodeLine(std::string_view line);
/// The two readers `decodeLine` is made of, apart so they can be checked against each other: the
/// quick one reads only the exact form `encode` writes, the general one any JSON object, and
/// wherever the quick one answers the general one must answer the same.
std::optional<BreakEvent> decodeWrittenForm(std::string_view line);
std::optional<BreakEvent> decodeAnyForm(std::string_view line);

/// What `decode` found: the events in file order and the number of lines it had to skip.
struct Decoded {
    std::vector<BreakEvent> events;
    int undecodableLines = 0;
};
/// Decodes JSON Lines text; blank lines are neither events nor damage.
Decoded decode(std::string_view text);

/// "break taken kind=long duration=312s": what `record` reports before writing.
std::string reportLine(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> durationSeconds);

/// Appends one event dated `now` to `to`. The report line goes to `report` first; a failure to
/// encode or append is reported there too and the event is lost.
void record(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> durationSeconds, Instant now,
            Logger& report, const std::filesystem::path& to = fileURL(),
            const OpenForWriting& openForWriting = openExistingForAppending);

/// Whether a break that ended on the break screen leaves a record: a completed one always; an
/// unfinished one only when the user neither started it by hand nor did the application end it.
bool shouldRecord(bool completed, bool startedManually, bool endedByApp);

/// The user's history through the process-wide reader of `fileURL()`.
BreakEvents events(Logger& log);

/// The CSV export: header "date,kind,outcome,duration_seconds", dates in the calendar's zone,
/// durations rounded to whole seconds (halves away from zero), empty when absent.
std::string csv(const std::vector<BreakEvent>& events, const Calendar& timeZone);

} // namespace BreakLog

} // namespace sorvala
