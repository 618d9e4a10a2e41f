// SPDX-License-Identifier: MIT
#pragma once

#include <fstream>
#include <string>
#include <string_view>

namespace sorvala::test {

/// Whether a file whose path contains `name` is mapped into process `pid`.
inline bool libraryMapped(std::string_view name, const std::string& pid = "self") {
    std::ifstream maps("/proc/" + pid + "/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find('/') != std::string::npos && line.find(name, line.find('/')) != std::string::npos)
            return true;
    return false;
}

} // namespace sorvala::test
