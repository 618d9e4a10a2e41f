// SPDX-License-Identifier: MIT
#include "ui/gallery/GalleryCommands.h"

#include "support/WidgetTestSupport.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace sorvala;

TEST(SaverInstallNotice, SaysWhereToPickTheSaverOrWhyItFailed) {
    const auto installed = saverInstallNotice({{"/home/u/.xscreensaver"}, std::nullopt});
    EXPECT_EQ(installed->text(), QStringLiteral("Screen saver installed"));
    EXPECT_EQ(installed->informativeText(),
              QStringLiteral(
                  "Pick \u201cSorvala\u201d in your screen saver's settings. Configure it here in Sorvala."));
    EXPECT_EQ(installed->icon(), QMessageBox::Information);
    saveScreenshot(*installed, "saver-installed");

    const auto failed =
        saverInstallNotice({{}, "/home/u/.xscreensaver is read-only, so Sorvala left it unchanged."});
    EXPECT_EQ(failed->text(), QStringLiteral("Could not install screen saver"));
    EXPECT_EQ(failed->informativeText(),
              QStringLiteral("/home/u/.xscreensaver is read-only, so Sorvala left it unchanged."));
    EXPECT_EQ(failed->icon(), QMessageBox::Warning);
    EXPECT_EQ(failed->standardButtons(), QMessageBox::Ok);
    saveScreenshot(*failed, "saver-install-failed");
}
