// SPDX-License-Identifier: MIT
// The signal type lives with the notices; this header keeps older includes building.
#pragma once

#include "notices/UserSignal.h"
