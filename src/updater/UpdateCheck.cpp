// SPDX-License-Identifier: MIT
#include "updater/UpdateCheck.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace sorvala::UpdateCheck {

namespace {

struct Origin {
    std::string scheme;
    std::string host;
    std::string port;
};

/// The scheme, host and port of an absolute address; nullopt when it has none or carries a user
/// part ("https://trusted@elsewhere/" names `elsewhere`).
std::optional<Origin> originOf(std::string_view url) {
    const auto colon = url.find("://");
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;
    Origin origin{std::string(url.substr(0, colon)), {}, {}};
    std::string_view rest = url.substr(colon + 3);
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (authority.empty() || authority.find('@') != std::string_view::npos)
        return std::nullopt;
    std::string_view host = authority;
    std::string_view port;
    if (host.front() == '[') {
        const auto close = host.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        port = host.substr(close + 1);
        host = host.substr(0, close + 1);
        if (!port.empty() && port.front() != ':')
            return std::nullopt;
    } else if (const auto portColon = host.rfind(':'); portColon != std::string_view::npos) {
        port = host.substr(portColon);
        host = host.substr(0, portColon);
    }
    if (!port.empty())
        port.remove_prefix(1);
    if (host.empty() || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    origin.host = std::string(host);
    origin.port = port.empty() || port == "443" ? std::string() : std::string(port);
    return origin;
}

bool isHexDigest(std::string_view text) {
    return text.size() == 64 &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

} // namespace

std::optional<Release> release(std::string_view appcastJSON) {
    const auto json = nlohmann::json::parse(appcastJSON, nullptr, false);
    if (!json.is_object())
        return std::nullopt;
    const auto version = json.find("version");
    const auto build = json.find("build");
    const auto url = json.find("url");
    const auto sha256 = json.find("sha256");
    const auto size = json.find("size");
    if (version == json.end() || build == json.end() || url == json.end() || sha256 == json.end() ||
        size == json.end())
        return std::nullopt;
    if (!version->is_string() || !build->is_number_integer() || !url->is_string() || !sha256->is_string() ||
        !size->is_number_integer())
        return std::nullopt;
    Release found{version->get<std::string>(), build->get<long long>(), url->get<std::string>(),
                  sha256->get<std::string>(), size->get<std::int64_t>()};
    std::transform(found.sha256.begin(), found.sha256.end(), found.sha256.begin(),
                   [](char c) { return c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c; });
    if (!isUsableVersionName(found.version) || found.url.empty() || !isHexDigest(found.sha256) || found.size <= 0)
        return std::nullopt;
    return found;
}

bool isTrustedDownloadURL(std::string_view url, std::string_view feedURL) {
    const auto download = originOf(url);
    const auto feed = originOf(feedURL);
    return download && feed && download->scheme == "https" && feed->scheme == "https" &&
           download->host == feed->host && download->port == feed->port;
}

bool isNewer(long long localBuild, const Release& release) {
    return release.build > localBuild;
}

bool isUsableVersionName(std::string_view version) {
    if (version.empty() || version.front() == '.' || version == "current" || version.size() > 64)
        return false;
    return std::all_of(version.begin(), version.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' ||
               c == '+' || c == '_' || c == '~';
    });
}

std::string feedURL(std::string_view base) {
    std::string url(base);
    if (!url.empty() && url.back() != '/')
        url += '/';
    return url + std::string(feedPath);
}

} // namespace sorvala::UpdateCheck
