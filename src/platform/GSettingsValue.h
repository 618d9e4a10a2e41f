// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace sorvala {

/// A boolean GSettings key, after checking that the schema and the key are installed
/// (GSettings ends the process on a missing schema); nullopt when either is missing.
std::optional<bool> gsettingsBoolean(const char* schema, const char* key);

} // namespace sorvala
