// SPDX-License-Identifier: MIT
#include "platform/MadvisePageRelease.h"

#include "core/Logger.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <string>
#include <system_error>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace sorvala {

namespace {

/// Long enough for the fade's last frames and the objects deleted after it, short of a person
/// coming back to work.
constexpr double giveBackDelaySeconds = 2;

// The page scan of /proc/PID/pagemap (Linux 6.7), which the system headers may predate.
struct PageScan {
    std::uint64_t size;
    std::uint64_t flags;
    std::uint64_t start;
    std::uint64_t end;
    std::uint64_t walkEnd;
    std::uint64_t regions;
    std::uint64_t regionCount;
    std::uint64_t maxPages;
    std::uint64_t categoryInverted;
    std::uint64_t categoryMask;
    std::uint64_t categoryAnyOfMask;
    std::uint64_t returnMask;
};
struct PageRegion {
    std::uint64_t start;
    std::uint64_t end;
    std::uint64_t categories;
};
constexpr unsigned long pagemapScan = _IOWR('f', 16, PageScan);
constexpr std::uint64_t pageIsFile = 1 << 2;
constexpr std::uint64_t pageIsPresent = 1 << 3;

class FileDescriptor {
public:
    explicit FileDescriptor(const char* path) : m_fd(::open(path, O_RDONLY | O_CLOEXEC)) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

std::string readAll(const char* path) {
    const FileDescriptor file(path);
    std::string text;
    if (file.get() < 0)
        return text;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

std::uint64_t pageSize() {
    return static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

/// Before Linux 6.7: the entry of every page of the read-only file mappings, the present and
/// file bits of each. Slower, by some milliseconds, but the scan runs off the main thread.
std::optional<std::vector<FilePageRelease::Range>> residentFilePagesByEntries(int pagemap, std::uint64_t end) {
    constexpr std::uint64_t present = std::uint64_t(1) << 63;
    constexpr std::uint64_t filePage = std::uint64_t(1) << 61;
    const auto page = pageSize();
    std::vector<FilePageRelease::Range> out;
    std::vector<std::uint64_t> entries;
    for (const auto& mapping : FilePageRelease::mappingsToConsider(readAll("/proc/self/maps"))) {
        if (mapping.end > end)
            continue;
        entries.resize((mapping.end - mapping.start) / page);
        const auto bytes = static_cast<ssize_t>(entries.size() * sizeof(std::uint64_t));
        // A mapping gone since the maps were read reads short: it has nothing to note.
        if (::pread(pagemap, entries.data(), static_cast<std::size_t>(bytes),
                    static_cast<off_t>(mapping.start / page * sizeof(std::uint64_t))) != bytes)
            continue;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if ((entries[i] & (present | filePage)) == (present | filePage))
                out.push_back({mapping.start + i * page, mapping.start + (i + 1) * page});
    }
    return out;
}

long residentKilobytes() {
    long size = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "re")) {
        if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * static_cast<long>(pageSize() / 1024);
}

} // namespace

MadvisePageRelease::MadvisePageRelease(MainLoopTimer& timers, Logger& log, Scan scan)
    : m_timers(timers), m_log(log), m_scan(scan) {}

std::uint64_t MadvisePageRelease::scanEnd() {
    const int local = 0;
    return reinterpret_cast<std::uintptr_t>(&local) / pageSize() * pageSize();
}

std::optional<std::vector<FilePageRelease::Range>> MadvisePageRelease::residentFilePages(std::uint64_t end) {
    const FileDescriptor pagemap("/proc/self/pagemap");
    if (pagemap.get() < 0)
        return std::nullopt;
    std::vector<FilePageRelease::Range> out;
    PageRegion regions[512];
    for (std::uint64_t start = 0; start < end;) {
        PageScan scan{};
        scan.size = sizeof scan;
        scan.start = start;
        scan.end = end;
        scan.regions = reinterpret_cast<std::uintptr_t>(regions);
        scan.regionCount = std::size(regions);
        scan.categoryMask = pageIsFile | pageIsPresent;
        scan.returnMask = pageIsFile | pageIsPresent;
        const int found = ::ioctl(pagemap.get(), pagemapScan, &scan);
        if (found < 0)
            return start == 0 && (errno == ENOTTY || errno == EINVAL) ? residentFilePagesByEntries(pagemap.get(), end)
                                                                      : std::nullopt;
        for (int i = 0; i < found; ++i)
            out.push_back({regions[i].start, regions[i].end});
        // A full answer stops where it ran out of room.
        if (scan.walkEnd <= start)
            break;
        start = scan.walkEnd;
    }
    return out;
}

void MadvisePageRelease::stop(const char* why) {
    m_stopped = true;
    m_log.log(std::string("break pages not given back: ") + why);
}

MadvisePageRelease::Snapshot MadvisePageRelease::scanNow() {
    if (m_scan == Scan::onThread) {
        try {
            return std::async(std::launch::async, &MadvisePageRelease::residentFilePages, scanEnd());
        } catch (const std::system_error&) {
            // No thread to spare: the caller waits for the scan.
        }
    }
    std::promise<std::optional<std::vector<FilePageRelease::Range>>> now;
    now.set_value(residentFilePages(scanEnd()));
    return now.get_future();
}

void MadvisePageRelease::noteIdle() {
    if (m_stopped || m_inBreak || isLive(m_giveBack))
        return;
    m_idle = scanNow();
}

void MadvisePageRelease::breakStarting() {
    if (m_stopped)
        return;
    m_inBreak = true;
    if (isLive(m_giveBack)) {
        m_giveBack.reset();
        return;
    }
    // The idle state noted beforehand: a scan begun now would race the break's first pages.
    m_before = m_idle.valid() ? std::move(m_idle) : scanNow();
}

void MadvisePageRelease::breakGone() {
    m_inBreak = false;
    if (m_stopped || !m_before.valid())
        return;
    m_giveBack = m_timers.scheduled(giveBackDelaySeconds, false, 0.5, [this] { giveBack(); });
}

void MadvisePageRelease::giveBack() {
    const auto before = m_before.get();
    // The maps before the scan: a page the scan finds to be the file's own, in a mapping already
    // read-only, stays so unless someone makes the mapping writable again.
    auto mappings = FilePageRelease::mappingsToConsider(readAll("/proc/self/maps"));
    auto after = residentFilePages(scanEnd());
    if (!before || !after) {
        stop("the kernel cannot scan our pages");
        return;
    }
    const long residentBefore = residentKilobytes();
    const auto runs = FilePageRelease::runsToGiveBack(*before, std::move(*after), std::move(mappings));
    std::uint64_t bytes = 0;
    std::size_t failed = 0;
    int lastError = 0;
    for (const auto& run : runs) {
        if (::madvise(reinterpret_cast<void*>(run.start), run.end - run.start, MADV_PAGEOUT) == 0) {
            m_advised = true;
            bytes += run.end - run.start;
        } else {
            lastError = errno;
            ++failed;
        }
    }
    // A kernel before 5.4 knows no MADV_PAGEOUT and refuses every call alike.
    if (!m_advised && failed > 0 && failed == runs.size() && lastError == EINVAL) {
        stop("the kernel has no MADV_PAGEOUT");
        return;
    }
    // What the kernel kept, another process maps too (the window manager and the panel draw
    // with the same text libraries and fonts): it stays in memory for them but need not count as
    // ours. Every page in the runs is an unchanged page of its file, which comes back from the
    // page cache when next used, so letting go of it loses nothing.
    for (const auto& run : runs)
        ::madvise(reinterpret_cast<void*>(run.start), run.end - run.start, MADV_DONTNEED);
    // The heap freed since the windows went, by the objects they left for later.
    malloc_trim(0);
    // What is resident now is the idle program's: the next break returns to it.
    noteIdle();
    m_log.log("break pages given back runs=" + std::to_string(runs.size()) + " advisedKB=" +
              std::to_string(bytes / 1024) + " freedKB=" + std::to_string(residentBefore - residentKilobytes()) +
              (failed ? " failed=" + std::to_string(failed) + " error=" + std::strerror(lastError) : std::string()));
}

} // namespace sorvala
