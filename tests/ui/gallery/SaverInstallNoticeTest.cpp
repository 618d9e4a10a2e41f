// SPDX-License-Identifier: MIT
#include "ui/gallery/GalleryCommands.h"

#include <QMessageBox>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace sorvala;

namespace {

/// With SORVALA_SHOTS set to a folder, the dialog as a person sees it is left there.
void keepShot(QMessageBox& box, const char* name) {
    if (const char* folder = std::getenv("SORVALA_SHOTS")) {
        box.show();
        box.grab().save(QString::fromUtf8(folder) + QLatin1Char('/') + QString::fromUtf8(name) +
                        QStringLiteral(".png"));
        box.hide();
    }
}

} // namespace

TEST(SaverInstallNotice, SaysWhereToPickTheSaverOrWhyItFailed) {
    const auto installed = saverInstallNotice({{"/home/u/.xscreensaver"}, std::nullopt});
    EXPECT_EQ(installed->text(), QStringLiteral("Screen saver installed"));
    EXPECT_EQ(installed->informativeText(),
              QStringLiteral(
                  "Pick \u201cSorvala\u201d in your screen saver's settings. Configure it here in Sorvala."));
    EXPECT_EQ(installed->icon(), QMessageBox::Information);
    keepShot(*installed, "saver-installed");

    const auto failed =
        saverInstallNotice({{}, "/home/u/.xscreensaver is read-only, so Sorvala left it unchanged."});
    EXPECT_EQ(failed->text(), QStringLiteral("Could not install screen saver"));
    EXPECT_EQ(failed->informativeText(),
              QStringLiteral("/home/u/.xscreensaver is read-only, so Sorvala left it unchanged."));
    EXPECT_EQ(failed->icon(), QMessageBox::Warning);
    EXPECT_EQ(failed->standardButtons(), QMessageBox::Ok);
    keepShot(*failed, "saver-install-failed");
}
