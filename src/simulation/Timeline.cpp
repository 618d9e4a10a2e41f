// SPDX-License-Identifier: MIT
#include "simulation/Timeline.h"

namespace sorvala {

std::vector<std::string> Timeline::logLines() const {
    std::vector<std::string> lines;
    for (const auto& entry : m_entries)
        if (entry.isLogLine)
            lines.push_back(entry.text);
    return lines;
}

std::vector<std::string> Timeline::texts() const {
    std::vector<std::string> texts;
    for (const auto& entry : m_entries)
        texts.push_back(entry.text);
    return texts;
}

bool Timeline::logged(std::string_view fragment) const {
    return count(fragment) > 0;
}

int Timeline::count(std::string_view fragment) const {
    int found = 0;
    for (const auto& entry : m_entries)
        if (entry.isLogLine && entry.text.find(fragment) != std::string::npos)
            ++found;
    return found;
}

} // namespace sorvala
