// SPDX-License-Identifier: MIT
#include "Subcommand.h"

namespace sorvala::ctl {

int fail(const Invocation& invocation, std::string_view message) {
    invocation.err << "sorvalactl: " << message << '\n';
    return usageError;
}

bool wantsHelp(const Invocation& invocation) {
    for (const auto& arg : invocation.args)
        if (arg == "--help" || arg == "-h")
            return true;
    return false;
}

} // namespace sorvala::ctl
