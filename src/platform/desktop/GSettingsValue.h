// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace sorvala {

/// A boolean GSettings key, after checking that the schema and the key are installed
/// (GSettings ends the process on a missing schema); nullopt when either is missing.
std::optional<bool> gsettingsBoolean(const char* schema, const char* key);

/// A string or enumeration GSettings key, with the same checks; nullopt when either is missing.
std::optional<std::string> gsettingsString(const char* schema, const char* key);

} // namespace sorvala
