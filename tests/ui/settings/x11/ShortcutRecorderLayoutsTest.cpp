// SPDX-License-Identifier: MIT
#include "platform/x11/X11HotKeyRegistrar.h"
#include "support/RecordingLogger.h"
#include "support/WidgetTestSupport.h"
#include "ui/settings/ShortcutRecorderButton.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

class ShortcutRecorderLayouts : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X server (run inside scripts/test-session)";
    }
    // The layout is the X server's: put back the one every other test expects.
    void TearDown() override {
        if (QGuiApplication::platformName() == "xcb")
            setLayout("us");
    }

    static void setLayout(const char* layout) {
        ASSERT_EQ(QProcess::execute("setxkbmap", {layout}), 0) << layout;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    }
    // Keys are named by X keycode (evdev numbering), so each layout gives them its own meaning.
    static void sendKeys(const char* keys) {
        ASSERT_EQ(QProcess::execute("xdotool", QStringList{"key"} + QString(keys).split(' ')), 0) << keys;
    }
};

TEST_F(ShortcutRecorderLayouts, TheUnshiftedKeyOfEachLayoutIsRecordedAndItsGlobalHotKeyFires) {
    struct Case { const char* layout; const char* keys; const char* recorded; };
    const Case cases[] = {
        {"us", "ctrl+alt+super+56", "Ctrl+Alt+Super+B"},
        {"us", "ctrl+shift+10", "Ctrl+Shift+1"},
        {"us", "ctrl+shift+21", "Ctrl+Shift+="},
        {"us", "super+118", "Super+Ins"},
        {"us", "ctrl+alt+127", "Ctrl+Alt+Pause"},
        {"us", "Num_Lock ctrl+alt+87 Num_Lock", "Ctrl+Alt+Num1"},
        {"fr", "ctrl+alt+10", "Ctrl+Alt+1"},
        {"fr", "ctrl+alt+24", "Ctrl+Alt+A"},
        {"de", "ctrl+alt+47", "Ctrl+Alt+Ö"},
        {"de", "ctrl+alt+shift+47", "Ctrl+Alt+Shift+Ö"},
        {"de", "ctrl+alt+29", "Ctrl+Alt+Z"},
    };
    QWidget window;
    auto* button = new ShortcutRecorderButton(&window);
    button->setBeep({});
    window.resize(300, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    RecordingLogger log;
    const auto registrar = X11HotKeyRegistrar::create(log);
    ASSERT_NE(registrar, nullptr);
    std::vector<ShortcutAction> pressed;
    registrar->setPressedHandler([&](ShortcutAction action) { pressed.push_back(action); });

    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " " + c.keys);
        setLayout(c.layout);
        button->setShortcut(std::nullopt);
        button->click();
        ASSERT_TRUE(button->isRecording());
        sendKeys(c.keys);
        ASSERT_TRUE(waitFor([&] { return !button->isRecording(); }));
        const auto shortcut = button->shortcut();
        ASSERT_TRUE(shortcut) << "refused";
        EXPECT_EQ(shortcut->displayString(), c.recorded);

        // The stored key must lead the global registration back to the key that was pressed.
        ASSERT_EQ(registrar->replaceBindings({{ShortcutAction::togglePause, *shortcut}}),
                  std::vector<std::optional<std::string>>{std::nullopt});
        pressed.clear();
        sendKeys(c.keys);
        EXPECT_TRUE(waitFor([&] { return !pressed.empty(); })) << "the hot key did not fire";
        registrar->replaceBindings({});
    }
}

} // namespace
} // namespace sorvala
