// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/MainLoopTimer.h"
#include "breakscreen/FilePageRelease.h"

#include <cstdint>
#include <future>
#include <optional>
#include <vector>

namespace sorvala {

class Logger;

/// Gives the kernel back the pages of our libraries, executable and fonts that a break brought
/// into memory for the first time. While the program idles (once it has settled after its start,
/// and after each give-back) it notes which file pages are resident (a PAGEMAP_SCAN of
/// /proc/self/pagemap from Linux 6.7, before it every page's entry), on a thread of its own: the
/// scan takes a millisecond or more. A break that finds no such note scans as it begins to show,
/// and a page it touches meanwhile may count as resident before and stay. A few seconds after the
/// break's windows are gone it asks the kernel to page out the others of the read-only file
/// mappings (MADV_PAGEOUT). The kernel leaves alone pages another process maps: those are only
/// unmapped from ours (MADV_DONTNEED). A page given back is read from its file, or the page
/// cache, again when next used.
class MadvisePageRelease {
public:
    /// Where the scan at a break's start runs: on a thread of its own, or before `breakStarting`
    /// returns (for callers that touch pages right after and need them counted as the break's).
    enum class Scan { onThread, inPlace };

    MadvisePageRelease(MainLoopTimer& timers, Logger& log, Scan scan = Scan::onThread);
    MadvisePageRelease(const MadvisePageRelease&) = delete;
    MadvisePageRelease& operator=(const MadvisePageRelease&) = delete;

    /// The program idles: notes its resident file pages now (on a thread of its own), as the state
    /// the next break returns to. Noted again after each give-back; ignored during a break.
    void noteIdle();
    /// A break is about to show: takes the idle note, or notes the resident file pages now, unless
    /// the last break's are still waiting to be given back (the idle state before that break is
    /// the one to return to).
    void breakStarting();
    /// The break's windows are gone: gives back what it touched a few seconds from now.
    void breakGone();

    /// The runs of file pages resident now below `end`, in address order; nullopt when the
    /// kernel cannot tell them.
    static std::optional<std::vector<FilePageRelease::Range>> residentFilePages(std::uint64_t end);
    /// Where a scan from the main thread stops: its stack lies above every mapping of a file
    /// (another thread's stack is a mapping among them).
    static std::uint64_t scanEnd();

private:
    using Snapshot = std::future<std::optional<std::vector<FilePageRelease::Range>>>;
    Snapshot scanNow();
    void giveBack();
    void stop(const char* why);

    MainLoopTimer& m_timers;
    Logger& m_log;
    Scan m_scan;
    Snapshot m_idle;
    Snapshot m_before;
    TimerField m_giveBack;
    bool m_stopped = false;
    bool m_advised = false;
    bool m_inBreak = false;
};

} // namespace sorvala
