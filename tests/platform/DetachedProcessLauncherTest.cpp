// SPDX-License-Identifier: MIT
#include "app/AutomationHooks.h"
#include "platform/DetachedProcessLauncher.h"
#include "support/RecordingLogger.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace sorvala {
namespace {

// Waits (bounded) for a hook to write its marker, then answers its first line.
std::string awaitMarker(const std::string& path) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        std::ifstream file(path);
        std::string line;
        if (file && std::getline(file, line) && !line.empty())
            return line;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

TEST(DetachedHook, RunsInTheLoginShellAndANeverEndingCommandHoldsNoStreamOfOurs) {
    QTemporaryDir dir;
    const std::string marker = dir.filePath("pid").toStdString();
    // Put a pipe where our standard output and error are: a child that inherited them would keep
    // the pipe open, and whoever reads our output (a terminal, a session log, ctest) would wait.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const int savedOut = dup(STDOUT_FILENO);
    const int savedErr = dup(STDERR_FILENO);
    dup2(ends[1], STDOUT_FILENO);
    dup2(ends[1], STDERR_FILENO);
    close(ends[1]);

    DetachedProcessLauncher launcher;
    RecordingLogger log;
    AutomationHooks::run("  echo $$ $0 > '" + marker + "'; exec sleep 600\n", launcher, log);

    dup2(savedOut, STDOUT_FILENO);
    dup2(savedErr, STDERR_FILENO);
    close(savedOut);
    close(savedErr);

    const std::string written = awaitMarker(marker);
    const auto space = written.find(' ');
    ASSERT_NE(space, std::string::npos) << "the hook did not start";
    const std::string pid = written.substr(0, space);
    EXPECT_EQ(written.substr(space + 1), launcher.loginShell());
    pollfd readEnd{ends[0], POLLIN, 0};
    const int ready = poll(&readEnd, 1, 10000);
    char byte = 0;
    const auto readCount = ready > 0 ? read(ends[0], &byte, 1) : -1;
    close(ends[0]);
    kill(static_cast<pid_t>(std::stol(pid)), SIGTERM);
    EXPECT_EQ(readCount, 0) << "the pipe stayed open while the hook runs";
    EXPECT_EQ(log.lines, std::vector<std::string>{"automation hook started: echo …"});
}

TEST(DetachedHook, AShellThatCannotStartIsReportedAsAFailure) {
    DetachedProcessLauncher launcher;
    const auto launch = launcher.startDetached({"/nonexistent/shell", "-lc", "true"});
    EXPECT_FALSE(launch.started);
    EXPECT_FALSE(launch.failure.empty());
}

} // namespace
} // namespace sorvala
