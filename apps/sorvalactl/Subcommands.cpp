// SPDX-License-Identifier: MIT
#include "Subcommands.h"

namespace sorvala::ctl {

int soundCommand(const Invocation& invocation);

namespace {
// One row per subcommand; each lives in <Name>Command.cpp.
const Subcommand table[] = {
    {"version", "Print the version", [](const Invocation& invocation) {
         invocation.out << "sorvalactl " SORVALA_VERSION "\n";
         return 0;
     }},
#ifdef SORVALACTL_WITH_PLATFORM
    {"sound", "Play one chime and wait until it ends", soundCommand},
#endif
};
} // namespace

std::span<const Subcommand> subcommands() {
    return table;
}

} // namespace sorvala::ctl
