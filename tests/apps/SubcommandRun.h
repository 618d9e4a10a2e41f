// SPDX-License-Identifier: MIT
#pragma once

#include "Subcommands.h"

#include <gtest/gtest.h>

#include <algorithm>
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

/// A refused invocation: the usage status, nothing on standard output and one line on standard
/// error that starts with `prefix`.
inline void expectRefused(const SubcommandResult& result, const std::string& prefix = "sorvalactl: ") {
    EXPECT_EQ(result.status, usageError);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(result.err.starts_with(prefix)) << result.err;
}

} // namespace sorvala::ctl
