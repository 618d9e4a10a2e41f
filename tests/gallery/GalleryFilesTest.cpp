// SPDX-License-Identifier: MIT
#include "gallery/GalleryFiles.h"

#include "support/ZoneCalendar.h"

#include <gtest/gtest.h>

using namespace sorvala;
using GalleryFiles::DrawingFile;

namespace {

const Instant t0 = Instant::fromSecondsSinceEpoch(1'780'000'000);

DrawingFile file(std::string name, std::uintmax_t bytes, double age) {
    return {std::move(name), bytes, t0 - age};
}

using Names = std::vector<std::string>;

} // namespace

TEST(GalleryFilesName, LocalTimeOfTheGivenZone) {
    const Instant at = parseIso8601("2026-12-05T18:23:07Z").value();
    EXPECT_EQ(GalleryFiles::name(at, ZoneCalendar("Europe/Berlin")), "Sorvala 2026-12-05 19.23.07.png");
    // A fraction of a second is dropped, not rounded into the next second.
    EXPECT_EQ(GalleryFiles::name(at + 0.999, ZoneCalendar("UTC")), "Sorvala 2026-12-05 18.23.07.png");
}

TEST(GalleryFilesName, OnlyPngInAnyCaseIsADrawing) {
    for (const char* png : {"Sorvala 2026-12-05 19.23.07.png", "old.PNG", "x.pNg"})
        EXPECT_TRUE(GalleryFiles::isDrawingName(png)) << png;
    for (const char* other : {"note.txt", ".png", "a.png.txt", "a.pngx", "a."})
        EXPECT_FALSE(GalleryFiles::isDrawingName(other)) << other;
}

TEST(GalleryFilesPrune, CeilingAndOrder) {
    struct Case { const char* name; std::vector<DrawingFile> files; std::uintmax_t ceiling;
                  std::set<std::string> protecting; Names expected; };
    const Case cases[] = {
        {"exactly at the ceiling stays", {file("a", 50, 2), file("b", 50, 1)}, 100, {}, {}},
        {"once past the ceiling every older file goes, oldest first",
         {file("a", 10, 4), file("b", 10, 3), file("c", 90, 2), file("d", 20, 1)}, 100, {}, {"a", "b", "c"}},
        {"a protected file pushes newer ones out of the ceiling",
         {file("x", 30, 3), file("wallpaper", 60, 2), file("y", 30, 1)}, 100, {"wallpaper"}, {"x"}},
        {"the newest is never pruned, even above the ceiling with an older protected one",
         {file("wallpaper", 10, 5), file("new", 500, 0)}, 100, {"wallpaper"}, {}},
        {"equal dates: the later name counts as newer",
         {file("Sorvala b.png", 60, 1), file("Sorvala a.png", 60, 1)}, 100, {}, {"Sorvala a.png"}},
        {"a missing date counts as the distant past",
         {{"undated", 10, Instant::distantPast()}, file("dated", 95, 100)}, 100, {}, {"undated"}},
        {"a size past what the total can hold still prunes the older files",
         {file("old", 1, 2), file("damaged", UINTMAX_MAX, 1), file("new", 1, 0)}, 100, {}, {"old", "damaged"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GalleryFiles::namesToPrune(c.files, c.ceiling, c.protecting), c.expected);
    }
}

TEST(GalleryFilesPrune, TheDefaultCeilingIsTwoHundredMegabytes) {
    std::vector<DrawingFile> files;
    for (int i = 0; i < 210; ++i)
        files.push_back(file("d" + std::to_string(1000 + i), 1000000, 210 - i));
    EXPECT_EQ(GalleryFiles::namesToPrune(files).size(), 10u);
}
