// SPDX-License-Identifier: MIT
#include "ui/gallery/GalleryCommands.h"

#include "support/WidgetTestSupport.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace sorvala;

// The sentences are the notice's own; here the outcome picks the notice and the reason reaches it.
TEST(SaverInstallNotice, SaysWhereToPickTheSaverOrWhyItFailed) {
    const auto installed = saverInstallNotice({{"/home/u/.xscreensaver"}, std::nullopt});
    EXPECT_EQ(installed->icon(), QMessageBox::Information);
    saveScreenshot(*installed, "saver-installed");

    const auto failed =
        saverInstallNotice({{}, "/home/u/.xscreensaver is read-only, so Sorvala left it unchanged."});
    EXPECT_EQ(failed->informativeText(),
              QStringLiteral("/home/u/.xscreensaver is read-only, so Sorvala left it unchanged."));
    EXPECT_EQ(failed->icon(), QMessageBox::Warning);
    saveScreenshot(*failed, "saver-install-failed");
}
