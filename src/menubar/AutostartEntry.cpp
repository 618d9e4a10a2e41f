// SPDX-License-Identifier: MIT
#include "menubar/AutostartEntry.h"

#include <algorithm>

namespace sorvala {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

/// The value of `key` in the main group; empty when absent.
std::string_view mainGroupValue(std::string_view contents, std::string_view wanted) {
    bool inMainGroup = false;
    while (!contents.empty()) {
        const auto end = contents.find('\n');
        const auto line = trimmed(contents.substr(0, end));
        contents = end == std::string_view::npos ? std::string_view() : contents.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (inMainGroup && equals != std::string_view::npos && trimmed(line.substr(0, equals)) == wanted)
            return trimmed(line.substr(equals + 1));
    }
    return {};
}

/// A string value with the entry's own escapes (\\, \s, \t, \n, \r) undone.
std::string unescapedValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': out += ' '; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: out += value[i];
        }
    }
    return out;
}

} // namespace

std::string AutostartEntry::program(std::string_view contents) {
    const auto exec = unescapedValue(mainGroupValue(contents, "Exec"));
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (!out.empty())
                break;
            continue;
        }
        if (quoted && c == '\\' && i + 1 < exec.size()) {
            out += exec[++i];
            continue;
        }
        if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%')
            ++i;
        out += c;
    }
    return out;
}

std::string AutostartEntry::quotedExecArgument(std::string_view path) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool plain = std::none_of(path.begin(), path.end(),
                                    [&](char c) { return reserved.find(c) != std::string_view::npos; });
    std::string out;
    if (!plain)
        out += '"';
    for (const char c : path) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (!plain && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        out += c;
    }
    if (!plain)
        out += '"';
    // The Exec value is itself a string value of the entry, whose own escapes double a backslash.
    std::string escaped;
    for (const char c : out) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string AutostartEntry::text(std::string_view executablePath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Sorvala\n"
           "Comment=Reminds you to take breaks\n"
           "Exec=" +
           quotedExecArgument(executablePath) +
           "\n"
           "Icon=org.sorvala.Sorvala\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool AutostartEntry::isEnabled(std::string_view contents) {
    return mainGroupValue(contents, "Hidden") != "true" &&
           mainGroupValue(contents, "X-GNOME-Autostart-enabled") != "false";
}

} // namespace sorvala
