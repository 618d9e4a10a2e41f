// SPDX-License-Identifier: MIT
// The break's keyboard hold: keysyms read as Qt reads them, and against a real compositor (run
// through in-headless-sway or in-headless-kwin, else skipped) keys typed while it holds reach it
// and no other client.
#include "ui/wayland/WaylandKeyboardHold.h"
#include "support/QtEventLoop.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QRasterWindow>

#include <xkbcommon/xkbcommon-keysyms.h>

#include <gtest/gtest.h>

using namespace sorvala;

namespace {

// Types through wtype while our connections go on reading: wtype's virtual keyboard lives only
// as long as wtype, so a client that reads late never gets to take it.
bool type(const QString& text) {
    QProcess wtype;
    wtype.start("wtype", {"-s", "1000", text});
    return waitUntil([&] { return wtype.state() == QProcess::NotRunning; }, 10000) &&
           wtype.exitStatus() == QProcess::NormalExit && wtype.exitCode() == 0;
}

// Another client's window: Qt's own connection is a client apart from the hold's.
class TypedInto final : public QRasterWindow {
public:
    QString typed;

protected:
    void keyPressEvent(QKeyEvent* event) override { typed += event->text(); }
};

} // namespace

// The named keys are a table of their own; the rows are the keys read by rule.
TEST(WaylandKeyboardHoldTest, KeysymsReadAsQtReadsThem) {
    const std::pair<std::uint32_t, Qt::Key> rows[] = {
        {XKB_KEY_ISO_Left_Tab, Qt::Key_Backtab},
        {XKB_KEY_b, Qt::Key_B},
        {XKB_KEY_B, Qt::Key_B},
        {XKB_KEY_5, Qt::Key_5},
        {XKB_KEY_F5, Qt::Key_F5},
        {XKB_KEY_Multi_key, Qt::Key_unknown},
    };
    for (const auto& [keysym, key] : rows) {
        SCOPED_TRACE(keysym);
        EXPECT_EQ(WaylandKeyboardHold::qtKey(keysym), key);
    }
}

TEST(WaylandKeyboardHoldTest, HeldKeysReachTheHoldAndNoOtherClient) {
    if (!QGuiApplication::platformName().startsWith("wayland"))
        GTEST_SKIP() << "needs a headless compositor (in-headless-sway, in-headless-kwin)";
    TypedInto window;
    window.resize(320, 200);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == &window; }));

    QString held;
    {
        WaylandKeyboardHold hold;
        if (!hold.hold())
            GTEST_SKIP() << "the compositor offers no layer shell";
        hold.onKey = [&](const WaylandKeyboardHold::Key& key) {
            if (key.pressed)
                held += key.text;
        };
        EXPECT_TRUE(waitUntil([] { return !QGuiApplication::focusWindow(); })) << "the window kept the focus";
        // wtype types through a virtual keyboard of its own, the seat's only one on a headless
        // sway; KWin offers none to clients.
        if (!type("ab"))
            GTEST_SKIP() << "the compositor takes no keys from wtype";
        EXPECT_TRUE(waitUntil([&] { return held == "ab"; })) << held.toStdString();
    }
    // Released, the keyboard goes back to the window.
    ASSERT_TRUE(waitUntil([&] { return QGuiApplication::focusWindow() == &window; }));
    type("c");
    EXPECT_TRUE(waitUntil([&] { return window.typed == "c"; }));
    EXPECT_EQ(window.typed, "c") << "keys typed during the hold reached another client";
}
