// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/GSettingsValue.h" // gsettingsString reads a text key

#include <optional>
#include <string>

namespace sorvala {

/// Whether GSettings has `schema` with `key` installed (GSettings ends the process when asked
/// for a schema it does not have, so every caller checks first).
bool gsettingsHasKey(const char* schema, const char* key);

/// Writes a text key and waits until the backend has it; answers why it failed, or nullopt.
std::optional<std::string> gsettingsSetString(const char* schema, const char* key, const std::string& value);

} // namespace sorvala
