// SPDX-License-Identifier: MIT
#include "gallery/GalleryFiles.h"

#include <algorithm>
#include <cstdio>

namespace sorvala::GalleryFiles {

namespace {

bool newerFirst(const DrawingFile& a, const DrawingFile& b) {
    if (a.modified != b.modified)
        return a.modified > b.modified;
    return a.name > b.name;
}

} // namespace

std::string name(Instant date, const Calendar& calendar) {
    const DateComponents at = calendar.components(date);
    char text[64];
    std::snprintf(text, sizeof text, "Sorvala %04d-%02d-%02d %02d.%02d.%02d.png", at.day.year, at.day.month,
                  at.day.day, at.hour, at.minute, at.second);
    return text;
}

bool isDrawingName(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    const std::string_view extension = fileName.substr(dot + 1);
    if (extension.size() != 3)
        return false;
    const auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); };
    return lower(extension[0]) == 'p' && lower(extension[1]) == 'n' && lower(extension[2]) == 'g';
}

std::vector<std::string> namesToPrune(std::vector<DrawingFile> files, std::uintmax_t ceiling,
                                      const std::set<std::string>& protecting) {
    std::sort(files.begin(), files.end(), newerFirst);
    std::vector<std::string> pruned;
    std::uintmax_t total = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const DrawingFile& file = files[i];
        // Saturate: a damaged size must not wrap the total round and spare every older file.
        total = file.bytes > UINTMAX_MAX - total ? UINTMAX_MAX : total + file.bytes;
        if (i > 0 && total > ceiling && !protecting.contains(file.name))
            pruned.push_back(file.name);
    }
    std::reverse(pruned.begin(), pruned.end());
    return pruned;
}

std::string newest(const std::vector<DrawingFile>& files) {
    const auto found = std::min_element(files.begin(), files.end(), newerFirst);
    return found == files.end() ? std::string() : found->name;
}

std::string prunedMessage(std::size_t count, std::uintmax_t ceiling) {
    return "gallery pruned " + std::to_string(count) + " drawing(s) past its " +
           std::to_string(ceiling / 1000000) + " MB ceiling, oldest first";
}

} // namespace sorvala::GalleryFiles
