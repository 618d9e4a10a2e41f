// SPDX-License-Identifier: MIT
#include "ui/gallery/GalleryCommands.h"

#include "i18n/QtI18n.h"
#include "render/SorvalaSaverView.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace sorvala {

GalleryCommands::GalleryCommands(Logger& log, const Clock& clock, const Calendar& calendar,
                                 LinuxSession session, QDBusConnection sessionBus,
                                 std::filesystem::path saverProgram, std::string version)
    : m_desktop(std::make_unique<LinuxDesktopPicture>(
          session, std::move(sessionBus), 5000,
          [] { return static_cast<int>(QGuiApplication::screens().size()); })),
      m_gallery(std::make_unique<Gallery>(log, clock, calendar, *m_desktop)),
      m_installation(log, session, SaverInstallation::standardPlaces(saverProgram, std::move(version))) {}

GalleryCommands::~GalleryCommands() = default;

std::function<void(const SorvalaSaverView&, qreal)> GalleryCommands::saveFinishedDrawing() {
    return [this](const SorvalaSaverView& view, qreal devicePixelRatio) {
        m_gallery->save(view, devicePixelRatio);
    };
}

void GalleryCommands::installScreenSaver(QWidget* parent) {
    const auto box = saverInstallNotice(m_installation.install(), parent);
    box->exec();
}

std::unique_ptr<QMessageBox> saverInstallNotice(const SaverInstallation::Outcome& outcome, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(QStringLiteral("Sorvala"));
    if (outcome.failure) {
        box->setIcon(QMessageBox::Warning);
        box->setText(qi18n("Could not install screen saver"));
        box->setInformativeText(QString::fromStdString(*outcome.failure));
    } else {
        box->setIcon(QMessageBox::Information);
        box->setText(qi18n("Screen saver installed"));
        box->setInformativeText(
            qi18n("Pick “Sorvala” in your screen saver's settings. Configure it here in Sorvala."));
    }
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

} // namespace sorvala
