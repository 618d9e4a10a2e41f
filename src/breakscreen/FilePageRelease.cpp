// SPDX-License-Identifier: MIT
#include "breakscreen/FilePageRelease.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace sorvala::FilePageRelease {

namespace {

/// The next space-separated field of `line`, taken off its front.
std::string_view field(std::string_view& line) {
    const auto begin = line.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(begin);
    const auto end = std::min(line.find(' '), line.size());
    const auto out = line.substr(0, end);
    line.remove_prefix(end);
    return out;
}

std::optional<std::uint64_t> number(std::string_view text, int base) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

/// Files whose pages are not plain file pages: devices, shared memory segments and memfds, and
/// files deleted since (a program replaced under us keeps its old pages).
bool isPlainFile(std::string_view path) {
    if (!path.starts_with('/') || path.starts_with("/dev/") || path.starts_with("/memfd:") ||
        path.starts_with("/SYSV"))
        return false;
    return !path.ends_with(" (deleted)");
}

std::optional<Range> parse(std::string_view line) {
    const auto range = field(line);
    const auto permissions = field(line);
    field(line); // offset
    field(line); // device
    const auto inode = number(field(line), 10);
    const auto dash = range.find('-');
    if (dash == std::string_view::npos || permissions.size() != 4 || !inode)
        return std::nullopt;
    const auto start = number(range.substr(0, dash), 16);
    const auto end = number(range.substr(dash + 1), 16);
    if (!start || !end || *end <= *start)
        return std::nullopt;
    const auto pathStart = line.find_first_not_of(' ');
    const auto path = pathStart == std::string_view::npos ? std::string_view() : line.substr(pathStart);
    if (permissions[0] != 'r' || permissions[1] != '-' || *inode == 0 || !isPlainFile(path))
        return std::nullopt;
    return Range{*start, *end};
}

/// `ranges` in order, overlapping and adjacent ones joined, empty ones dropped.
std::vector<Range> normalized(std::vector<Range> ranges) {
    std::erase_if(ranges, [](const Range& r) { return r.end <= r.start; });
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
    std::vector<Range> out;
    for (const auto& range : ranges) {
        if (!out.empty() && range.start <= out.back().end)
            out.back().end = std::max(out.back().end, range.end);
        else
            out.push_back(range);
    }
    return out;
}

/// What both normalized lists cover.
std::vector<Range> intersection(const std::vector<Range>& a, const std::vector<Range>& b) {
    std::vector<Range> out;
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        const auto start = std::max(a[i].start, b[j].start);
        const auto end = std::min(a[i].end, b[j].end);
        if (start < end)
            out.push_back({start, end});
        (a[i].end < b[j].end ? i : j) += 1;
    }
    return out;
}

/// What normalized `a` covers and normalized `b` does not.
std::vector<Range> difference(const std::vector<Range>& a, const std::vector<Range>& b) {
    std::vector<Range> out;
    std::size_t j = 0;
    for (auto range : a) {
        while (j < b.size() && b[j].end <= range.start)
            ++j;
        for (auto k = j; k < b.size() && b[k].start < range.end; ++k) {
            if (b[k].start > range.start)
                out.push_back({range.start, b[k].start});
            range.start = std::max(range.start, b[k].end);
        }
        if (range.start < range.end)
            out.push_back(range);
    }
    return out;
}

} // namespace

std::vector<Range> mappingsToConsider(std::string_view mapsText) {
    std::vector<Range> out;
    while (!mapsText.empty()) {
        const auto newline = std::min(mapsText.find('\n'), mapsText.size());
        if (const auto mapping = parse(mapsText.substr(0, newline)))
            out.push_back(*mapping);
        mapsText.remove_prefix(std::min(newline + 1, mapsText.size()));
    }
    return out;
}

std::vector<Range> runsToGiveBack(std::vector<Range> before, std::vector<Range> after, std::vector<Range> mappings) {
    const auto inMappings = intersection(normalized(std::move(after)), normalized(std::move(mappings)));
    return normalized(difference(inMappings, normalized(std::move(before))));
}

} // namespace sorvala::FilePageRelease
