// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class QProcess;

namespace sorvala {

/// Whether the desktop shares or records the screen, from the PipeWire graph as `pw-dump`
/// prints it. The program runs in the background; asking answers the last result at once
/// and starts a fresh reading when that one is older than `maxAge`. A run that takes longer
/// than `deadline` is killed and the answer becomes false until a run completes: a hung
/// pw-dump must not keep breaks waiting.
class PipeWireScreenCapture {
public:
    /// `program` is the pw-dump to run (empty: none found, so the answer is always false).
    PipeWireScreenCapture(QString program, std::chrono::milliseconds maxAge,
                          std::chrono::milliseconds deadline = std::chrono::seconds(3));
    ~PipeWireScreenCapture();
    PipeWireScreenCapture(const PipeWireScreenCapture&) = delete;
    PipeWireScreenCapture& operator=(const PipeWireScreenCapture&) = delete;

    /// The pw-dump on PATH, or empty.
    static QString findProgram();

    bool isAvailable() const { return !m_program.isEmpty(); }

    /// The latest answer (false before the first, after a failed run and while no fresh one exists).
    bool screenCaptured();

private:
    void start();
    void stopRun();

    QString m_program;
    std::chrono::milliseconds m_maxAge;
    std::chrono::milliseconds m_deadline;
    std::optional<std::chrono::steady_clock::time_point> m_startedAt;
    bool m_answer = false;
    std::unique_ptr<QProcess> m_process;
};

} // namespace sorvala
