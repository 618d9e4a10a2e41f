// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"
#include "core/Clock.h"
#include "core/Logger.h"
#include "gallery/GalleryFiles.h"
#include "platform/desktop/DesktopPicture.h"

#include <QImage>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace sorvala {

class SorvalaSaverView;

/// The gallery of finished drawings: saving one as a PNG file, keeping the folder under its size
/// ceiling, opening it, and making the newest drawing the desktop picture. Every failure is one
/// log line; nothing here ever stops a break.
class Gallery {
public:
    /// Opens a folder in the file manager; answers whether it was handed over.
    using FolderOpener = std::function<bool(const std::filesystem::path& folder)>;

    /// `desktop` reads and sets the desktop picture; every reference must outlive the gallery.
    Gallery(Logger& log, const Clock& clock, const Calendar& calendar, DesktopPicture& desktop,
            std::filesystem::path directory = directoryURL(), FolderOpener openFolder = openInFileManager);

    /// `$XDG_DATA_HOME/Sorvala/Gallery`, beside the break history.
    static std::filesystem::path directoryURL();
    /// The folder's URL handed to the desktop (xdg-open).
    static bool openInFileManager(const std::filesystem::path& folder);

    const std::filesystem::path& directory() const { return m_directory; }

    /// Renders the finished drawing of `view` at `devicePixelRatio` (2 when not positive, as for a
    /// view without a window), writes it as the next drawing and prunes.
    void save(const SorvalaSaverView& view, qreal devicePixelRatio);
    /// Writes `image` as the next drawing and prunes; answers its path when it was written.
    std::optional<std::filesystem::path> saveImage(const QImage& image);
    /// Deletes the oldest drawings past the size ceiling, never a current desktop picture.
    void pruneToCeiling();
    /// Creates the folder when needed and opens it in the file manager.
    void open();
    /// Makes the newest drawing the desktop picture of every display; false when it could not
    /// (the caller then opens the folder).
    bool setLatestAsWallpaper();

    /// The menu's "Gallery…": logs the command and opens the folder.
    void openGallery();
    /// The menu's "Use Latest Sorvala as Wallpaper": logs the command, sets the newest drawing and
    /// opens the folder instead when that could not be done.
    void useLatestSorvalaAsWallpaper();

    /// The drawings in the folder; nullopt when it cannot be listed.
    std::optional<std::vector<GalleryFiles::DrawingFile>> drawings() const;

private:
    Logger& m_log;
    const Clock& m_clock;
    const Calendar& m_calendar;
    DesktopPicture& m_desktop;
    std::filesystem::path m_directory;
    FolderOpener m_openFolder;
};

} // namespace sorvala
