// SPDX-License-Identifier: MIT
#include "platform/desktop/PipeWireScreenCapture.h"

#include "sensing/ScreenCaptureDetection.h"

#include <QProcess>
#include <QStandardPaths>

namespace sorvala {

PipeWireScreenCapture::PipeWireScreenCapture(QString program, std::chrono::milliseconds maxAge,
                                             std::chrono::milliseconds deadline)
    : m_program(std::move(program)), m_maxAge(maxAge), m_deadline(deadline) {}

PipeWireScreenCapture::~PipeWireScreenCapture() {
    stopRun();
}

void PipeWireScreenCapture::stopRun() {
    if (!m_process)
        return;
    m_process->disconnect();
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(100);
    }
    m_process.reset();
}

QString PipeWireScreenCapture::findProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("pw-dump"));
}

bool PipeWireScreenCapture::screenCaptured() {
    if (m_program.isEmpty())
        return false;
    const auto now = std::chrono::steady_clock::now();
    bool running = m_process && m_process->state() != QProcess::NotRunning;
    if (running && now - *m_startedAt >= m_deadline) {
        // A hung run: the answer it was to refresh is stale, so no screencast is known.
        stopRun();
        running = false;
        m_answer = false;
    }
    if (!running && (!m_startedAt || now - *m_startedAt >= m_maxAge))
        start();
    return m_answer;
}

void PipeWireScreenCapture::start() {
    stopRun();
    m_startedAt = std::chrono::steady_clock::now();
    m_process = std::make_unique<QProcess>();
    QProcess* process = m_process.get();
    QObject::connect(process, &QProcess::finished, process,
                     [this, process](int code, QProcess::ExitStatus status) {
                         bool captured = false;
                         if (status == QProcess::NormalExit && code == 0) {
                             const QByteArray out = process->readAllStandardOutput();
                             if (const auto nodes = ScreenCaptureDetection::parsePwDump(
                                     std::string_view(out.constData(), size_t(out.size()))))
                                 captured = ScreenCaptureDetection::screenCaptured(*nodes);
                         }
                         m_answer = captured;
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [this](QProcess::ProcessError) { m_answer = false; });
    process->start(m_program, {});
}

} // namespace sorvala
