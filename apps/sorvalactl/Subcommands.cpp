// SPDX-License-Identifier: MIT
#include "Subcommands.h"

#include "DrawCommand.h"

namespace sorvala::ctl {

namespace {
// One row per subcommand; each lives in <Name>Command.cpp.
const Subcommand table[] = {
    {"version", "Print the version", [](const Invocation& invocation) {
         invocation.out << "sorvalactl " SORVALA_VERSION "\n";
         return 0;
     }},
    {"draw", "Generate a drawing: print its strokes, render a PNG or simulate it", runDraw},
};
} // namespace

std::span<const Subcommand> subcommands() {
    return table;
}

} // namespace sorvala::ctl
