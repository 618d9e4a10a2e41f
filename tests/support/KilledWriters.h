// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace sorvala {

/// Forks a process that runs `write(sequence)` for sequence 0, 1, 2, ... until it is killed.
inline pid_t startWriter(const std::function<void(long)>& write) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (long sequence = 0;; ++sequence)
            write(sequence);
    }
    return pid;
}

/// Kills every writer after `delay` and reaps them.
inline void killAfter(const std::vector<pid_t>& writers, std::chrono::microseconds delay) {
    ::usleep(static_cast<useconds_t>(delay.count()));
    for (const pid_t pid : writers)
        ::kill(pid, SIGKILL);
    for (const pid_t pid : writers)
        ::waitpid(pid, nullptr, 0);
}

} // namespace sorvala
