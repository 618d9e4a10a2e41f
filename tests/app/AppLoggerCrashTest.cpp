// SPDX-License-Identifier: MIT
// A log written by processes killed with SIGKILL at random moments, rotation included.
#include "support/KilledWriters.h"
#include "support/TemporaryDirectory.h"
#include "app/AppLogger.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <sstream>

namespace sorvala {
namespace {

/// Splits "<writer>:<sequence> ... line." after the timestamp of a whole log line; nullopt for
/// the unfinished line a writer killed in the middle of a write leaves.
std::optional<std::pair<long, long>> tagOf(const std::string& line) {
    long writer = 0, sequence = 0;
    if (!line.ends_with("line.") || std::sscanf(line.c_str(), "%*s %ld:%ld", &writer, &sequence) != 2)
        return std::nullopt;
    return std::pair{writer, sequence};
}

TEST(LogCrashSafety, KillsDuringRotationLoseAtMostTheLineBeingWritten) {
    TemporaryDirectory folder;
    const auto file = folder / "Sorvala.log";
    constexpr std::uintmax_t rotateAbove = 6000;
    std::mt19937 random(7);
    for (int writer = 0; writer < 1500; ++writer) {
        const auto before = sizeOf(file);
        const pid_t pid = startWriter([&, writer](long sequence) {
            const std::string message = std::to_string(writer) + ":" + std::to_string(sequence) + " padding to a line.";
            AppLogger::log(message, file, Instant::fromSecondsSinceEpoch(1.8e9), openExistingForAppending, rotateAbove);
        });
        waitForGrowth(file, before);
        killAfter({pid}, std::chrono::microseconds(std::uniform_int_distribution<int>(0, 800)(random)));
    }

    // Oldest generation first; rotation only ever drops whole generations from the old end. A
    // kill can cut a write where it crosses a page of the file: that unfinished line is the
    // killed writer's last, and the next line starts on a line of its own.
    std::vector<std::optional<std::pair<long, long>>> tags;
    for (int n = AppLogger::keptGenerations; n >= 0; --n) {
        const auto generation = n == 0 ? file : AppLogger::generationURL(n, file);
        // A kill between two renames of a rotation leaves that one generation missing; the lines
        // stay in order across the others, and the next rotation closes the gap.
        if (!std::filesystem::exists(generation))
            continue;
        std::error_code error;
        EXPECT_LE(std::filesystem::file_size(generation, error), rotateAbove + 100) << generation;
        std::istringstream lines(readFile(generation));
        for (std::string line; std::getline(lines, line);)
            if (!line.empty())
                tags.push_back(tagOf(line));
    }
    ASSERT_GT(tags.size(), 200u);
    std::optional<std::pair<long, long>> previous;
    bool previousUnfinished = false;
    for (const auto& tag : tags) {
        if (!tag) {
            previousUnfinished = true;
            continue;
        }
        if (previous) {
            const auto [writer, sequence] = *tag;
            const auto [previousWriter, previousSequence] = *previous;
            if (writer == previousWriter)
                ASSERT_TRUE(sequence == previousSequence + 1 && !previousUnfinished)
                    << "a line lost or repeated inside writer " << writer;
            else
                ASSERT_TRUE(writer > previousWriter && sequence == 0)
                    << "writer " << writer << " starts at " << sequence << " after writer " << previousWriter;
        }
        previous = tag;
        previousUnfinished = false;
    }
}

} // namespace
} // namespace sorvala
