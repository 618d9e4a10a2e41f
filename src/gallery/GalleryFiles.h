// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"
#include "core/Instant.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

/// How gallery drawings are named and which of them the size ceiling lets go. Pure.
namespace sorvala::GalleryFiles {

/// The gallery's size ceiling: 200 MB, in decimal megabytes.
inline constexpr std::uintmax_t maximumBytes = 200000000;

/// A drawing file as pruning sees it. An unreadable size is 0, a missing date the distant past.
struct DrawingFile {
    std::string name;
    std::uintmax_t bytes = 0;
    Instant modified = Instant::distantPast();
};

/// "Sorvala 2026-12-05 19.23.07.png": the local date and time of `date` in `calendar`'s zone.
std::string name(Instant date, const Calendar& calendar);

/// Whether a file name has the extension "png", in any letter case.
bool isDrawingName(std::string_view fileName);

/// The names to delete so the gallery fits under `ceiling`, oldest first. Walking newest first
/// (later name first on equal dates), every file's bytes count toward the total, protected or not;
/// a file goes once the total including it passes the ceiling, unless it is the newest or protected.
std::vector<std::string> namesToPrune(std::vector<DrawingFile> files, std::uintmax_t ceiling = maximumBytes,
                                      const std::set<std::string>& protecting = {});

/// The newest drawing (latest date, later name on equal dates); empty for none.
std::string newest(const std::vector<DrawingFile>& files);

/// "gallery pruned 3 drawing(s) past its 200 MB ceiling, oldest first".
std::string prunedMessage(std::size_t count, std::uintmax_t ceiling = maximumBytes);

} // namespace sorvala::GalleryFiles
