// SPDX-License-Identifier: MIT
#include "report/IssueReport.h"

#include "core/Calendar.h"
#include "core/Text.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <regex>

namespace sorvala::IssueReport {

namespace {

std::optional<Instant> lineTimestamp(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    return parseIso8601(line.substr(0, space));
}

/// How many trailing lines fit `budget` bytes joined by newlines.
std::size_t trailingLinesFitting(const std::vector<std::string>& lines, std::size_t budget) {
    std::size_t used = 0;
    std::size_t count = 0;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const std::size_t cost = line->size() + (count > 0 ? 1 : 0);
        if (used + cost > budget)
            break;
        used += cost;
        ++count;
    }
    return count;
}

std::string truncationNote(std::size_t dropped) {
    return "[truncated: " + std::to_string(dropped) + " earlier line" + (dropped == 1 ? "" : "s") +
           " dropped]";
}

void appendLines(std::string_view text, std::vector<std::string>& lines) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            lines.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

} // namespace

Window dayWindow(Instant from, Instant to, const Calendar& calendar) {
    return dayWindow(calendar.day(from), calendar.day(to), calendar);
}

Window dayWindow(CivilDay from, CivilDay to, const Calendar& calendar) {
    return {calendar.startOfDay(from), calendar.endOfDay(to)};
}

std::vector<std::string> slice(const std::vector<std::string>& lines, Instant start, Instant end) {
    std::vector<std::string> kept;
    for (const auto& line : lines) {
        const auto stamp = lineTimestamp(line);
        if (stamp && *stamp >= start && *stamp < end)
            kept.push_back(line);
    }
    return kept;
}

std::vector<std::string> cap(const std::vector<std::string>& lines, std::size_t limitBytes) {
    if (trailingLinesFitting(lines, limitBytes) == lines.size())
        return lines;
    const std::string widestNote = truncationNote(lines.size());
    const std::size_t reserved = widestNote.size() + 1;
    const std::size_t kept = limitBytes > reserved ? trailingLinesFitting(lines, limitBytes - reserved) : 0;
    std::vector<std::string> capped;
    capped.reserve(kept + 1);
    capped.push_back(truncationNote(lines.size() - kept));
    capped.insert(capped.end(), lines.end() - static_cast<std::ptrdiff_t>(kept), lines.end());
    return capped;
}

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte belongs to the character already counted
        units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

bool messageFitsLimit(std::string_view message) {
    return utf16Length(message) <= messageLimitCharacters;
}

std::string collectLogText(const std::vector<std::filesystem::path>& files, Window window,
                           std::size_t limitBytes) {
    std::vector<std::string> lines;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            continue; // a generation that does not exist yet
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        appendLines(text, lines);
    }
    const auto sliced = slice(lines, window.start, window.end);
    if (sliced.empty())
        return std::string(noLinesText);
    std::string joined;
    for (const auto& line : cap(sliced, limitBytes)) {
        if (!joined.empty())
            joined += '\n';
        joined += line;
    }
    return joined;
}

bool looksLikeEmail(std::string_view email) {
    static const std::regex shape(R"([^\s@]+@[^\s@]+\.[^\s@]+)");
    return std::regex_match(email.begin(), email.end(), shape);
}

std::string trimmedField(std::string_view text) {
    return std::string(Text::trimmed(text));
}

Validation validate(std::string_view email, std::string_view message, bool includeLogs, CivilDay from,
                    CivilDay to) {
    const std::string body = trimmedField(message);
    Validation result;
    result.messageTooLong = !messageFitsLimit(body);
    const bool rangeOk = !includeLogs || from <= to;
    result.canSend =
        looksLikeEmail(trimmedField(email)) && !body.empty() && !result.messageTooLong && rangeOk;
    return result;
}

std::string messageTooLongText(std::string_view formattedLimit) {
    // TRANSLATORS: %1 is a large number written the user's way, such as "10,000".
    return i18n("Message is over %1 characters.", formattedLimit);
}

std::optional<std::string> payload(const Payload& fields) {
    nlohmann::json object = nlohmann::json::object();
    object["appBuild"] = fields.appBuild;
    object["deviceId"] = fields.deviceId;
    if (fields.deviceName)
        object["deviceName"] = *fields.deviceName;
    object["email"] = fields.email;
    if (fields.logs)
        object["logs"] = *fields.logs;
    object["message"] = fields.message;
    try {
        // nlohmann's object keeps its keys sorted.
        return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

std::string_view text(ServerResult result) {
    switch (result) {
    case ServerResult::success: return "success";
    case ServerResult::rejected: return "rejected";
    case ServerResult::rateLimited: return "rateLimited";
    case ServerResult::unreachable: return "unreachable";
    }
    return "unreachable";
}

ServerResult serverResult(std::optional<int> httpStatus) {
    if (!httpStatus)
        return ServerResult::unreachable;
    const int status = *httpStatus;
    if (status == 429)
        return ServerResult::rateLimited;
    if (status >= 200 && status <= 299)
        return ServerResult::success;
    if (status >= 400 && status <= 499)
        return ServerResult::rejected;
    return ServerResult::unreachable;
}

std::string statusText(ServerResult result) {
    switch (result) {
    case ServerResult::success: return i18n("Sent — thank you.");
    case ServerResult::rejected: return i18n("The server refused the report — check the email address.");
    case ServerResult::rateLimited: return i18n("Too many requests — try again in an hour.");
    case ServerResult::unreachable: return i18n("Could not send — check your connection.");
    }
    return {};
}

std::string endpoint(std::string_view baseAddress) {
    while (!baseAddress.empty() && baseAddress.back() == '/')
        baseAddress.remove_suffix(1);
    return std::string(baseAddress) + "/api/report";
}

} // namespace sorvala::IssueReport
