// SPDX-License-Identifier: MIT
#include "core/FileWriting.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvala {

namespace {

std::string systemError(int error) {
    return std::strerror(error);
}

/// Writes all of `bytes`, retrying short writes and interruptions; answers errno or 0.
int writeFully(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

/// Whether the open file is non-empty and its last byte is not a line feed. The descriptor may be
/// write-only, so the byte is read through a descriptor of its own.
bool endsInsideALine(int descriptor, const std::filesystem::path& url) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || status.st_size <= 0 || !S_ISREG(status.st_mode))
        return false;
    const int reader = ::open(url.c_str(), O_RDONLY | O_CLOEXEC);
    if (reader < 0)
        return false;
    char last = '\n';
    const bool torn = ::pread(reader, &last, 1, status.st_size - 1) == 1 && last != '\n';
    ::close(reader);
    return torn;
}

} // namespace

std::string AppendFailure::description() const {
    switch (reason) {
    case Reason::unopenable:
        return url.filename().string() + " exists but could not be opened for appending";
    case Reason::folderNotMade:
        return "could not create the folder of " + url.string() + ": " + systemMessage;
    case Reason::notWritten:
        return "could not write " + url.string() + ": " + systemMessage;
    }
    return systemMessage;
}

int openExistingForAppending(const std::filesystem::path& url) {
    return ::open(url.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
}

std::mutex& fileWriteLock() {
    static std::mutex lock;
    return lock;
}

std::optional<AppendFailure> appendHoldingLock(std::string_view bytes, const std::filesystem::path& url,
                                               const OpenForWriting& openForWriting) {
    int descriptor = openForWriting(url);
    if (descriptor < 0) {
        std::error_code error;
        if (std::filesystem::exists(url, error))
            return AppendFailure{AppendFailure::Reason::unopenable, url, {}};
        if (url.has_parent_path()) {
            std::filesystem::create_directories(url.parent_path(), error);
            if (error)
                return AppendFailure{AppendFailure::Reason::folderNotMade, url, error.message()};
        }
        descriptor = ::open(url.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor < 0)
            return AppendFailure{AppendFailure::Reason::notWritten, url, systemError(errno)};
    }

    // One write per append, the repair included, so a reader never sees the two halves apart.
    std::string repaired;
    std::string_view toWrite = bytes;
    if (endsInsideALine(descriptor, url)) {
        repaired.reserve(bytes.size() + 1);
        repaired.push_back('\n');
        repaired.append(bytes);
        toWrite = repaired;
    }
    const int error = writeFully(descriptor, toWrite);
    ::close(descriptor); // a failure to close loses nothing already written
    if (error != 0)
        return AppendFailure{AppendFailure::Reason::notWritten, url, systemError(error)};
    return std::nullopt;
}

std::optional<AppendFailure> appendLocked(std::string_view bytes, const std::filesystem::path& url,
                                          const OpenForWriting& openForWriting) {
    std::lock_guard lock(fileWriteLock());
    return appendHoldingLock(bytes, url, openForWriting);
}

std::optional<std::string> writeAtomically(std::string_view bytes, const std::filesystem::path& url) {
    const std::filesystem::path folder = url.has_parent_path() ? url.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + url.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        return "could not create a temporary file in " + folder.string() + ": " + systemError(errno);
    int error = writeFully(descriptor, bytes);
    if (error == 0 && ::fsync(descriptor) != 0)
        error = errno;
    // mkstemp makes the file private; an exported file reads like any other the user creates.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(pattern.c_str(), url.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(pattern.c_str());
        return "could not write " + url.string() + ": " + systemError(error);
    }
    return std::nullopt;
}

} // namespace sorvala
