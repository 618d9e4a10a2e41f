// SPDX-License-Identifier: MIT
#pragma once

#include "core/Clock.h"
#include "core/FileWriting.h"
#include "core/Instant.h"
#include "core/Logger.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// The application log: one dated line per event, appended under the process-wide write lock,
/// rotated into numbered generations past a size limit.
class AppLogger final : public Logger {
public:
    /// The size past which the log is rotated before the next line (five million bytes).
    static constexpr std::uintmax_t maximumBytes = 5000000;
    /// How many older generations rotation keeps beside the current file.
    static constexpr int keptGenerations = 3;

    /// `$XDG_STATE_HOME/Sorvala/Sorvala.log`.
    static std::filesystem::path fileURL();
    /// Generation `n` (n >= 1) of a log file: its path with "." + n appended.
    static std::filesystem::path generationURL(int n, const std::filesystem::path& of = fileURL());

    /// The line for `message` at `date`, without the line feed: "2026-12-05T19:23:07Z message".
    static std::string line(std::string_view message, Instant date);
    /// The date a log line begins with; nullopt when there is no space or no timestamp before it.
    static std::optional<Instant> timestamp(std::string_view line);

    /// The locked append of arbitrary bytes, shared with the break history.
    static std::optional<AppendFailure> append(std::string_view data, const std::filesystem::path& url,
                                               const OpenForWriting& openForWriting = openExistingForAppending);
    /// Moves the current file to generation 1 (and older ones up) when it is larger than
    /// `maximumBytes`; every failing step is skipped. The caller holds the write lock.
    static void rotateIfNeeded(const std::filesystem::path& url, std::uintmax_t maximumBytes, int keptGenerations);

    /// Writes one line dated `now`, rotating first when the file is past `rotateAbove` bytes.
    /// Never fails loudly.
    static void log(std::string_view message, const std::filesystem::path& url, Instant now,
                    const OpenForWriting& openForWriting = openExistingForAppending,
                    std::uintmax_t rotateAbove = maximumBytes);

    /// The line of an uncaught failure: "EXCEPTION " + name + ": " + reason (or "no reason") + " "
    /// + the call stack joined by " | ".
    static std::string exceptionMessage(std::string_view name, std::string_view reason,
                                        const std::vector<std::string>& callStack);
    /// The symbols of the current call stack, innermost first.
    static std::vector<std::string> callStackSymbols();
    /// Logs an uncaught failure to the file the handler was installed for, waiting only briefly for
    /// the write lock (the failing thread may hold it).
    static void logUncaught(std::string_view name, std::string_view reason);
    /// Makes std::terminate write the "EXCEPTION " line to `url` before the process ends.
    static void installExceptionHandler(const std::filesystem::path& url = fileURL());

    /// A logger writing to `url`, dating lines by `clock`.
    explicit AppLogger(const Clock& clock, std::filesystem::path url = fileURL());

    void log(std::string_view message) override;

private:
    const Clock& m_clock;
    std::filesystem::path m_url;
};

} // namespace sorvala
