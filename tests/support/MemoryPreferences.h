// SPDX-License-Identifier: MIT
// The simulation library holds it, since `sorvalactl simulate` uses it too.
#pragma once

#include "simulation/MemoryPreferences.h"
