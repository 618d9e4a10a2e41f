// SPDX-License-Identifier: MIT
// The xscreensaver resource file we edit in place: whatever it holds, our entry must be found
// after an edit, the other entries must stay, and a second edit must change nothing.
#include "FuzzSupport.h"

#include "core/Text.h"
#include "gallery/XScreenSaverPrograms.h"

#include <algorithm>

using namespace sorvala;

namespace {

constexpr std::string_view program = "/usr/bin/sorvala-saver";

/// The entries of `file` that are not ours, in order.
std::vector<std::string> othersOf(std::string_view file) {
    auto list = XScreenSaverPrograms::programs(file).value_or(std::vector<std::string>{});
    std::erase_if(list, [](const std::string& item) {
        return XScreenSaverPrograms::registeredProgram("programs: " + item).has_value();
    });
    return list;
}

/// Whether every line that goes on to the next ends an entry ("\n\") or opens the list: an
/// entry split over lines is one entry to xscreensaver, which the line-wise edit cannot follow.
bool entriesEndTheirLines(std::string_view file) {
    for (std::size_t start = 0; start < file.size();) {
        const std::size_t end = std::min(file.find('\n', start), file.size());
        std::string_view line = file.substr(start, end - start);
        start = end + 1;
        std::size_t slashes = 0;
        while (slashes < line.size() && line[line.size() - 1 - slashes] == '\\')
            ++slashes;
        if (slashes % 2 == 0)
            continue;
        line.remove_suffix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.starts_with('*'))
            line.remove_prefix(1);
        const bool opensList = line.starts_with("programs") && Text::trimmed(line.substr(8)) == ":";
        if (!line.empty() && !line.ends_with("\\n") && !opensList)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file = fuzz::text(data, size);
    XScreenSaverPrograms::registeredProgram(file);

    if (!entriesEndTheirLines(file))
        return 0;
    const bool keepDisabled = size % 2 == 0;
    const std::string edited = XScreenSaverPrograms::withEntry(file, program, keepDisabled);
    fuzz::require(XScreenSaverPrograms::registeredProgram(edited) == std::string(program),
                  "our entry is found after adding it");
    fuzz::require(othersOf(edited) == othersOf(file), "the other entries stay, in order");
    fuzz::require(XScreenSaverPrograms::withEntry(edited, program, keepDisabled) == edited,
                  "adding our entry twice changes nothing the second time");

    const std::string fresh = XScreenSaverPrograms::fromDefaults(file, program);
    fuzz::require(XScreenSaverPrograms::registeredProgram(fresh) == std::string(program),
                  "our entry is found in a file made from the defaults");
    return 0;
}
