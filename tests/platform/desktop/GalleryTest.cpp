// SPDX-License-Identifier: MIT
#include "platform/desktop/Gallery.h"

#include "drawing/AppearanceKeys.h"
#include "render/SorvalaSaverView.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"
#include "support/ZoneCalendar.h"

#include <QImage>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace sorvala;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

struct FixedClock final : Clock {
    Instant now() const override { return at; }
    Instant at = parseIso8601("2026-12-05T19:23:07Z").value();
};

struct FakeDesktopPicture final : DesktopPicture {
    std::vector<std::filesystem::path> currentPictures() override { return current; }
    std::optional<Outcome> set(const std::filesystem::path& file) override {
        setTo.push_back(file);
        return outcome;
    }
    std::vector<std::filesystem::path> current;
    std::optional<Outcome> outcome = Outcome{1, {}};
    std::vector<std::filesystem::path> setTo;
};

std::vector<std::string> pngNames(const Gallery& gallery) {
    std::vector<std::string> names;
    for (const auto& file : gallery.drawings().value_or(std::vector<GalleryFiles::DrawingFile>{}))
        names.push_back(file.name);
    std::sort(names.begin(), names.end());
    return names;
}

class GalleryOnDisk : public ::testing::Test {
protected:
    std::filesystem::path folder() const { return home / "Gallery"; }
    QImage png(const std::string& name) const {
        return QImage(QString::fromStdString((folder() / name).string()));
    }
    /// A file of `bytes` in the gallery (sparse, so 250 MB costs nothing) last modified `age`
    /// seconds before the clock.
    void makeFile(const std::string& name, std::uintmax_t bytes, double age) const {
        const auto path = folder() / name;
        std::filesystem::create_directories(folder());
        writeFile(path, "");
        std::filesystem::resize_file(path, bytes);
        const double when = clock.at.secondsSinceEpoch() - age;
        const timespec times[2] = {{static_cast<time_t>(when), 0}, {static_cast<time_t>(when), 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
    Gallery gallery() {
        return Gallery(log, clock, calendar, desktop, folder(), [this](const std::filesystem::path& path) {
            opened.push_back(path);
            return true;
        });
    }

    TemporaryDirectory home;
    RecordingLogger log;
    FixedClock clock;
    ZoneCalendar calendar{"Europe/Berlin"};
    FakeDesktopPicture desktop;
    std::vector<std::filesystem::path> opened;
};

QImage smallImage() {
    QImage image(40, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::darkBlue);
    return image;
}

} // namespace

TEST_F(GalleryOnDisk, ASavedViewIsItsFinishedDrawingAtTheGivenRatio) {
    MemoryPreferences store;
    store.set(AppearanceKeys::themeKey, std::int64_t{0});
    store.set(AppearanceKeys::speedKey, 10.0);
    SorvalaSaverView view(store, 0);
    view.setGeometry(QSizeF(300, 180), 1);
    double now = 0;
    for (int frame = 0; frame < 20000 && !view.isDrawingComplete(); ++frame)
        view.animateOneFrame(now += 0.05);
    ASSERT_TRUE(view.isDrawingComplete());
    QImage shown(300, 180, QImage::Format_ARGB32_Premultiplied);
    view.renderInto(shown, true);
    gallery().save(view, 1);
    const std::string name = "Sorvala 2026-12-05 20.23.07.png";
    const QImage saved = png(name);
    ASSERT_EQ(saved.size(), shown.size());
    EXPECT_EQ(log.lines.back(),
              "gallery saved " + name + " bytes=" + std::to_string(std::filesystem::file_size(folder() / name)));
    int differing = 0, inked = 0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x) {
            const QRgb a = saved.pixel(x, y), b = shown.pixel(x, y);
            differing += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                   std::abs(qBlue(a) - qBlue(b))}) > 2 || qAlpha(a) != 255;
            inked += qGray(a) < 150;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(inked, 100);

    // A ratio of 0 is a view without a window: saved at 2.
    clock.at += 60;
    gallery().save(view, 0);
    EXPECT_EQ(png("Sorvala 2026-12-05 20.24.07.png").size(), QSize(600, 360));
    // A view of no size leaves nothing and says nothing.
    SorvalaSaverView empty(store, 0);
    log.lines.clear();
    clock.at += 60;
    gallery().save(empty, 1);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(pngNames(gallery()).size(), 2u);
}

TEST_F(GalleryOnDisk, SavePrunesToTheCeilingSparingWallpapersAndOtherFiles) {
    // Which drawings go is the prune rule's; here the sizes, dates and names come from the disk.
    makeFile("newer.png", 60000000, 3600);
    makeFile("Sorvala wallpaper.PNG", 150000000, 7200);
    makeFile("older.png", 10000000, 10800);
    makeFile("note.txt", 300000000, 86400 * 40);
    std::filesystem::create_directory(folder() / "folder.png");
    // The desktop shows a copy of the wallpaper from another folder: the name is what counts.
    desktop.current = {"/elsewhere/Sorvala wallpaper.PNG"};

    auto keeper = gallery();
    ASSERT_TRUE(keeper.saveImage(smallImage()));
    EXPECT_THAT(pngNames(keeper),
                ElementsAre("Sorvala 2026-12-05 20.23.07.png", "Sorvala wallpaper.PNG", "newer.png"));
    EXPECT_TRUE(std::filesystem::exists(folder() / "note.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(folder() / "folder.png"));
    EXPECT_EQ(log.lines.back(), "gallery pruned 1 drawing(s) past its 200 MB ceiling, oldest first");
    // Nothing past the ceiling: nothing is said.
    log.lines.clear();
    keeper.pruneToCeiling();
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(GalleryOnDisk, FailuresAreOneLineAndLeaveNothingBehind) {
    // The gallery's place is taken by a file: the folder cannot be made.
    writeFile(folder(), "not a folder");
    EXPECT_FALSE(gallery().saveImage(smallImage()));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_THAT(log.lines.back(), HasSubstr("gallery save failed: could not create"));
    EXPECT_EQ(readFile(folder()), "not a folder");

    // A folder that cannot be written to.
    std::filesystem::remove(folder());
    std::filesystem::create_directories(folder());
    std::filesystem::permissions(folder(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access(folder().c_str(), W_OK) != 0) { // root writes anyway
        EXPECT_FALSE(gallery().saveImage(smallImage()));
        EXPECT_THAT(log.lines.back(), HasSubstr("gallery save failed: could not write"));
        EXPECT_TRUE(std::filesystem::is_empty(folder()));
    }
    std::filesystem::permissions(folder(), std::filesystem::perms::owner_all);

    // An image that cannot be encoded.
    EXPECT_FALSE(gallery().saveImage(QImage()));
    EXPECT_EQ(log.lines.back(), "gallery save failed: could not encode the sorvala as PNG");
}

TEST_F(GalleryOnDisk, WallpaperTakesTheNewestDrawingOrOpensTheFolder) {
    auto keeper = gallery();
    keeper.useLatestSorvalaAsWallpaper();
    EXPECT_THAT(log.lines,
                ElementsAre("latest sorvala set as wallpaper", "wallpaper not set: gallery is empty"));
    EXPECT_THAT(opened, ElementsAre(folder())); // made, then opened
    EXPECT_TRUE(std::filesystem::is_directory(folder()));

    makeFile("older.png", 10, 500);
    makeFile("newer.png", 10, 100);
    makeFile("newest.txt", 10, 1);
    log.lines.clear();
    opened.clear();
    desktop.outcome = DesktopPicture::Outcome{2, {"screen HDMI-1 refused"}};
    EXPECT_TRUE(keeper.setLatestAsWallpaper());
    EXPECT_THAT(desktop.setTo, ElementsAre(folder() / "newer.png"));
    EXPECT_THAT(log.lines, ElementsAre("wallpaper failed on one screen: screen HDMI-1 refused",
                                       "wallpaper set to newer.png screens=1/2"));

    log.lines.clear();
    desktop.outcome = DesktopPicture::Outcome{1, {"no"}};
    keeper.useLatestSorvalaAsWallpaper();
    EXPECT_THAT(log.lines.back(), "wallpaper set to newer.png screens=0/1");
    EXPECT_THAT(opened, ElementsAre(folder()));

    // A desktop with no known way: false, and the command opens the folder.
    desktop.outcome.reset();
    opened.clear();
    keeper.useLatestSorvalaAsWallpaper();
    EXPECT_THAT(log.lines.back(), HasSubstr("wallpaper not set: no known way"));
    EXPECT_THAT(opened, ElementsAre(folder()));
}
