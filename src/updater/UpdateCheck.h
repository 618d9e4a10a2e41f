// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorvala::UpdateCheck {

/// One build offered by the feed.
struct Release {
    std::string version; ///< the version people see, never empty; also the name of its install folder
    long long build = 0;
    std::string url; ///< where the package is, never empty
    std::string sha256; ///< the package's SHA-256, 64 lower-case hex digits
    std::int64_t size = 0; ///< the package's length in bytes, positive
    bool operator==(const Release&) const = default;
};

/// The feed's path under the configured base address.
inline constexpr std::string_view feedPath = "api/cast.json";
/// What is appended to the feed's address for its detached signature.
inline constexpr std::string_view signatureSuffix = ".sig";

/// The release a feed offers; nullopt when the text is not one JSON object with a non-empty
/// "version" fit to name a folder, an integer "build", a non-empty "url", a 64-digit hex "sha256"
/// and a positive integer "size". Other keys are ignored.
std::optional<Release> release(std::string_view appcastJSON);

/// Whether `url` may be downloaded for a feed read from `feedURL`: both https, no user part, and
/// the same host and port, compared as text.
bool isTrustedDownloadURL(std::string_view url, std::string_view feedURL);

/// Whether `release` is newer than the running build; an equal or older build is never offered.
bool isNewer(long long localBuild, const Release& release);

/// Whether `version` can name a folder beside the installed versions: letters, digits, '.',
/// '-', '+', '_' and '~', not starting with a dot, and not the name of the version link.
bool isUsableVersionName(std::string_view version);

/// The feed's address under `base` (with or without a trailing slash).
std::string feedURL(std::string_view base);

} // namespace sorvala::UpdateCheck
