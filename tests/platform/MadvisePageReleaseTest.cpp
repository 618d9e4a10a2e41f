// SPDX-License-Identifier: MIT
#include "platform/MadvisePageRelease.h"

#include "simulation/VirtualTimers.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace sorvala {
namespace {

const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

/// A file of `pages` pages mapped read-only, as a library or a font is; written first unless it
/// is there already.
class MappedFile {
public:
    MappedFile(const std::filesystem::path& path, std::size_t pages) : m_size(pages * page) {
        const bool there = std::filesystem::exists(path);
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (!there) {
            std::string content;
            for (std::size_t i = 0; i < pages; ++i)
                content.append(page, static_cast<char>('a' + i % 26));
            EXPECT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
        }
        m_data = static_cast<const volatile char*>(::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0));
        ::close(fd);
    }
    ~MappedFile() { ::munmap(const_cast<char*>(m_data), m_size); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    char touch(std::size_t pageIndex) const { return m_data[pageIndex * page]; }
    std::uint64_t address(std::size_t pageIndex) const {
        return reinterpret_cast<std::uintptr_t>(m_data) + pageIndex * page;
    }
    FilePageRelease::Range range() const { return {address(0), address(0) + m_size}; }

private:
    std::size_t m_size;
    const volatile char* m_data = nullptr;
};

bool covers(const std::vector<FilePageRelease::Range>& ranges, std::uint64_t address) {
    return std::any_of(ranges.begin(), ranges.end(), [&](const auto& r) { return r.start <= address && address < r.end; });
}

/// A page release whose scans run in place, its timers on a virtual clock, in a folder of its own.
struct Released {
    TemporaryDirectory folder;
    VirtualClock clock;
    VirtualTimers timers{clock};
    RecordingLogger log;
    MadvisePageRelease release{timers, log, MadvisePageRelease::Scan::inPlace};
    void after(int seconds) { timers.runUntil(clock.now() + seconds); }
};

TEST(MadvisePageRelease, APageWrittenOverKeepsItsWritingThoughItsMappingTurnedReadOnly) {
    // The loader relocates a library's pointers into private copies of file pages, then makes them
    // read-only: given back, such a page would come back from the file with the pointers undone.
    Released r;
    { const MappedFile written(r.folder.path() / "library", 2); }
    const int fd = ::open((r.folder.path() / "library").c_str(), O_RDONLY | O_CLOEXEC);
    r.release.breakStarting();
    auto* relocated = static_cast<char*>(::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0));
    ::close(fd);
    relocated[0] = 'R';
    const char unwritten = relocated[page];
    ::mprotect(relocated, 2 * page, PROT_READ);
    r.release.breakGone();
    r.after(10);

    EXPECT_EQ(relocated[0], 'R');
    EXPECT_EQ(relocated[page], unwritten);
    ::munmap(relocated, 2 * page);
}

TEST(MadvisePageRelease, AfterTheBreakGivesBackWhatItMappedAndKeepsWhatWasThere) {
    Released r;
    const MappedFile idle(r.folder.path() / "library", 4);
    for (std::size_t i = 0; i < 4; ++i)
        idle.touch(i);

    r.release.breakStarting();
    const MappedFile breakFont(r.folder.path() / "font", 16);
    for (std::size_t i = 0; i < 16; ++i)
        breakFont.touch(i);
    r.release.breakGone();
    r.after(1);
    EXPECT_TRUE(r.log.lines.empty()) << "given back while the windows may still be fading";
    r.after(10);

    ASSERT_EQ(r.log.lines.size(), 1u);
    const auto& line = r.log.lines.front();
    EXPECT_TRUE(line.starts_with("break pages given back ")) << line;
    EXPECT_EQ(line.find("failed="), std::string::npos) << line;
    const auto advised = std::stoull(line.substr(line.find("advisedKB=") + 10));
    EXPECT_GE(advised * 1024, 16 * page) << line;
    const auto resident = MadvisePageRelease::residentFilePages(MadvisePageRelease::scanEnd());
    ASSERT_TRUE(resident);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(covers(*resident, idle.address(i))) << "page " << i;
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_FALSE(covers(*resident, breakFont.address(i))) << "page " << i;
}

TEST(MadvisePageRelease, PagesSomeoneElseMapsTooAreLetGoOfButStayForThem) {
    Released r;
    const auto path = r.folder.path() / "font";
    // The window manager's mapping of the font, which the kernel will not page out under it.
    const MappedFile windowManager(path, 8);
    for (std::size_t i = 0; i < 8; ++i)
        windowManager.touch(i);

    r.release.breakStarting();
    const MappedFile ours(path, 8);
    char sum = 0;
    for (std::size_t i = 0; i < 8; ++i)
        sum = static_cast<char>(sum + ours.touch(i));
    r.release.breakGone();
    r.after(10);

    const auto resident = MadvisePageRelease::residentFilePages(MadvisePageRelease::scanEnd());
    ASSERT_TRUE(resident);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_FALSE(covers(*resident, ours.address(i))) << "page " << i;
        EXPECT_TRUE(covers(*resident, windowManager.address(i))) << "page " << i;
    }
    char again = 0;
    for (std::size_t i = 0; i < 8; ++i)
        again = static_cast<char>(again + ours.touch(i));
    EXPECT_EQ(again, sum) << "a page let go of reads the same when next used";
}

TEST(MadvisePageRelease, TheIdleNoteIsWhatABreakReturnsTo) {
    // Pages touched between the idle note and the break, as the break's first code runs while a
    // scan of its own would still be under way, are the break's.
    Released r;
    r.release.noteIdle();
    const MappedFile breakCode(r.folder.path() / "code", 4);
    for (std::size_t i = 0; i < 4; ++i)
        breakCode.touch(i);
    r.release.breakStarting();
    r.release.breakGone();
    r.after(10);
    const auto resident = MadvisePageRelease::residentFilePages(MadvisePageRelease::scanEnd());
    ASSERT_TRUE(resident);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_FALSE(covers(*resident, breakCode.address(i))) << "page " << i;
}

TEST(MadvisePageRelease, ABreakStartingBeforeTheLastOneIsGivenBackKeepsTheIdleState) {
    Released r;

    r.release.breakStarting();
    const MappedFile first(r.folder.path() / "first", 4);
    for (std::size_t i = 0; i < 4; ++i)
        first.touch(i);
    r.release.breakGone();
    r.release.breakStarting();
    r.after(10);
    EXPECT_TRUE(r.log.lines.empty()) << "nothing is given back in the middle of a break";
    r.release.breakGone();
    r.after(10);
    ASSERT_EQ(r.log.lines.size(), 1u);
    const auto& line = r.log.lines.front();
    EXPECT_GE(std::stoull(line.substr(line.find("advisedKB=") + 10)) * 1024, 4 * page) << line;
}

} // namespace
} // namespace sorvala
