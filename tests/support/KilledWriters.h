// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <csignal>
#include <filesystem>
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

/// Waits (up to a second) until the size of `file` is no longer `size`, so that on a loaded
/// machine a writer has started writing before it is killed.
inline void waitForGrowth(const std::filesystem::path& file, std::uintmax_t size) {
    for (int i = 0; i < 1000; ++i) {
        std::error_code error;
        const auto now = std::filesystem::file_size(file, error);
        if (!error && now != size)
            return;
        ::usleep(1000);
    }
}

/// The size of `file`, 0 when it does not exist.
inline std::uintmax_t sizeOf(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? 0 : size;
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
