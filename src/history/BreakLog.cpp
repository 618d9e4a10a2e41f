// SPDX-License-Identifier: MIT
#include "history/BreakLog.h"

#include "core/UserDirectories.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace sorvala {

namespace {

/// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Plain ASCII dominates a history; skip it eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, p, 8);
            if (chunk & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i)
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        p += length;
    }
    return true;
}

std::string formatNumber(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

/// Consumes `prefix` from the front of `rest`.
bool consume(std::string_view& rest, std::string_view prefix) {
    if (rest.substr(0, prefix.size()) != prefix)
        return false;
    rest.remove_prefix(prefix.size());
    return true;
}

/// The text up to the next quote, which must carry no escape.
std::optional<std::string_view> plainString(std::string_view& rest) {
    const std::size_t end = rest.find('"');
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view value = rest.substr(0, end);
    if (value.find('\\') != std::string_view::npos)
        return std::nullopt;
    rest.remove_prefix(end + 1);
    return value;
}

/// A number in JSON's grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
std::optional<double> jsonNumber(std::string_view text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < text.size() && text[i] == '-')
        ++i;
    if (i < text.size() && text[i] == '0')
        ++i;
    else if (digits() == 0)
        return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (digits() == 0)
            return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

/// The exact form `encode` writes, read without a general JSON parser: a history is almost all
/// such lines, and reading them this way is several times faster. Anything else answers nullopt
/// and goes to the general reader, which has the last word.
std::optional<BreakEvent> readWrittenForm(std::string_view rest) {
    if (!consume(rest, "{\"date\":\""))
        return std::nullopt;
    const auto date = plainString(rest);
    if (!date || !consume(rest, ",\"kind\":\""))
        return std::nullopt;
    const auto kind = plainString(rest);
    if (!kind || !consume(rest, ",\"outcome\":\""))
        return std::nullopt;
    const auto outcome = plainString(rest);
    if (!outcome)
        return std::nullopt;
    std::optional<double> duration;
    if (consume(rest, ",\"durationSeconds\":")) {
        if (rest.empty() || rest.back() != '}')
            return std::nullopt;
        duration = jsonNumber(rest.substr(0, rest.size() - 1));
        if (!duration)
            return std::nullopt;
    } else if (rest != "}") {
        return std::nullopt;
    }
    const auto instant = parseIso8601(*date);
    const auto kindValue = kindFromText(*kind);
    const auto outcomeValue = outcomeFromText(*outcome);
    if (!instant || !kindValue || !outcomeValue)
        return std::nullopt;
    return BreakEvent{*instant, *kindValue, *outcomeValue, duration};
}

/// A whole number of seconds as text, for any finite value (a cast could overflow); never "-0".
std::string wholeSeconds(double rounded) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", rounded + 0.0);
    return buffer;
}

std::optional<EventLogCache::Stamp> stampOf(const std::filesystem::path& url) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(url, error);
    if (error)
        return std::nullopt;
    const auto size = std::filesystem::file_size(url, error);
    if (error)
        return std::nullopt;
    return EventLogCache::Stamp{modified, size};
}

/// Reads the whole file into `bytes`; false when it cannot be opened or read (a folder, say).
bool readWholeFile(const std::filesystem::path& url, std::string& bytes) {
    const int descriptor = ::open(url.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && status.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(descriptor);
    return ok;
}

/// Reads `size` bytes at `offset`; false on a read error or a file that shrank meanwhile.
bool readAt(int descriptor, char* into, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t count = ::pread(descriptor, into, size, offset);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        into += count;
        size -= static_cast<std::size_t>(count);
        offset += count;
    }
    return true;
}

BreakEvents emptyHistory() {
    static const BreakEvents empty = std::make_shared<const std::vector<BreakEvent>>();
    return empty;
}

} // namespace

BreakEvents EventLogCache::events(const std::optional<Stamp>& stamp, const std::function<BreakEvents()>& parse) {
    if (stamp && m_decoded && m_decoded->first == *stamp)
        return m_decoded->second;
    BreakEvents events = parse();
    if (stamp)
        m_decoded.emplace(*stamp, events);
    else
        m_decoded.reset();
    return events;
}

BreakLogReader::BreakLogReader(std::filesystem::path url) : m_url(std::move(url)) {}

void BreakLogReader::reportDamage(Logger& log, const std::string& message) {
    if (m_reportedDamagedHistory)
        return;
    m_reportedDamagedHistory = true;
    log.log(message);
}

BreakEvents BreakLogReader::events(Logger& log) {
    std::lock_guard lock(m_lock);
    return m_cache.events(stampOf(m_url), [&]() -> BreakEvents {
        std::string bytes;
        if (!readWholeFile(m_url, bytes)) {
            std::error_code error;
            if (std::filesystem::exists(m_url, error))
                reportDamage(log, "break history unreadable at " + m_url.string() + "; every statistic reads as empty");
            return emptyHistory();
        }
        if (!isValidUtf8(bytes)) {
            reportDamage(log, "break history is not valid UTF-8; every statistic reads as empty");
            return emptyHistory();
        }
        BreakLog::Decoded decoded = BreakLog::decode(bytes);
        if (decoded.undecodableLines > 0)
            reportDamage(log, "break history has " + std::to_string(decoded.undecodableLines) +
                                  " undecodable line(s); " + std::to_string(decoded.events.size()) +
                                  " event(s) still readable");
        return std::make_shared<const std::vector<BreakEvent>>(std::move(decoded.events));
    });
}

std::vector<BreakEvent> BreakLogReader::eventsSince(Instant from, Logger& log) {
    std::lock_guard lock(m_lock);
    const auto unreadable = [&] {
        reportDamage(log, "break history unreadable at " + m_url.string() + "; every statistic reads as empty");
        return std::vector<BreakEvent>();
    };
    const int descriptor = ::open(m_url.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        std::error_code error;
        return std::filesystem::exists(m_url, error) ? unreadable() : std::vector<BreakEvent>();
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return unreadable();
    }
    const Instant oldestNeeded = from - 86400.0;
    std::vector<BreakEvent> newestFirst;
    int undecodableLines = 0;
    // `pending` holds the bytes from `start` to where the lines already decoded begin; its first
    // line may have begun in the part not read yet.
    std::string pending;
    off_t start = status.st_size;
    bool reachedOlder = false;
    while (start > 0 && !reachedOlder) {
        const off_t size = std::min<off_t>(start, 1 << 16);
        start -= size;
        std::string bytes(static_cast<std::size_t>(size), '\0');
        if (!readAt(descriptor, bytes.data(), bytes.size(), start)) {
            ::close(descriptor);
            return unreadable();
        }
        pending = bytes + pending;
        const std::size_t firstLineEnd = start > 0 ? pending.find('\n') : std::string::npos;
        if (start > 0 && firstLineEnd == std::string::npos)
            continue;
        const std::size_t complete = start > 0 ? firstLineEnd + 1 : 0;
        const std::string_view lines = std::string_view(pending).substr(complete);
        if (!isValidUtf8(lines)) {
            ::close(descriptor);
            reportDamage(log, "break history is not valid UTF-8; every statistic reads as empty");
            return {};
        }
        std::size_t end = lines.size();
        while (end > 0 && !reachedOlder) {
            const std::size_t lineStart = lines.rfind('\n', end - 1);
            const std::size_t begin = lineStart == std::string_view::npos ? 0 : lineStart + 1;
            const std::string_view line = lines.substr(begin, end - begin);
            end = begin == 0 ? 0 : begin - 1;
            if (line.empty())
                continue;
            if (const auto event = BreakLog::decodeLine(line)) {
                if (event->date < oldestNeeded)
                    reachedOlder = true;
                else if (event->date >= from)
                    newestFirst.push_back(*event);
            } else {
                ++undecodableLines;
            }
        }
        pending.resize(complete > 0 ? complete - 1 : 0);
    }
    ::close(descriptor);
    if (undecodableLines > 0)
        reportDamage(log, "break history has " + std::to_string(undecodableLines) +
                              " undecodable line(s) among its recent records");
    return {newestFirst.rbegin(), newestFirst.rend()};
}

namespace BreakLog {

std::filesystem::path fileURL() {
    return UserDirectories::dataHome() / "Sorvala" / "break-events.jsonl";
}

std::optional<std::string> encode(const BreakEvent& event) {
    if (event.durationSeconds && !std::isfinite(*event.durationSeconds))
        return std::nullopt;
    // Written by hand to keep the members in their documented order; no member needs escaping.
    std::string line = "{\"date\":\"" + iso8601(event.date) + "\",\"kind\":\"";
    line += text(event.kind);
    line += "\",\"outcome\":\"";
    line += text(event.outcome);
    line += '"';
    if (event.durationSeconds)
        line += ",\"durationSeconds\":" + formatNumber(*event.durationSeconds);
    line += '}';
    return line;
}

std::optional<BreakEvent> decodeWrittenForm(std::string_view line) {
    return readWrittenForm(line);
}

std::optional<BreakEvent> decodeLine(std::string_view line) {
    if (auto event = readWrittenForm(line))
        return event;
    return decodeAnyForm(line);
}

std::optional<BreakEvent> decodeAnyForm(std::string_view line) {
    const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    if (!object.is_object())
        return std::nullopt;
    const auto member = [&](const char* name) -> const nlohmann::json* {
        const auto found = object.find(name);
        return found == object.end() ? nullptr : &*found;
    };
    const nlohmann::json* date = member("date");
    const nlohmann::json* kind = member("kind");
    const nlohmann::json* outcome = member("outcome");
    if (!date || !kind || !outcome || !date->is_string() || !kind->is_string() || !outcome->is_string())
        return std::nullopt;
    BreakEvent event;
    const auto instant = parseIso8601(date->get_ref<const std::string&>());
    const auto kindValue = kindFromText(kind->get_ref<const std::string&>());
    const auto outcomeValue = outcomeFromText(outcome->get_ref<const std::string&>());
    if (!instant || !kindValue || !outcomeValue)
        return std::nullopt;
    event.date = *instant;
    event.kind = *kindValue;
    event.outcome = *outcomeValue;
    if (const nlohmann::json* duration = member("durationSeconds"); duration && !duration->is_null()) {
        if (!duration->is_number())
            return std::nullopt;
        event.durationSeconds = duration->get<double>();
    }
    return event;
}

Decoded decode(std::string_view text) {
    Decoded decoded;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        if (auto event = decodeLine(line))
            decoded.events.push_back(*event);
        else
            ++decoded.undecodableLines;
    }
    return decoded;
}

std::string reportLine(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> durationSeconds) {
    std::string line = "break ";
    line += text(outcome);
    line += " kind=";
    line += text(kind);
    if (durationSeconds && std::isfinite(*durationSeconds))
        line += " duration=" + wholeSeconds(std::trunc(*durationSeconds)) + "s";
    return line;
}

void record(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> durationSeconds, Instant now,
            Logger& report, const std::filesystem::path& to, const OpenForWriting& openForWriting) {
    report.log(reportLine(kind, outcome, durationSeconds));
    const auto line = encode(BreakEvent{now, kind, outcome, durationSeconds});
    if (!line) {
        report.log("break event NOT recorded: encoding failed");
        return;
    }
    if (const auto failure = appendLocked(*line + "\n", to, openForWriting))
        report.log("break event NOT recorded: " + failure->description());
}

bool shouldRecord(bool completed, bool startedManually, bool endedByApp) {
    return completed || (!startedManually && !endedByApp);
}

BreakEvents events(Logger& log) {
    static BreakLogReader reader(fileURL());
    return reader.events(log);
}

std::string csv(const std::vector<BreakEvent>& events, const Calendar& timeZone) {
    std::string text = "date,kind,outcome,duration_seconds\n";
    text.reserve(text.size() + events.size() * 56);
    for (const auto& event : events) {
        text += iso8601(event.date, timeZone.utcOffsetSeconds(event.date));
        text += ',';
        text += sorvala::text(event.kind);
        text += ',';
        text += sorvala::text(event.outcome);
        text += ',';
        if (event.durationSeconds && std::isfinite(*event.durationSeconds))
            text += wholeSeconds(std::round(*event.durationSeconds));
        text += '\n';
    }
    return text;
}

} // namespace BreakLog

} // namespace sorvala
