// SPDX-License-Identifier: MIT
#include "app/AppLogger.h"

#include "support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace sorvala {
namespace {

using ::testing::HasSubstr;

const Instant noon = *parseIso8601("2026-12-05T12:00:00Z");

TEST(AppLoggerLines, FormatAndTimestampBothWays) {
    const std::string line = AppLogger::line("settings changed microMinutes=20->25", *parseIso8601("2026-12-05T19:23:07Z") + 0.9);
    EXPECT_EQ(line, "2026-12-05T19:23:07Z settings changed microMinutes=20->25");
    EXPECT_EQ(AppLogger::timestamp(line), parseIso8601("2026-12-05T19:23:07Z"));
    EXPECT_EQ(AppLogger::timestamp("2026-12-05T19:23:07Z"), std::nullopt) << "no space";
    EXPECT_EQ(AppLogger::generationURL(2, "/x/Sorvala.log"), "/x/Sorvala.log.2");
}

TEST(AppLoggerLines, ControlCharactersAreEscapedSoAnEntryIsOneLine) {
    EXPECT_EQ(AppLogger::line("a\nb\r\tc\x1b[31m\x7f é …", noon),
              "2026-12-05T12:00:00Z a\\nb\\r\\tc\\x1b[31m\\x7f é …");
}

TEST(AppLoggerFile, FirstLineCreatesTheFoldersAndLinesAppend) {
    TemporaryDirectory state;
    const auto file = state / "deep/Sorvala/Sorvala.log";
    AppLogger::log("launched version=0.1.0", file, noon);
    AppLogger::log("break due kind=long", file, noon + 61);
    EXPECT_EQ(readFile(file), "2026-12-05T12:00:00Z launched version=0.1.0\n2026-12-05T12:01:01Z break due kind=long\n");
}

TEST(AppLoggerFile, AnUnopenableLogIsASilentNoOpButTheAppendReportsIt) {
    TemporaryDirectory state;
    const auto file = state / "Sorvala.log";
    writeFile(file, "kept\n");
    const auto cannotOpen = [](const std::filesystem::path&) { return -1; };
    AppLogger::log("lost", file, noon, cannotOpen);
    EXPECT_EQ(readFile(file), "kept\n");
    const auto failure = AppLogger::append("x\n", file, cannotOpen);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description(), "Sorvala.log exists but could not be opened for appending");
}

TEST(AppLoggerRotation, OnlyAFileLargerThanTheLimitIsRotated) {
    struct Case { const char* name; std::uintmax_t size; bool rotated; };
    const Case cases[] = {{"exactly the limit", 5000000, false}, {"one byte more", 5000001, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDirectory state;
        const auto file = state / "Sorvala.log";
        writeFile(file, std::string(c.size - 1, 'x') + "\n");
        AppLogger::log("next", file, noon);
        if (c.rotated) {
            EXPECT_EQ(std::filesystem::file_size(AppLogger::generationURL(1, file)), c.size);
            EXPECT_EQ(readFile(file), "2026-12-05T12:00:00Z next\n");
        } else {
            EXPECT_FALSE(std::filesystem::exists(AppLogger::generationURL(1, file)));
            EXPECT_EQ(std::filesystem::file_size(file), c.size + 26);
        }
    }
}

TEST(AppLoggerRotation, GenerationsMoveUpAndTheOldestIsDropped) {
    TemporaryDirectory state;
    const auto file = state / "Sorvala.log";
    writeFile(file, "current");
    for (int n = 1; n <= 3; ++n)
        writeFile(AppLogger::generationURL(n, file), "generation " + std::to_string(n));
    AppLogger::rotateIfNeeded(file, 3, 3);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(readFile(AppLogger::generationURL(1, file)), "current");
    EXPECT_EQ(readFile(AppLogger::generationURL(2, file)), "generation 1");
    EXPECT_EQ(readFile(AppLogger::generationURL(3, file)), "generation 2");
    EXPECT_FALSE(std::filesystem::exists(AppLogger::generationURL(4, file)));
}

TEST(AppLoggerUncaughtDeathTest, AnUncaughtExceptionIsLoggedBeforeTheProcessEnds) {
    // The forked child writes into this test's folder, so the "fast" style (fork only) is needed.
    GTEST_FLAG_SET(death_test_style, "fast");
    TemporaryDirectory state;
    const auto file = state / "Sorvala/Sorvala.log";
    EXPECT_DEATH(
        {
            AppLogger::installExceptionHandler(file);
            std::thread([] { throw std::runtime_error("disk full"); }).join();
        },
        "");
    const auto lines = linesOf(readFile(file));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0], HasSubstr(" EXCEPTION std::runtime_error: disk full "));
    EXPECT_TRUE(AppLogger::timestamp(lines[0]));
}

} // namespace
} // namespace sorvala
