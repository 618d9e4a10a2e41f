// SPDX-License-Identifier: MIT
#include "sensing/MicrophoneDetection.h"

#include "core/Text.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

namespace sorvala::MicrophoneDetection {

namespace {

using Text::trimmed;

/// One "<Title> #<index>" block of pactl's listing: its top-level fields and its properties.
struct Block {
    std::optional<std::uint32_t> index;
    std::map<std::string, std::string, std::less<>> fields;
    std::map<std::string, std::string, std::less<>> properties;
};

std::optional<std::uint32_t> number(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<Block> blocks(std::string_view text, std::string_view title) {
    std::vector<Block> out;
    bool inBlock = false;
    bool inProperties = false;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.empty())
            continue;
        if (line.front() != '\t' && line.front() != ' ') {
            inProperties = false;
            inBlock = line.substr(0, title.size()) == title && line.substr(title.size(), 2) == " #";
            if (inBlock)
                out.push_back(Block{number(trimmed(line.substr(title.size() + 2))), {}, {}});
            continue;
        }
        if (!inBlock)
            continue;
        const bool nested = line.size() > 1 && line[0] == '\t' && line[1] == '\t';
        line = trimmed(line);
        if (!nested) {
            inProperties = line == "Properties:";
            const auto colon = line.find(':');
            if (!inProperties && colon != std::string_view::npos)
                out.back().fields.emplace(std::string(line.substr(0, colon)),
                                          std::string(trimmed(line.substr(colon + 1))));
            continue;
        }
        if (!inProperties)
            continue;
        const auto equals = line.find(" = ");
        if (equals == std::string_view::npos)
            continue;
        std::string_view value = trimmed(line.substr(equals + 3));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        out.back().properties.emplace(std::string(line.substr(0, equals)), std::string(value));
    }
    std::erase_if(out, [](const Block& block) { return !block.index; });
    return out;
}

std::string lookup(const std::map<std::string, std::string, std::less<>>& map, std::string_view key) {
    const auto found = map.find(key);
    return found == map.end() ? std::string() : found->second;
}

} // namespace

bool microphoneInUse(const std::vector<Source>& sources, const std::vector<Stream>& streams,
                     std::uint32_t ownProcessId) {
    return std::any_of(streams.begin(), streams.end(), [&](const Stream& stream) {
        if (stream.corked || stream.processId == ownProcessId)
            return false;
        if (std::find(std::begin(levelMeterApplicationIds), std::end(levelMeterApplicationIds),
                      stream.applicationId) != std::end(levelMeterApplicationIds))
            return false;
        const auto source = std::find_if(sources.begin(), sources.end(),
                                         [&](const Source& s) { return s.index == stream.source; });
        return source == sources.end() || !source->isMonitor;
    });
}

std::vector<Source> parseSourceList(std::string_view text) {
    std::vector<Source> sources;
    for (const auto& block : blocks(text, "Source")) {
        const std::string monitorOf = lookup(block.fields, "Monitor of Sink");
        sources.push_back(Source{*block.index, lookup(block.fields, "Name"), !monitorOf.empty() && monitorOf != "n/a"});
    }
    return sources;
}

std::vector<Stream> parseSourceOutputList(std::string_view text) {
    std::vector<Stream> streams;
    for (const auto& block : blocks(text, "Source Output")) {
        Stream stream;
        stream.index = *block.index;
        stream.source = number(lookup(block.fields, "Source")).value_or(0);
        stream.corked = lookup(block.fields, "Corked") == "yes";
        stream.applicationId = lookup(block.properties, "application.id");
        stream.applicationName = lookup(block.properties, "application.name");
        stream.processId = number(lookup(block.properties, "application.process.id"));
        streams.push_back(std::move(stream));
    }
    return streams;
}

bool alsaCaptureRunning(const std::filesystem::path& procAsound) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator card(procAsound, error), end; !error && card != end; card.increment(error)) {
        if (card->path().filename().string().rfind("card", 0) != 0)
            continue;
        for (fs::directory_iterator pcm(card->path(), error); !error && pcm != end; pcm.increment(error)) {
            const std::string name = pcm->path().filename().string();
            if (name.rfind("pcm", 0) != 0 || name.back() != 'c')
                continue;
            for (fs::directory_iterator sub(pcm->path(), error); !error && sub != end; sub.increment(error)) {
                if (sub->path().filename().string().rfind("sub", 0) != 0)
                    continue;
                std::ifstream status(sub->path() / "status");
                for (std::string line; std::getline(status, line);)
                    if (trimmed(line) == "state: RUNNING")
                        return true;
            }
            error.clear();
        }
        error.clear();
    }
    return false;
}

} // namespace sorvala::MicrophoneDetection
