// SPDX-License-Identifier: MIT
#include "gallery/XScreenSaverPrograms.h"

#include "core/Text.h"

#include <algorithm>
#include <cctype>

namespace sorvala::XScreenSaverPrograms {

namespace {

/// One physical line without its line feed, and whether it had one.
struct Line {
    std::string text;
    bool newline = false;
};

std::vector<Line> splitLines(std::string_view file) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = file.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(file.substr(start)), false});
            break;
        }
        lines.push_back({std::string(file.substr(start, end - start)), true});
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<Line>& lines) {
    std::string file;
    for (const Line& line : lines) {
        file += line.text;
        if (line.newline)
            file += '\n';
    }
    return file;
}

bool continues(std::string_view text) {
    // A resource goes on to the next line when the line ends in one backslash (an escaped
    // backslash, "\\", does not continue it).
    std::size_t slashes = 0;
    for (auto it = text.rbegin(); it != text.rend() && *it == '\\'; ++it)
        ++slashes;
    return slashes % 2 == 1;
}

/// The lines [first, last] of the programs resource, and where its value begins on the first.
struct Block {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t valueStart = 0;
};

std::optional<Block> findBlock(const std::vector<Line>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view text = lines[i].text;
        std::size_t at = 0;
        if (!text.empty() && text[0] == '*')
            at = 1;
        if (text.substr(at, 8) != "programs")
            continue;
        std::size_t colon = at + 8;
        while (colon < text.size() && (text[colon] == ' ' || text[colon] == '\t'))
            ++colon;
        if (colon >= text.size() || text[colon] != ':')
            continue;
        Block block{i, i, colon + 1};
        while (block.last < lines.size() && continues(lines[block.last].text) &&
               block.last + 1 < lines.size())
            ++block.last;
        return block;
    }
    return std::nullopt;
}

/// The resource's value with the continuations joined.
std::string blockValue(const std::vector<Line>& lines, const Block& block) {
    std::string value;
    for (std::size_t i = block.first; i <= block.last; ++i) {
        std::string_view text = lines[i].text;
        if (i == block.first)
            text.remove_prefix(block.valueStart);
        if (continues(text))
            text.remove_suffix(1);
        value += text;
    }
    return value;
}

std::vector<std::string> entriesOf(std::string_view value) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = value.find("\\n", start);
        const std::string_view piece = Text::trimmed(
            value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (!piece.empty())
            entries.emplace_back(piece);
        if (end == std::string_view::npos)
            break;
        start = end + 2;
    }
    return entries;
}

/// The command of an entry: without the disabling "-", a visual ("GL:") and the quoted name.
struct ParsedEntry {
    bool disabled = false;
    std::string name;
    std::string command;
};

ParsedEntry parse(std::string_view entryText) {
    ParsedEntry parsed;
    std::string_view rest = Text::trimmed(entryText);
    if (!rest.empty() && rest[0] == '-') {
        parsed.disabled = true;
        rest = Text::trimmed(rest.substr(1));
    }
    // A visual is one word ending in a colon before the command.
    const std::size_t space = rest.find_first_of(" \t");
    const std::size_t colon = rest.find(':');
    if (colon != std::string_view::npos && (space == std::string_view::npos || colon < space) &&
        rest[0] != '"')
        rest = Text::trimmed(rest.substr(colon + 1));
    if (!rest.empty() && rest[0] == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close != std::string_view::npos) {
            parsed.name = std::string(rest.substr(1, close - 1));
            rest = Text::trimmed(rest.substr(close + 1));
        }
    }
    parsed.command = std::string(rest);
    return parsed;
}

/// The first word of a command as the shell reads it: quotes joined and removed.
std::string programOf(std::string_view command) {
    std::string word;
    char quote = 0;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else if (quote == '"' && c == '\\' && i + 1 < command.size())
                word += command[++i];
            else
                word += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ' ' || c == '\t') {
            break;
        } else {
            word += c;
        }
    }
    return word;
}

/// `path` as one word for the shell xscreensaver hands a command with quotes to: bare when plain,
/// else in single quotes (a quote inside as '"'"', so no backslash meets the resource reader).
std::string shellWord(std::string_view path) {
    const bool plain = std::all_of(path.begin(), path.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("/._+-,=@%:~").find(c) != std::string_view::npos;
    });
    if (plain && !path.empty())
        return std::string(path);
    std::string word = "'";
    for (const char c : path)
        word += c == '\'' ? std::string("'\"'\"'") : std::string(1, c);
    return word + "'";
}

bool isOurs(std::string_view entryText) {
    const ParsedEntry parsed = parse(entryText);
    if (parsed.name == prettyName)
        return true;
    const std::string program = programOf(parsed.command);
    const std::size_t slash = program.rfind('/');
    return (slash == std::string::npos ? program : program.substr(slash + 1)) == "sorvala-saver";
}

std::string entryLine(std::string_view programPath, bool disabled, bool last) {
    return std::string(disabled ? "-" : "") + "\t\t\t\t" + entry(programPath) + "\t\t\t    \\n" +
           (last ? "" : "\\");
}

/// Makes the last line of a list end in "\n\" so another line can follow it; `endEntry` adds the
/// "\n" that ends the list's last entry when the list does not end in one yet.
void openForAnother(Line& line, bool endEntry) {
    std::string text = line.text;
    if (continues(text))
        text.pop_back();
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    if (endEntry)
        text += " \\n";
    line.text = text + "\\";
    line.newline = true;
}

/// Replaces the first entry of ours among `pieces`, the entries of `line` from `valueStart` on,
/// with the entry for `programPath`; false when none of them is ours.
bool rewriteSharedEntry(std::string& line, std::size_t valueStart, const std::vector<std::string>& pieces,
                        std::string_view programPath, bool keepDisabled) {
    std::size_t at = valueStart;
    for (const std::string& piece : pieces) {
        at = line.find(piece, at);
        if (isOurs(piece)) {
            const bool disabled = keepDisabled && parse(piece).disabled;
            line.replace(at, piece.size(), (disabled ? "-" : "") + entry(programPath));
            return true;
        }
        at += piece.size();
    }
    return false;
}

} // namespace

std::string entry(std::string_view programPath) {
    // xscreensaver splits a plain command at blanks itself; one with quotes goes to the shell.
    return "\"" + std::string(prettyName) + "\"  " + shellWord(programPath) + " --root";
}

std::optional<std::vector<std::string>> programs(std::string_view file) {
    const auto lines = splitLines(file);
    const auto block = findBlock(lines);
    if (!block)
        return std::nullopt;
    return entriesOf(blockValue(lines, *block));
}

std::optional<std::string> registeredProgram(std::string_view file) {
    const auto list = programs(file);
    if (!list)
        return std::nullopt;
    for (const std::string& item : *list)
        if (isOurs(item))
            return programOf(parse(item).command);
    return std::nullopt;
}

std::string withEntry(std::string_view file, std::string_view programPath, bool keepDisabled) {
    auto lines = splitLines(file);
    const auto block = findBlock(lines);
    if (!block) {
        if (!lines.empty())
            lines.back().newline = true;
        lines.push_back({"programs:\t\t\t\t\t\t\t\t      \\", true});
        lines.push_back({entryLine(programPath, false, true), true});
        return joinLines(lines);
    }
    // An entry of ours on a line of its own is rewritten in place.
    for (std::size_t i = block->first; i <= block->last; ++i) {
        std::string_view text = lines[i].text;
        if (i == block->first)
            text.remove_prefix(block->valueStart);
        const auto pieces = entriesOf(continues(text) ? text.substr(0, text.size() - 1) : text);
        if (pieces.size() > 1) {
            // Ours shares the line with others: only its own text changes, or the stale entry
            // would stay first in the list and ours would be added again after it.
            if (rewriteSharedEntry(lines[i].text,
                                   static_cast<std::size_t>(text.data() - lines[i].text.data()), pieces,
                                   programPath, keepDisabled))
                return joinLines(lines);
            continue;
        }
        if (pieces.size() != 1 || !isOurs(pieces.front()))
            continue;
        const bool disabled = keepDisabled && parse(pieces.front()).disabled;
        const bool last = !continues(lines[i].text);
        std::string replaced = entryLine(programPath, disabled, last);
        if (i == block->first)
            replaced = lines[i].text.substr(0, block->valueStart) + replaced;
        lines[i].text = replaced;
        return joinLines(lines);
    }
    // Whether the list ends in an entry without its "\n": judged on the value, not the line, since
    // a blank last line or an entry ending in a colon would mislead a look at the line alone.
    const std::string value = blockValue(lines, *block);
    const std::string_view list = Text::trimmed(value);
    openForAnother(lines[block->last], !list.empty() && !list.ends_with("\\n"));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(block->last) + 1,
                 Line{entryLine(programPath, false, true), true});
    return joinLines(lines);
}

std::string fromDefaults(std::string_view defaults, std::string_view programPath) {
    std::string file = "# XScreenSaver preferences, started from the defaults by Sorvala.\n"
                       "# Every setting left out here keeps its default.\n\n";
    const auto list = programs(defaults);
    std::vector<Line> lines{{"programs:\t\t\t\t\t\t\t\t      \\", true}};
    // An entry of ours in the defaults (a packaged one, say) would come first and name another
    // program than the one added here; ours is the only one the new file keeps.
    if (list)
        for (const std::string& item : *list)
            if (!isOurs(item))
                lines.push_back({"\t\t\t\t" + item + "\t\t\t    \\n\\", true});
    lines.push_back({entryLine(programPath, false, true), true});
    return file + joinLines(lines);
}

} // namespace sorvala::XScreenSaverPrograms
