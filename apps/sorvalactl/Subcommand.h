// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala::ctl {

/// Exit status for bad input: a one-line error was printed and nothing changed.
inline constexpr int usageError = 2;

/// What a subcommand is handed: its own arguments (after the subcommand's name) and the streams.
struct Invocation {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;
};

/// One subcommand of the command line.
struct Subcommand {
    std::string_view name;
    const char* summary; ///< in English, translated where printed
    int (*run)(const Invocation& invocation);
};

/// Prints "sorvalactl: <message>" on the error stream and answers `usageError`.
int fail(const Invocation& invocation, std::string_view message);

/// Whether the arguments ask for help ("--help" or "-h" anywhere).
bool wantsHelp(const Invocation& invocation);

} // namespace sorvala::ctl
