// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/GSettingsValue.h" // gsettingsString reads a text key

#include <optional>
#include <string>

namespace sorvala {

/// Whether GSettings has `schema` with `key` installed (GSettings ends the process when asked
/// for a schema it does not have, so every caller checks first).
bool gsettingsHasKey(const char* schema, const char* key);

/// Writes a text key and waits until the settings store has confirmed it; answers why it failed
/// (not writable, kept in this process only, taken back unconfirmed), or nullopt.
std::optional<std::string> gsettingsSetString(const char* schema, const char* key, const std::string& value);

} // namespace sorvala
