// SPDX-License-Identifier: MIT
#include "platform/DetachedProcessLauncher.h"
#include "app/AutomationHooks.h"
#include "support/QtEventLoop.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace sorvala {
namespace {

TEST(DetachedHook, RunsInTheLoginShellAndANeverEndingCommandHoldsNoStreamOfOurs) {
    TemporaryDirectory dir;
    const std::string marker = (dir / "pid").string();
    // Put a pipe where our standard output and error are: a child that inherited them would keep
    // the pipe open, and whoever reads our output (a terminal, a session log, ctest) would wait.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const int saved[] = {dup(STDOUT_FILENO), dup(STDERR_FILENO)};
    for (const int stream : {STDOUT_FILENO, STDERR_FILENO})
        dup2(ends[1], stream);
    close(ends[1]);

    DetachedProcessLauncher launcher;
    RecordingLogger log;
    AutomationHooks::run("  echo $$ $0 > '" + marker + "'; exec sleep 600\n", launcher, log);

    for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
        dup2(saved[stream - STDOUT_FILENO], stream);
        close(saved[stream - STDOUT_FILENO]);
    }

    // The hook's first line, once it has written one: its process id and the shell it runs in.
    std::string written;
    waitUntil([&] { return (written = readFile(marker)).ends_with('\n'); });
    std::string pid, shell;
    std::istringstream(written) >> pid >> shell;
    ASSERT_FALSE(shell.empty()) << "the hook did not start";
    EXPECT_EQ(shell, launcher.loginShell());
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
