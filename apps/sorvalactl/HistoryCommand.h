// SPDX-License-Identifier: MIT
#pragma once

#include "Subcommand.h"

namespace sorvala::ctl {

/// `sorvalactl history stats|report|export`: the break history's statistics, reports and CSV.
int runHistory(const Invocation& invocation);

} // namespace sorvala::ctl
