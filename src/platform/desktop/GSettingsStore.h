// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace sorvala {

class Logger;

/// GSettings, the GNOME family's settings store. It lives in the gsettings module, loaded at the
/// first read or write, so a program that has needed neither (a desktop portal answers
/// the colour scheme) maps no GIO. Every call checks that the schema and the key are installed
/// first: GSettings ends the process when asked for a schema it does not have.
class GSettingsStore {
public:
    virtual ~GSettingsStore() = default;

    /// Whether `schema` with `key` is installed.
    virtual bool hasKey(const char* schema, const char* key) = 0;
    /// A boolean key; nullopt when the schema or the key is missing or of another type.
    virtual std::optional<bool> boolean(const char* schema, const char* key) = 0;
    /// A string or enumeration key; nullopt when the schema or the key is missing.
    virtual std::optional<std::string> text(const char* schema, const char* key) = 0;
    /// Writes a text key and waits until the settings store has confirmed it; answers why it
    /// failed, or nullopt.
    virtual std::optional<std::string> setText(const char* schema, const char* key, const std::string& value) = 0;

    /// The gsettings module's store, loaded on the first call; null when the module cannot be
    /// loaded (said in `log`).
    static GSettingsStore* load(Logger* log);
};

} // namespace sorvala
