// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"

namespace sorvala {

/// Registers the factory defaults of the settings the scheduling core reads: 20-minute long and
/// micro intervals, the cycle on with length 3, 3 snoozes per session and none counted per day,
/// a 30-second cooldown, working hours off (09:00-17:00, Monday to Friday), casual enforcement.
void registerCoreDefaults(PreferencesStore& store);

} // namespace sorvala
