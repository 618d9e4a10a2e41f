// SPDX-License-Identifier: MIT
#pragma once

#include "Subcommands.h"

#include <sstream>
#include <string>
#include <vector>

namespace sorvala::ctl {

/// What one in-process run of a subcommand printed and answered.
struct SubcommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the subcommand `name` through the table, as `sorvalactl name args...` would.
inline SubcommandResult runSubcommand(std::string_view name, std::vector<std::string> args) {
    std::ostringstream out, err;
    for (const auto& command : subcommands()) {
        if (command.name == name) {
            const int status = command.run(Invocation{std::move(args), out, err});
            return {status, out.str(), err.str()};
        }
    }
    return {-1, {}, "no such subcommand"};
}

} // namespace sorvala::ctl
