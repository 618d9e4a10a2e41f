// SPDX-License-Identifier: MIT
#pragma once

#include "Subcommand.h"

#include <span>

namespace sorvala::ctl {

/// Every subcommand, in the order `sorvalactl --help` lists them.
std::span<const Subcommand> subcommands();

} // namespace sorvala::ctl
