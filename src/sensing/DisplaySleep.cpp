// SPDX-License-Identifier: MIT
#include "sensing/DisplaySleep.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace sorvala::DisplaySleep {

namespace {

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
        line.pop_back();
    return line;
}

} // namespace

bool dpmsAsleep(const DpmsState& state) {
    return state.capable && state.enabled && state.powerLevel != 0;
}

bool powerSaveModeAsleep(int mode) {
    return mode >= 1 && mode <= 3;
}

std::vector<Connector> readConnectors(const std::filesystem::path& drmRoot) {
    std::vector<Connector> connectors;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(drmRoot, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        // card0 is the device itself, card0-eDP-1 a connector; renderD128 and version are neither.
        if (name.rfind("card", 0) != 0 || name.find('-') == std::string::npos)
            continue;
        connectors.push_back(Connector{name, firstLine(entry->path() / "status"),
                                       firstLine(entry->path() / "enabled"), firstLine(entry->path() / "dpms")});
    }
    std::sort(connectors.begin(), connectors.end(),
              [](const Connector& a, const Connector& b) { return a.name < b.name; });
    return connectors;
}

std::optional<bool> everyConnectorAsleep(const std::vector<Connector>& connectors) {
    bool anyInUse = false;
    for (const auto& connector : connectors) {
        if (connector.status != "connected" || connector.enabled != "enabled")
            continue;
        anyInUse = true;
        if (connector.dpms == "On" || connector.dpms.empty())
            return false;
    }
    if (!anyInUse)
        return std::nullopt;
    return true;
}

} // namespace sorvala::DisplaySleep
