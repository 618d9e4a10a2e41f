// SPDX-License-Identifier: MIT
#include "sensing/DoNotDisturb.h"

#include "core/Text.h"

#include <algorithm>
#include <cctype>

namespace sorvala::DoNotDisturb {

namespace {

constexpr Source allSources[] = {Source::plasma, Source::gnome,    Source::dunst,
                                 Source::xfce,   Source::cinnamon, Source::mako};

std::string lowered(std::string_view text) {
    std::string out(text);
    for (auto& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::string_view text(Source source) {
    switch (source) {
    case Source::plasma: return "plasma";
    case Source::gnome: return "gnome";
    case Source::dunst: return "dunst";
    case Source::xfce: return "xfce";
    case Source::cinnamon: return "cinnamon";
    case Source::mako: return "mako";
    }
    return "plasma";
}

std::optional<Source> sourceFromText(std::string_view word) {
    for (const Source source : allSources)
        if (text(source) == word)
            return source;
    return std::nullopt;
}

bool meansDoNotDisturb(const Reading& reading) {
    switch (reading.source) {
    case Source::plasma:
    case Source::dunst:
    case Source::xfce:
        return reading.flag == true;
    case Source::gnome:
    case Source::cinnamon:
        // These switches say whether banners show at all.
        return reading.flag == false;
    case Source::mako:
        return std::find(reading.modes.begin(), reading.modes.end(), "do-not-disturb") != reading.modes.end();
    }
    return false;
}

bool doNotDisturbOn(const std::vector<Reading>& readings) {
    return std::any_of(readings.begin(), readings.end(), meansDoNotDisturb);
}

std::optional<Source> sourceForServer(std::string_view serverName) {
    const std::string name = lowered(serverName);
    const auto has = [&name](std::string_view part) { return name.find(part) != std::string::npos; };
    if (has("plasma") || has("kde"))
        return Source::plasma;
    if (has("gnome"))
        return Source::gnome;
    if (has("dunst"))
        return Source::dunst;
    if (has("xfce"))
        return Source::xfce;
    if (has("cinnamon"))
        return Source::cinnamon;
    if (has("mako"))
        return Source::mako;
    return std::nullopt;
}

std::vector<std::string> parseMakoModes(std::string_view text) {
    std::vector<std::string> modes;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view line = Text::trimmed(text.substr(0, newline));
        if (!line.empty())
            modes.emplace_back(line);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    }
    return modes;
}

} // namespace sorvala::DoNotDisturb
