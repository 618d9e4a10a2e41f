// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

/// Why an append did not happen.
struct AppendFailure {
    enum class Reason {
        unopenable,     ///< the file exists but could not be opened for appending
        folderNotMade,  ///< the file's folder could not be created
        notWritten,     ///< creating the file or writing the bytes failed
    };
    Reason reason = Reason::unopenable;
    std::filesystem::path url;
    std::string systemMessage; ///< the operating system's words, when it gave any

    /// The text for a log line or a report: "Sorvala.log exists but could not be opened for appending".
    std::string description() const;
};

/// Opens an existing file for appending and answers its descriptor, or -1 when it cannot.
using OpenForWriting = std::function<int(const std::filesystem::path& url)>;

/// The default opener: open(2) with O_WRONLY | O_APPEND, never creating the file.
int openExistingForAppending(const std::filesystem::path& url);

/// The one process-wide lock every append to the log or the history goes through. Not reentrant:
/// nothing may log while holding it.
std::mutex& fileWriteLock();

/// Appends `bytes` to `url` in one write. The caller holds `fileWriteLock()`. A missing file is
/// created with its folders. When the file's last line is unfinished (a crash or power loss in the
/// middle of a write), a line feed goes first so the new bytes start a line of their own.
std::optional<AppendFailure> appendHoldingLock(std::string_view bytes, const std::filesystem::path& url,
                                               const OpenForWriting& openForWriting = openExistingForAppending);

/// `appendHoldingLock` under `fileWriteLock()`.
std::optional<AppendFailure> appendLocked(std::string_view bytes, const std::filesystem::path& url,
                                          const OpenForWriting& openForWriting = openExistingForAppending);

/// Replaces `url` with `bytes` through a temporary file in the same folder and a rename, so a
/// reader sees the old file or the new one, never a part. Answers a description on failure.
std::optional<std::string> writeAtomically(std::string_view bytes, const std::filesystem::path& url);

} // namespace sorvala
