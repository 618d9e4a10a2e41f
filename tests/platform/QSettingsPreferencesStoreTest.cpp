// SPDX-License-Identifier: MIT
#include "platform/QSettingsPreferencesStore.h"
#include "support/QtEventLoop.h"
#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using Strings = std::vector<std::string>;

class QSettingsStoreTest : public ::testing::Test {
protected:
    std::string pathOf(const char* name) const { return (m_dir.path() + "/" + name).toStdString(); }
    // Writes the settings file the way another process does: a new file renamed over the old one.
    void writeAsAnotherProcess(const QByteArray& contents) const {
        QSaveFile file(QString::fromStdString(m_path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        ASSERT_TRUE(file.commit());
    }

    QTemporaryDir m_dir;
    RecordingLogger m_log;
    const std::string m_path = pathOf("Sorvala.conf");
};

TEST_F(QSettingsStoreTest, TextWrittenByAnotherProcessReadsBackInTheRegisteredType) {
    writeAsAnotherProcess("[General]\n"
                          "breakCycleEnabled=false\n"
                          "reminderMinutes=25\n"
                          "breaksSoundVolume=0.5\n"
                          "soundPair=Pebble\n"
                          "excludedAppBundleIdentifiers=org.videolan.vlc\n"
                          "fixedBreakTimes=9:00, 13:30\n"
                          "calendarSources=@Invalid()\n"
                          "microMinutes=@Invalid()\n"
                          "unregistered=true\n");
    QSettingsPreferencesStore store(m_path, m_log);
    store.registerDefaults({{"breakCycleEnabled", true},
                            {"reminderMinutes", std::int64_t{20}},
                            {"breaksSoundVolume", 0.25},
                            {"soundPair", std::string("Glass")},
                            {"excludedAppBundleIdentifiers", Strings{}},
                            {"fixedBreakTimes", std::string()},
                            {"calendarSources", Strings{"/nowhere"}},
                            {"microMinutes", std::int64_t{20}}});

    EXPECT_EQ(store.object("breakCycleEnabled"), PreferenceValue(false));
    EXPECT_EQ(store.object("reminderMinutes"), PreferenceValue(std::int64_t{25}));
    EXPECT_EQ(store.object("breaksSoundVolume"), PreferenceValue(0.5));
    EXPECT_EQ(store.object("soundPair"), PreferenceValue(std::string("Pebble")));
    // A list of one is written as its only element.
    EXPECT_EQ(store.textList("excludedAppBundleIdentifiers"), Strings{"org.videolan.vlc"});
    // Unquoted commas make the file reader split a text; a text setting gets it back whole.
    EXPECT_EQ(store.text("fixedBreakTimes"), "9:00, 13:30");
    // An empty list stays empty and does not fall back to a non-empty default.
    EXPECT_EQ(store.textList("calendarSources"), Strings{});
    EXPECT_EQ(store.object("microMinutes"), PreferenceValue(std::int64_t{20}))
        << "no list under an integer key";
    // Without a registered type the text is kept, and the typed reads still convert it.
    EXPECT_EQ(store.object("unregistered"), PreferenceValue(std::string("true")));
    EXPECT_TRUE(store.boolean("unregistered"));
    EXPECT_TRUE(m_log.lines.empty());
}

TEST_F(QSettingsStoreTest, AbsentEmptyAndUnreadableKeysStayApart) {
    writeAsAnotherProcess("[General]\n"
                          "emptyUnregistered=@Invalid()\n"
                          "reminderMinutes=@Rect(1 2 3 4)\n");
    QSettingsPreferencesStore store(m_path, m_log);
    store.registerDefaults({{"reminderMinutes", std::int64_t{20}}, {"microMinutes", std::int64_t{10}}});

    EXPECT_EQ(store.object("emptyUnregistered"), PreferenceValue(Strings{}));
    EXPECT_EQ(store.object("missing"), std::nullopt);
    EXPECT_EQ(store.object("microMinutes"), PreferenceValue(std::int64_t{10}));
    EXPECT_EQ(store.object("reminderMinutes"), PreferenceValue(std::int64_t{20})) << "a rectangle is no number";
    EXPECT_EQ(m_log.lines, Strings{"preference read failed key=reminderMinutes reason=type"});

    store.set("microMinutes", std::int64_t{5});
    EXPECT_EQ(store.object("microMinutes"), PreferenceValue(std::int64_t{5}));
    store.remove("microMinutes");
    EXPECT_EQ(store.object("microMinutes"), PreferenceValue(std::int64_t{10})) << "removed, the default is back";
    store.registerDefaults({{"microMinutes", std::int64_t{15}}});
    EXPECT_EQ(store.object("microMinutes"), PreferenceValue(std::int64_t{15})) << "the later default stands";
}

TEST_F(QSettingsStoreTest, ListsOfZeroAndOneSurviveTheFile) {
    const std::string written = pathOf("written.conf");
    {
        QSettingsPreferencesStore store(written, m_log);
        store.set("none", Strings{});
        store.set("one", Strings{"a, b"});
        store.set("oneEmpty", Strings{""});
    }
    // A copy under another name is parsed afresh, as the next launch would.
    const std::string copy = pathOf("copy.conf");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(written), QString::fromStdString(copy)));
    QSettingsPreferencesStore store(copy, m_log);
    store.registerDefaults({{"none", Strings{"default"}}, {"one", Strings{}}, {"oneEmpty", Strings{}}});
    EXPECT_EQ(store.textList("none"), Strings{});
    EXPECT_EQ(store.textList("one"), Strings{"a, b"});
    EXPECT_EQ(store.textList("oneEmpty"), Strings{""});
}

TEST_F(QSettingsStoreTest, ABurstOfWritesIsOneNotificationAndAnEndedSubscriptionHearsNothing) {
    auto store = std::make_unique<QSettingsPreferencesStore>(m_path, m_log);
    int calls = 0;
    Subscription subscription = store->observeChanges([&] { ++calls; });
    store->set("reminderMinutes", std::int64_t{30});
    store->set("microMinutes", std::int64_t{10});
    store->remove("soundPair");
    EXPECT_EQ(calls, 0) << "observers hear of changes from the event loop, not inside set()";
    EXPECT_TRUE(waitUntil([&] { return calls > 0; }));
    runEventsFor(300); // our own saves also reach the file watcher; they must not count again
    EXPECT_EQ(calls, 1);

    store->set("a", true);
    subscription.cancel();
    runEventsFor(300);
    EXPECT_EQ(calls, 1);

    Subscription outliving = store->observeChanges([&] { ++calls; });
    store->set("b", true);
    store.reset(); // a queued notification dies with the store; the subscription outlives it
    runEventsFor(300);
    EXPECT_EQ(calls, 1);
}

TEST_F(QSettingsStoreTest, AFileCreatedLaterAndEditsByAnotherWriterAreNoticedEveryTime) {
    QSettingsPreferencesStore watching(m_path, m_log);
    watching.registerDefaults({{"reminderMinutes", std::int64_t{20}}, {"breakCycleEnabled", true}});
    int calls = 0;
    const Subscription subscription = watching.observeChanges([&] { ++calls; });

    writeAsAnotherProcess("[General]\nsoundPair=Pebble\n");
    ASSERT_TRUE(waitUntil([&] { return calls == 1; }));
    EXPECT_EQ(watching.text("soundPair"), "Pebble");

    {
        QSettingsPreferencesStore other(m_path, m_log);
        other.set("reminderMinutes", std::int64_t{45});
    }
    ASSERT_TRUE(waitUntil([&] { return calls == 2; }));
    EXPECT_EQ(watching.integer("reminderMinutes"), 45);

    // Each save replaces the file; the watcher must follow the new one.
    writeAsAnotherProcess("[General]\nreminderMinutes=5\n");
    ASSERT_TRUE(waitUntil([&] { return calls == 3; }));
    EXPECT_EQ(watching.object("reminderMinutes"), PreferenceValue(std::int64_t{5}));
}

TEST_F(QSettingsStoreTest, AnUnwritableFileIsOneLogLine) {
    // A folder cannot be made inside a plain file, whoever runs the test.
    const QString blocker = m_dir.path() + "/blocker";
    ASSERT_TRUE(QFile(blocker).open(QIODevice::WriteOnly));
    QSettingsPreferencesStore store((blocker + "/Sorvala/Sorvala.conf").toStdString(), m_log);
    store.set("reminderMinutes", std::int64_t{30});
    store.set("microMinutes", std::int64_t{10});
    ASSERT_EQ(m_log.lines.size(), 1u);
    EXPECT_EQ(m_log.lines[0].rfind("preferences write failed path=", 0), 0u) << m_log.lines[0];
    EXPECT_NE(m_log.lines[0].find("key=reminderMinutes"), std::string::npos);
}

// The command line's settings tests find the file under an absolute XDG_CONFIG_HOME.
TEST(QSettingsStorePath, FollowsXdgConfigHome) {
    const ScopedEnvironment home("HOME", "/home/ana");
    const ScopedEnvironment config("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(QSettingsPreferencesStore::standardPath(), "/home/ana/.config/Sorvala/Sorvala.conf");
}

} // namespace
} // namespace sorvala
