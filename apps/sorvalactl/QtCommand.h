// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"

#include <QCoreApplication>

#include <memory>
#include <ostream>

namespace sorvala::ctl {

/// Writes each diagnostic line to the error stream as "sorvalactl: <line>", like every failure.
class StreamLogger final : public Logger {
public:
    explicit StreamLogger(std::ostream& err) : m_err(err) {}
    void log(std::string_view message) override { m_err << "sorvalactl: " << message << '\n'; }

private:
    std::ostream& m_err;
};

/// A Qt application object for a subcommand that needs one; null when one exists already
/// (a test's), so the caller owns it only while it runs.
std::unique_ptr<QCoreApplication> coreApplicationIfMissing();

} // namespace sorvala::ctl
