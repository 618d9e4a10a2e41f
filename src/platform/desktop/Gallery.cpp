// SPDX-License-Identifier: MIT
#include "platform/desktop/Gallery.h"

#include "core/UserDirectories.h"
#include "render/InkRaster.h"
#include "render/SorvalaSaverView.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QPainter>
#include <QSaveFile>
#include <QUrl>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <set>

#include <sys/stat.h>

namespace sorvala {

namespace {

/// The finished drawing as the view shows it: its ink, already laid down stroke by stroke, on the
/// paper of its theme. Drawing the whole picture again from its strokes would take seconds on a
/// large display while the break screen closes; the ink is there to be copied.
QImage finishedPicture(const SorvalaSaverView& view, qreal scale) {
    const QSizeF size = view.size();
    const QSize pixels(static_cast<int>(std::ceil(size.width() * scale)),
                       static_cast<int>(std::ceil(size.height() * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(scale);
    const Settings::Theme theme = view.logic().theme();
    QImage grain;
    if (theme == Settings::Theme::paper) {
        grain = paperGrain(pixels);
        grain.setDevicePixelRatio(scale);
    }
    QPainter painter(&image);
    const QRectF bounds(QPointF(0, 0), size);
    paintPaper(painter, bounds, theme, grain);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(bounds, view.inkImage());
    return image;
}

} // namespace

Gallery::Gallery(Logger& log, const Clock& clock, const Calendar& calendar, DesktopPicture& desktop,
                 std::filesystem::path directory, FolderOpener openFolder)
    : m_log(log), m_clock(clock), m_calendar(calendar), m_desktop(desktop), m_directory(std::move(directory)),
      m_openFolder(std::move(openFolder)) {}

std::filesystem::path Gallery::directoryURL() {
    return UserDirectories::dataHome() / "Sorvala" / "Gallery";
}

bool Gallery::openInFileManager(const std::filesystem::path& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

void Gallery::save(const SorvalaSaverView& view, qreal devicePixelRatio) {
    const QSizeF size = view.size();
    if (!(size.width() > 0) || !(size.height() > 0))
        return;
    const qreal scale = devicePixelRatio > 0 ? devicePixelRatio : 2.0;
    const QImage image = view.inkImage().isNull()
                             ? renderFinishedDrawing(view.logic().sorvala(), size, scale, view.finishedLook())
                             : finishedPicture(view, scale);
    if (image.isNull()) {
        m_log.log("gallery save failed: could not render the sorvala at " +
                  std::to_string(size.width() * scale) + "x" + std::to_string(size.height() * scale) +
                  " pixels");
        return;
    }
    saveImage(image);
}

std::optional<std::filesystem::path> Gallery::saveImage(const QImage& image) {
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            png.clear();
    }
    if (png.isEmpty()) {
        m_log.log("gallery save failed: could not encode the sorvala as PNG");
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::create_directories(m_directory, error);
    if (error) {
        m_log.log("gallery save failed: could not create " + m_directory.string() + ": " + error.message());
        return std::nullopt;
    }
    const std::string name = GalleryFiles::name(m_clock.now(), m_calendar);
    const std::filesystem::path path = m_directory / name;
    // Written beside the final name and renamed: a crash leaves no half picture among the drawings.
    QSaveFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        m_log.log("gallery save failed: could not write " + path.string() + ": " +
                  file.errorString().toStdString());
        return std::nullopt;
    }
    m_log.log("gallery saved " + name + " bytes=" + std::to_string(png.size()));
    pruneToCeiling();
    return path;
}

std::optional<std::vector<GalleryFiles::DrawingFile>> Gallery::drawings() const {
    std::error_code error;
    std::filesystem::directory_iterator it(m_directory, error);
    if (error)
        return std::nullopt;
    std::vector<GalleryFiles::DrawingFile> files;
    for (const auto end = std::filesystem::directory_iterator(); it != end; it.increment(error)) {
        if (error)
            break;
        const std::string name = it->path().filename().string();
        if (!GalleryFiles::isDrawingName(name))
            continue;
        struct stat info {};
        if (::stat(it->path().c_str(), &info) != 0) {
            files.push_back({name, 0, Instant::distantPast()});
            continue;
        }
        if (!S_ISREG(info.st_mode))
            continue; // a folder named like a picture is not a drawing
        files.push_back({name, static_cast<std::uintmax_t>(info.st_size),
                         Instant::fromSecondsSinceEpoch(static_cast<double>(info.st_mtim.tv_sec) +
                                                        static_cast<double>(info.st_mtim.tv_nsec) / 1e9)});
    }
    return files;
}

void Gallery::pruneToCeiling() {
    const auto files = drawings();
    if (!files)
        return;
    std::set<std::string> wallpapers;
    for (const auto& picture : m_desktop.currentPictures())
        wallpapers.insert(picture.filename().string());
    const auto names = GalleryFiles::namesToPrune(*files, GalleryFiles::maximumBytes, wallpapers);
    if (names.empty())
        return;
    for (const std::string& name : names) {
        std::error_code ignored;
        std::filesystem::remove(m_directory / name, ignored);
    }
    m_log.log(GalleryFiles::prunedMessage(names.size()));
}

void Gallery::open() {
    std::error_code ignored;
    std::filesystem::create_directories(m_directory, ignored);
    if (!m_openFolder(m_directory))
        m_log.log("gallery open failed path=" + m_directory.string());
}

void Gallery::openGallery() {
    m_log.log("gallery opened");
    open();
}

void Gallery::useLatestSorvalaAsWallpaper() {
    m_log.log("latest sorvala set as wallpaper");
    if (!setLatestAsWallpaper())
        open();
}

bool Gallery::setLatestAsWallpaper() {
    const auto files = drawings();
    const std::string newest = files ? GalleryFiles::newest(*files) : std::string();
    if (newest.empty()) {
        m_log.log("wallpaper not set: gallery is empty");
        return false;
    }
    const auto outcome = m_desktop.set(m_directory / newest);
    if (!outcome) {
        m_log.log("wallpaper not set: no known way to set the desktop picture here");
        return false;
    }
    for (const std::string& failure : outcome->failures)
        m_log.log("wallpaper failed on one screen: " + failure);
    m_log.log("wallpaper set to " + newest + " screens=" + std::to_string(outcome->successes()) + "/" +
              std::to_string(outcome->displays));
    return outcome->successes() > 0;
}

} // namespace sorvala
