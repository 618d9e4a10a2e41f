// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"
#include "core/Clock.h"
#include "core/Logger.h"
#include "platform/desktop/DesktopPicture.h"
#include "platform/desktop/Gallery.h"
#include "platform/desktop/SaverInstallation.h"

#include <QDBusConnection>
#include <QtGlobal>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace sorvala {

class SorvalaSaverView;

/// Everything the program does with the gallery and the screen saver, ready to plug into the
/// menu's handlers and the break screen: one object, made once in main().
class GalleryCommands {
public:
    /// `saverProgram` is the sorvala-saver this build carries (beside the running program).
    GalleryCommands(Logger& log, const Clock& clock, const Calendar& calendar, LinuxSession session,
                    QDBusConnection sessionBus, std::filesystem::path saverProgram, std::string version);
    ~GalleryCommands();

    Gallery& gallery() { return *m_gallery; }
    SaverInstallation& saverInstallation() { return m_installation; }

    /// The break screen's save of a finished drawing.
    std::function<void(const SorvalaSaverView& view, qreal devicePixelRatio)> saveFinishedDrawing();

    /// "Gallery…".
    void openGallery() { m_gallery->openGallery(); }
    /// "Use Latest Sorvala as Wallpaper".
    void useLatestSorvalaAsWallpaper() { m_gallery->useLatestSorvalaAsWallpaper(); }
    /// "Install Screen Saver": registers the saver and says how it went in a dialog.
    void installScreenSaver(QWidget* parent = nullptr);
    /// At launch: brings an installed registration up to this build.
    void refreshScreenSaver() { m_installation.refreshAtLaunch(); }

private:
    std::unique_ptr<LinuxDesktopPicture> m_desktop;
    std::unique_ptr<Gallery> m_gallery;
    SaverInstallation m_installation;
};

/// The dialog after "Install Screen Saver": "Screen saver installed", or "Could not install screen
/// saver" as a warning with the reason. Answers the box, not yet shown, for the caller to open.
std::unique_ptr<QMessageBox> saverInstallNotice(const SaverInstallation::Outcome& outcome,
                                                QWidget* parent = nullptr);

} // namespace sorvala
