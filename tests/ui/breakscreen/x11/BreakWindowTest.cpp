// SPDX-License-Identifier: MIT
#include "ui/breakscreen/QtBreakScreen.h"

#include "support/EventLoopWait.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

using namespace sorvala;

namespace {

/// The colour the X server shows at the middle of `window`.
QColor shownAtCentre(const QWidget& window) {
    const QPoint centre = window.geometry().center();
    return window.screen()->grabWindow(0, centre.x() - window.screen()->geometry().x(),
                                       centre.y() - window.screen()->geometry().y(), 1, 1)
        .toImage()
        .pixelColor(0, 0);
}

bool keepsAnImage(QWidget& window) {
    const QBackingStore* store = window.backingStore();
    return store && !store->size().isEmpty();
}

class Swatch final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0xd0, 0x40, 0x10)); }
};

} // namespace

// Channels that differ from one another: a red and blue swapped in the server's pixel would show.
TEST(BreakWindowOnX11, AWindowWithoutContentIsFilledByTheServerAndKeepsNoImageUntilContentComes) {
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X server (run inside scripts/test-session)";
    const QColor background(0x20, 0x60, 0xa0);
    BreakWindow window(QGuiApplication::primaryScreen(), background);
    window.show();
    ASSERT_TRUE(waitFor([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 5000));
    ASSERT_TRUE(waitFor([&] { return shownAtCentre(window) == background; }, 3000))
        << shownAtCentre(window).name().toStdString();
    EXPECT_FALSE(keepsAnImage(window));

    window.holdContent();
    auto* content = new Swatch(&window);
    content->setGeometry(window.rect());
    content->show();
    EXPECT_TRUE(waitFor([&] { return shownAtCentre(window) == QColor(0xd0, 0x40, 0x10); }, 3000))
        << shownAtCentre(window).name().toStdString();
    EXPECT_TRUE(keepsAnImage(window));
}
