// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"

#include <QCoreApplication>

#include <memory>
#include <ostream>

namespace sorvala::ctl {

/// Sends the adapters' own diagnostics to the error stream, so standard output stays clean.
class ErrorStreamLogger final : public Logger {
public:
    explicit ErrorStreamLogger(std::ostream& err) : m_err(err) {}
    void log(std::string_view message) override { m_err << "sorvalactl: " << message << '\n'; }

private:
    std::ostream& m_err;
};

/// A Qt application object for a subcommand that needs an event loop; null when one exists
/// already (a test's, say). Keep it alive while the adapters run.
std::unique_ptr<QCoreApplication> makeApplicationIfNone();

} // namespace sorvala::ctl
