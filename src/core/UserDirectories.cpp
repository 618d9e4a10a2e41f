// SPDX-License-Identifier: MIT
#include "core/UserDirectories.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace sorvala::UserDirectories {

namespace {

std::filesystem::path home() {
    if (const char* value = std::getenv("HOME"); value && *value)
        return value;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

/// The folder an XDG variable names; a relative or empty value is ignored, as the base
/// directory rules ask.
std::filesystem::path xdgHome(const char* variable, const char* fallbackUnderHome) {
    if (const char* value = std::getenv(variable); value && *value) {
        const std::filesystem::path path(value);
        if (path.is_absolute())
            return path;
    }
    return home() / fallbackUnderHome;
}

} // namespace

std::filesystem::path dataHome() {
    return xdgHome("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path stateHome() {
    return xdgHome("XDG_STATE_HOME", ".local/state");
}

} // namespace sorvala::UserDirectories
