// SPDX-License-Identifier: MIT
#include "platform/dbus/PortalHotKeyRegistrar.h"
#include "app/HotKeys.h"
#include "app/KeyCodes.h"
#include "platform/HotKeyRegistrars.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"

#include "SessionSupport.h"

#include <QDBusMessage>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

using namespace test;
using ::testing::Contains;
using ::testing::ElementsAre;

TEST(PortalTrigger, NamesModifiersAndTheKeysym) {
    EXPECT_EQ(portalTrigger({116, KeyboardShortcut::shiftMask | KeyboardShortcut::commandMask, "PgUp"}),
              "SHIFT+LOGO+Prior");
    EXPECT_EQ(portalTrigger({KeyCodes::keysymCodes + 0xf6, 6144, "Ö"}), "CTRL+ALT+odiaeresis");
    EXPECT_EQ(portalTrigger({200, 6400, "?"}), std::nullopt);
}

class PortalHotKeys : public OnTheSessionBus {
protected:
    // Starts the stand-in portal; `refusal` is the response code it gives to BindShortcuts.
    void startPortal(int refusal = 0) {
        portal = std::make_unique<Child>(
            "/usr/bin/python3", QStringList{SORVALA_TEST_DATA_DIR "/platform/fake-global-shortcuts-portal.py",
                                            QString::number(refusal)});
        ASSERT_TRUE(portal->waitForOutput("ready", 10000));
    }

    std::unique_ptr<Child> portal;
    RecordingLogger log;
    MemoryPreferences store;
};

TEST_F(PortalHotKeys, WithoutAPortalAWaylandSessionRegistersNothing) {
    const auto registrar = createHotKeyRegistrar("wayland", log);
    EXPECT_FALSE(registrar->available());
    EXPECT_EQ(HotKeys::registerHotKeys(store, *registrar, log), 0);
    EXPECT_TRUE(log.lines.front().starts_with("hot keys unavailable session=wayland")) << log.lines.front();
}

TEST_F(PortalHotKeys, BindsThroughThePortalAndDeliversActivations) {
    startPortal();
    const auto registrar = createHotKeyRegistrar("wayland", log);
    ASSERT_TRUE(registrar->available());
    std::vector<ShortcutAction> pressed;
    registrar->setPressedHandler([&](ShortcutAction action) { pressed.push_back(action); });
    store.set(SettingsSchema::shortcutSnoozeFiveMinutesKey, std::string("2304:35:P"));
    EXPECT_EQ(HotKeys::registerHotKeys(store, *registrar, log), 2);
    waitUntil([&] { return log.lines.size() >= 2; });
    EXPECT_THAT(log.lines,
                ElementsAre("hot keys registered count=2", "hot keys bound by the desktop portal count=2"));
    EXPECT_TRUE(portal->waitForOutput("toggleBreak=CTRL+ALT+LOGO+b,snoozeFiveMinutes=ALT+LOGO+p"));

    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop",
                                                                      "/org/freedesktop/portal/desktop",
                                                                      "org.sorvala.FakePortal", "Press")
                                       << QStringLiteral("snoozeFiveMinutes"));
    waitUntil([&] { return !pressed.empty(); });
    EXPECT_THAT(pressed, ElementsAre(ShortcutAction::snoozeFiveMinutes));
}

TEST_F(PortalHotKeys, ARefusalIsLoggedForEachBinding) {
    startPortal(1);
    const auto registrar = createHotKeyRegistrar("wayland", log);
    ASSERT_TRUE(registrar->available());
    HotKeys::registerHotKeys(store, *registrar, log);
    waitUntil([&] { return log.lines.size() >= 2; });
    EXPECT_THAT(log.lines, Contains("hot key registration failed action=toggleBreak key=B status=portal1"));
}

} // namespace
} // namespace sorvala
