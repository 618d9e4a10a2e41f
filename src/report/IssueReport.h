// SPDX-License-Identifier: MIT
#pragma once

#include "core/CivilDay.h"
#include "core/Instant.h"
#include "i18n/I18n.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

class Calendar;

/// The issue report without its window or the network: the day window, the slicing of log lines
/// by time, the size cap, validation, the payload and what the server's answer means.
namespace IssueReport {

/// UTF-8 bytes of attached log text at most.
inline constexpr std::size_t attachmentLimitBytes = 1000000;
/// UTF-16 code units of the message at most.
inline constexpr std::size_t messageLimitCharacters = 10000;
/// The attached text when the chosen days hold no log lines.
inline constexpr std::string_view noLinesText = "[no log lines in the selected range]";

/// A half-open interval of time.
struct Window {
    Instant start;
    Instant end;
    bool operator==(const Window&) const = default;
};

/// From the start of the day of `from` to the start of the day after `to`.
Window dayWindow(Instant from, Instant to, const Calendar& calendar);
/// The same for two calendar days.
Window dayWindow(CivilDay from, CivilDay to, const Calendar& calendar);

/// The lines, in order, whose leading timestamp lies in [start, end); unreadable ones are dropped.
std::vector<std::string> slice(const std::vector<std::string>& lines, Instant start, Instant end);
/// The last lines that fit `limitBytes` when joined by newlines, after a note saying how many
/// earlier lines were dropped; the lines unchanged when all fit.
std::vector<std::string> cap(const std::vector<std::string>& lines, std::size_t limitBytes);
/// UTF-16 code units of UTF-8 `text`.
std::size_t utf16Length(std::string_view text);
/// Whether the message is within the limit.
bool messageFitsLimit(std::string_view message);

/// The log text of the days in `window`, read from `files` oldest first, sliced and capped.
std::string collectLogText(const std::vector<std::filesystem::path>& files, Window window,
                           std::size_t limitBytes = attachmentLimitBytes);

/// Whether `email` (already trimmed) looks like an address: name@domain.tld, no spaces.
bool looksLikeEmail(std::string_view email);

/// What the form says about its fields.
struct Validation {
    bool canSend = false;
    bool messageTooLong = false;
};
/// Checks the trimmed e-mail, the trimmed message and, when logs are included, the day range.
Validation validate(std::string_view email, std::string_view message, bool includeLogs, CivilDay from,
                    CivilDay to);
/// "Message is over 10,000 characters." with the limit already formatted for the user's locale.
std::string messageTooLongText(std::string_view formattedLimit);

/// The text sent as the e-mail and the message: without surrounding white space.
std::string trimmedField(std::string_view text);

/// Everything one report carries.
struct Payload {
    std::string appBuild;
    std::string deviceId;
    std::optional<std::string> deviceName;
    std::string email;
    std::optional<std::string> logs;
    std::string message;
};
/// One JSON object with sorted keys; absent fields left out. Bytes that are not UTF-8 are
/// replaced, so a damaged log line never stops a report.
std::optional<std::string> payload(const Payload& fields);

/// How the server answered.
enum class ServerResult { success, rejected, rateLimited, unreachable };
/// "success", "rejected", "rateLimited", "unreachable".
std::string_view text(ServerResult result);
/// The result of an HTTP status; no status means no answer.
ServerResult serverResult(std::optional<int> httpStatus);
/// The sentence the window shows for a result.
std::string statusText(ServerResult result);
/// The support endpoint under `baseAddress`: its path "api/report" joined with one "/".
std::string endpoint(std::string_view baseAddress);

/// The window's texts while working.
/// Shown as they are, each translated where it is shown.
inline constexpr std::string_view sendingText = I18N_NOOP("Sending…");
inline constexpr std::string_view couldNotPrepareText = I18N_NOOP("Could not prepare the report.");

} // namespace IssueReport

} // namespace sorvala
