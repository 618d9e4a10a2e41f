// SPDX-License-Identifier: MIT
#pragma once

#include "Subcommand.h"

namespace sorvala::ctl {

/// `sorvalactl draw`: generates the drawing for a size, number and seed and prints it.
int runDraw(const Invocation& invocation);

} // namespace sorvala::ctl
