// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

/// Which pages of the program's own file mappings (libraries, the executable, fonts) a break made
/// resident for the first time: the break screen's code and fonts, which an idle program does not
/// need in memory until the next break.
namespace sorvala::FilePageRelease {

/// The addresses from `start` up to `end`, whole pages.
struct Range {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    bool operator==(const Range&) const = default;
};

/// The mappings of `mapsText` (the text of /proc/self/maps) whose pages may be given back: those
/// of a plain file, never writable, so that their pages are clean copies of the file. Anonymous
/// memory, the stack, the kernel's own areas, devices, shared memory and deleted files are left
/// out, as is any line that does not read as a mapping.
std::vector<Range> mappingsToConsider(std::string_view mapsText);

/// The runs of file pages resident `after` but not `before` that lie in one of `mappings`,
/// adjacent runs joined. Each list may come in any order and overlap itself.
std::vector<Range> runsToGiveBack(std::vector<Range> before, std::vector<Range> after, std::vector<Range> mappings);

} // namespace sorvala::FilePageRelease
