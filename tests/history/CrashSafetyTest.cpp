// SPDX-License-Identifier: MIT
// Writers killed with SIGKILL at random moments, thousands of times: what they leave behind must
// still decode, in order, without duplicates, and the next append must start a line of its own.
#include "support/KilledWriters.h"
#include "support/TemporaryDirectory.h"
#include "core/Logger.h"
#include "history/BreakLog.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <random>

namespace sorvala {
namespace {

constexpr double writerStride = 1e6;

/// Cuts the file's last `bytes` bytes off, as a crash in the middle of a write would leave it.
void tearTail(const std::filesystem::path& file, std::uintmax_t bytes) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > bytes)
        std::filesystem::resize_file(file, size - bytes);
}

TEST(HistoryCrashSafety, KilledWritersLeaveADecodableOrderedHistory) {
    TemporaryDirectory folder;
    const auto file = folder / "break-events.jsonl";
    std::mt19937 random(20261207);
    int writersStarted = 0;
    int tears = 0;
    for (int round = 0; round < 1500; ++round) {
        const auto before = sizeOf(file);
        std::vector<pid_t> writers;
        for (int w = 0; w < 2; ++w) {
            const int writer = writersStarted++;
            writers.push_back(startWriter([&, writer](long sequence) {
                NullLogger quiet;
                const double tag = writer * writerStride + double(sequence);
                BreakLog::record(BreakEvent::Kind::micro, BreakEvent::Outcome::taken, tag,
                       Instant::fromSecondsSinceEpoch(1.8e9 + tag), quiet, file);
            }));
        }
        waitForGrowth(file, before);
        killAfter(writers, std::chrono::microseconds(std::uniform_int_distribution<int>(0, 400)(random)));
        if (round % 100 == 99) {
            tearTail(file, 7);
            ++tears;
        }
    }

    // A kill can cut a write where it crosses a page of the file, and we cut tails by hand: each
    // leaves one unfinished line, the killed writer's last, which the reader skips.
    const std::string text = readFile(file);
    const BreakLog::Decoded decoded = BreakLog::decode(text);
    // A loaded machine may kill most writers right after their first record: a round leaves at
    // least one, less the tails cut by hand and the kills that tear a record.
    ASSERT_GT(decoded.events.size(), 1000u);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && !BreakLog::decodeLine(line)) {
            const std::string_view head = "{\"date\":\"";
            EXPECT_TRUE(line.starts_with(head) || head.starts_with(line)) << "not the start of a record: " << line;
        }
    }
    EXPECT_LE(decoded.undecodableLines, writersStarted + tears);

    // Each writer's records stand in the order written, none repeated, none missing before its
    // last: a writer only ever loses the record it was writing when it died.
    std::map<long, long> lastSequence;
    for (const BreakEvent& event : decoded.events) {
        ASSERT_TRUE(event.durationSeconds);
        const long writer = long(*event.durationSeconds / writerStride);
        const long sequence = long(*event.durationSeconds) - writer * long(writerStride);
        const auto last = lastSequence.find(writer);
        ASSERT_EQ(sequence, last == lastSequence.end() ? 0 : last->second + 1) << "writer " << writer;
        lastSequence[writer] = sequence;
    }

    // After a torn tail, the next record still lands on a line of its own.
    tearTail(file, 5);
    NullLogger quiet;
    BreakLog::record(BreakEvent::Kind::long_, BreakEvent::Outcome::taken, 42.0, Instant::fromSecondsSinceEpoch(2e9), quiet, file);
    const BreakLog::Decoded after = BreakLog::decode(readFile(file));
    ASSERT_FALSE(after.events.empty());
    EXPECT_EQ(after.events.back().durationSeconds, 42.0);
    EXPECT_EQ(after.events.back().kind, BreakEvent::Kind::long_);
}

} // namespace
} // namespace sorvala
