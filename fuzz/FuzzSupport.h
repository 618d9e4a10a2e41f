// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"
#include "support/TemporaryDirectory.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

/// What the fuzz targets share: reading the input, checking a property, files for the readers
/// that take a path.
namespace sorvala::fuzz {

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

/// Stops the run as a finding when a property does not hold; libFuzzer keeps the input.
inline void require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

/// A target that covers several readers picks one with the first byte: '0' the first, '1' the
/// second and so on (any byte picks one), so seed files stay readable. Answers the reader and the rest.
inline std::pair<int, std::string_view> pick(const std::uint8_t* data, std::size_t size, int readers) {
    if (size == 0)
        return {};
    return {((data[0] - '0') % readers + readers) % readers, text(data + 1, size - 1)};
}

/// A folder of this process under the temporary folder, emptied on each use, for readers of files.
class ScratchFolder {
public:
    /// The folder, emptied.
    const std::filesystem::path& fresh() {
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path()))
            std::filesystem::remove_all(entry.path());
        return m_folder.path();
    }

    /// Writes `content` to `relative` under the folder, making the folders on the way.
    void write(const std::filesystem::path& relative, std::string_view content) const {
        const auto file = m_folder.path() / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
    }

private:
    TemporaryDirectory m_folder;
};

/// UTC with Monday first: the day arithmetic of the readers' callers without a zone database.
class UtcCalendar final : public Calendar {
public:
    int utcOffsetSeconds(Instant) const override { return 0; }
    int firstWeekday() const override { return 2; }
    std::string timeZoneId() const override { return "UTC"; }
};

} // namespace sorvala::fuzz
