// SPDX-License-Identifier: MIT
#include "ui/settings/SettingsWindow.h"

#include "app/SettingsSchema.h"
#include "platform/QSettingsPreferencesStore.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"
#include "ui/settings/ShortcutRecorderButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using namespace SettingsSchema;

class SettingsWindowTest : public testing::Test {
protected:
    SettingsWindowTest() { registerDefaults(store); }

    SettingsWindow& open() {
        SettingsWindow::Ports ports{store, log};
        ports.playSound = [this](std::string_view name, float volume) {
            played.emplace_back(std::string(name), volume);
            return true;
        };
        ports.suspendHotKeys = [this](bool suspended) { suspensions.push_back(suspended); };
        ports.opened = [this] { ++openedCount; };
        ports.closed = [this] { ++closedCount; };
        ports.onSettingsSaved = [this] { ++savedCount; };
        ports.ask = [this](QWidget*, const QString& title, const QString& text, const QString&) {
            asked.push_back(title + "\n" + text);
            return agree;
        };
        ports.tell = [this](QWidget*, const QString& t, const QString& text) { told.push_back(t + "\n" + text); };
        ports.chooseApplications = [](QWidget*, const std::vector<std::string>&) {
            return std::vector<std::string>{"org.example.Editor", "org.example.Editor"};
        };
        ports.chooseCalendarSources = [this](QWidget*, bool) { return calendarChoice; };
        ports.isReadableCalendarSource = [](const std::string& source) { return source.ends_with(".ics"); };
        window = std::make_unique<SettingsWindow>(std::move(ports));
        window->showAndRaise();
        return *window;
    }

    template <typename Widget> Widget* control(std::string_view name) {
        auto* widget = window->findChild<Widget*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Shows the page that holds `widget`, as a person would before clicking it.
    void reveal(QWidget* widget) {
        for (QWidget* child = widget; child && child->parentWidget(); child = child->parentWidget())
            if (auto* pages = qobject_cast<QStackedWidget*>(child->parentWidget()))
                window->selectPage(pages->indexOf(child));
    }

    void click(std::string_view name) {
        auto* button = control<QAbstractButton>(name);
        reveal(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Changes the control of `key` the way a person would, to a value other than its default.
    void changeControl(const Setting& row) {
        const std::string key(row.key);
        const std::pair<std::string_view, const char*> listButtons[] = {{fixedBreakTimesKey, "addPlannedTime"},
            {excludedAppBundleIdentifiersKey, "addBusyApp"}, {calendarSourcesKey, "addCalendarFile"},
            {workingWeekdaysMaskKey, "weekday1"}};
        for (const auto& [listKey, button] : listButtons)
            if (key == listKey)
                return click(button);
        // Rows greyed out by an earlier change still take a value; a person would flip the
        // dependency first, which the greying test covers.
        if (auto* box = window->findChild<QCheckBox*>(QString::fromStdString(key)))
            return box->setChecked(!box->isChecked());
        if (auto* spin = window->findChild<QSpinBox*>(QString::fromStdString(key)))
            return spin->setValue(spin->maximum() - 1);
        if (auto* combo = window->findChild<QComboBox*>(QString::fromStdString(key))) {
            combo->setCurrentIndex(combo->count() - 1);
            emit combo->activated(combo->count() - 1);
            return;
        }
        if (auto* slider = window->findChild<QSlider*>(QString::fromStdString(key)))
            return slider->setValue(slider->maximum());
        if (auto* field = window->findChild<QLineEdit*>(QString::fromStdString(key)))
            return QTest::keyClicks(field, "notify-send hi");
        if (auto* time = window->findChild<QTimeEdit*>(QString::fromStdString(key)))
            return time->setTime(time->time().addSecs(-3600));
        ADD_FAILURE() << "no control for " << key;
    }

    TemporaryDirectory directory; // XDG_CONFIG_HOME for sorvalactl
    std::filesystem::path file = directory / "Sorvala/Sorvala.conf";
    RecordingLogger log;
    QSettingsPreferencesStore store{file.string(), log};
    std::unique_ptr<SettingsWindow> window;
    std::vector<std::pair<std::string, float>> played;
    std::vector<bool> suspensions;
    std::vector<QString> asked, told;
    std::vector<std::string> calendarChoice{"/home/me/work.ics"};
    bool agree = true;
    int openedCount = 0, closedCount = 0, savedCount = 0;
};

TEST_F(SettingsWindowTest, EveryControlIsSavedUnderItsKeyAndReadBack) {
    open();
    for (const auto& row : settings())
        changeControl(row); // names its key when it fails
    window->showAndRaise();
    EXPECT_EQ(openedCount, 1) << "opening again raises the window without reloading the edits";
    click("saveButton");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(savedCount, 1);
    EXPECT_EQ(closedCount, 1);

    QSettingsPreferencesStore reread(file.string(), log);
    for (const auto& row : settings()) {
        SCOPED_TRACE(std::string(row.key));
        const auto stored = reread.object(row.key);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->index(), row.factoryDefault.stored().index());
        EXPECT_NE(*stored, row.factoryDefault.stored());
    }
    EXPECT_EQ(reread.textList(excludedAppBundleIdentifiersKey),
              std::vector<std::string>{"org.example.Editor"});

    open();
    EXPECT_EQ(control<QSpinBox>(reminderMinutesKey)->value(), 479) << "the window opens with what was saved";
}

TEST_F(SettingsWindowTest, CancelEscapeAndTheCloseButtonLeaveTheFileUntouched) {
    store.set(reminderMinutesKey, std::int64_t(35));
    store.set(breakStartCommandKey, std::string("echo start"));
    const auto before = readFile(file);
    ASSERT_FALSE(before.empty());

    const std::pair<const char*, std::function<void()>> ways[] = {{"cancel", [&] { click("cancelButton"); }},
        {"escape", [&] { QTest::keyClick(window.get(), Qt::Key_Escape); }}, {"close", [&] { window->close(); }}};
    for (const auto& [way, leave] : ways) {
        SCOPED_TRACE(way);
        open();
        for (const auto& row : settings())
            changeControl(row);
        window->resetToDefaults();
        click("shortcut-toggleBreak");
        QTest::keyClick(control<QWidget>("shortcut-toggleBreak"), Qt::Key_Backspace);
        leave();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(readFile(file), before);
    }
    EXPECT_EQ(savedCount, 0);
    EXPECT_EQ(openedCount, 3);
    EXPECT_EQ(closedCount, 3);
}

TEST_F(SettingsWindowTest, ReturnPressesTheFocusedButtonAndElsewhereSaves) {
    struct Case { const char* focus; int saves; std::int64_t stored; };
    const Case cases[] = {
        {"reminderMinutes", 1, 7},
        {"breakStartCommand", 1, 7},
        {"sidebar", 1, 7},
        {"cancelButton", 0, 5},
        {"saveButton", 1, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus);
        store.set(reminderMinutesKey, std::int64_t(5));
        const int before = savedCount;
        open();
        control<QSpinBox>(reminderMinutesKey)->setValue(7);
        auto* focus = control<QWidget>(c.focus);
        reveal(focus);
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(savedCount - before, c.saves);
        EXPECT_EQ(store.integer(reminderMinutesKey), c.stored);
    }
}

// Which rows depend on which is the draft's own table; here an edit greys and reset restores.
TEST_F(SettingsWindowTest, RowsGreyOutAsTheirDependenciesChange) {
    open();
    EXPECT_FALSE(control<QWidget>(preBreakOverlayPositionKey)->isEnabled());
    click(preBreakOverlayKey);
    EXPECT_TRUE(control<QWidget>(preBreakOverlayPositionKey)->isEnabled());
    click("resetButton");
    EXPECT_FALSE(control<QWidget>(preBreakOverlayPositionKey)->isEnabled());
}

TEST_F(SettingsWindowTest, APlannedTimeOutsideWorkingHoursRefusesTheSave) {
    open();
    click("addPlannedTime");
    click("addPlannedTime");
    control<QTimeEdit>("plannedTime1")->setTime(QTime(11, 0));
    click("addPlannedTime"); // an hour after 11:00 is 12:00, already there
    EXPECT_EQ(control<QTimeEdit>("plannedTime2")->time(), QTime(13, 0));
    // An added time and its remove come before Add in the tab order.
    QWidget* at = control<QTimeEdit>("plannedTime2");
    for (const char* next : {"removePlannedTime2", "addPlannedTime"}) {
        const QWidget* from = at;
        do
            at = at->nextInFocusChain();
        while (from->isAncestorOf(at) || !(at->focusPolicy() & Qt::TabFocus));
        EXPECT_EQ(at->objectName(), QString::fromLatin1(next));
    }

    // Working hours switched on elsewhere while the window was open: 07:30 would never fire.
    control<QTimeEdit>("plannedTime2")->setTime(QTime(7, 30));
    store.set(workingHoursEnabledKey, true);
    click("saveButton");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].startsWith("Planned breaks can never fire\n") && told[0].contains(": 07:30."))
        << told[0].toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(readFile(file).find("fixedBreakTimes"), std::string::npos);

    // Switched on here too, the row marks the time until it moves inside the hours.
    click(workingHoursEnabledKey);
    EXPECT_FALSE(control<QLabel>("plannedMark")->isHidden());
    control<QTimeEdit>("plannedTime2")->setTime(QTime(10, 0));
    EXPECT_TRUE(control<QLabel>("plannedMark")->isHidden());
    click("saveButton");
    EXPECT_EQ(store.text(fixedBreakTimesKey), "10:00, 11:00, 12:00");
}

TEST_F(SettingsWindowTest, TheRecorderTakesRealKeyPresses) {
    open();
    window->selectPage(7);
    auto* recorder = control<ShortcutRecorderButton>("shortcut-togglePause");
    int beeps = 0;
    recorder->setBeep([&] { ++beeps; });

    struct Press {
        const char* name; Qt::Key key; Qt::KeyboardModifiers modifiers; std::optional<std::string> encoded;
    };
    const Press presses[] = {
        {"shift alone is not enough", Qt::Key_B, Qt::ShiftModifier, std::nullopt},
        {"ctrl alt P", Qt::Key_P, Qt::ControlModifier | Qt::AltModifier, "6144:35:P"},
        {"escape keeps it", Qt::Key_Escape, Qt::NoModifier, "6144:35:P"},
        {"super shift F5", Qt::Key_F5, Qt::MetaModifier | Qt::ShiftModifier, "768:96:F5"},
        {"backspace clears it", Qt::Key_Backspace, Qt::NoModifier, std::nullopt},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.name);
        QTest::mouseClick(recorder, Qt::LeftButton);
        EXPECT_TRUE(recorder->isRecording());
        QTest::keyClick(recorder, Qt::Key_Control, Qt::ControlModifier); // a modifier on its way
        EXPECT_TRUE(recorder->isRecording());
        QTest::keyClick(recorder, press.key, press.modifiers);
        EXPECT_FALSE(recorder->isRecording());
        EXPECT_EQ(beeps, 1) << "only the refused press beeps";
        const auto shortcut = window->draft().shortcut(ShortcutAction::togglePause);
        EXPECT_EQ(shortcut ? std::optional(shortcut->encoded()) : std::nullopt, press.encoded);
    }
    EXPECT_TRUE(window->isVisible()) << "Escape while recording does not close the window";
    EXPECT_EQ(suspensions,
              (std::vector<bool>{true, false, true, false, true, false, true, false, true, false}));

    QTest::mouseClick(recorder, Qt::LeftButton);
    QTest::keyClick(recorder, Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    click("saveButton");
    EXPECT_EQ(store.text(defaultsKey(ShortcutAction::togglePause)), "6144:35:P");
}

TEST_F(SettingsWindowTest, TurningOnCalendarsExplainsThenAsksForASource) {
    agree = false;
    open();
    auto* note = control<QLabel>("calendarPermissionNote");
    click(pauseDuringCalendarEventsKey);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].contains("nothing leaves this computer"));
    EXPECT_FALSE(note->isHidden());

    click(pauseDuringCalendarEventsKey);
    agree = true;
    click(pauseDuringCalendarEventsKey);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(note->isHidden());
    EXPECT_EQ(window->draft().textList(calendarSourcesKey), std::vector<std::string>{"/home/me/work.ics"});

    // With a readable source the switch asks nothing.
    click(pauseDuringCalendarEventsKey);
    click(pauseDuringCalendarEventsKey);
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(SettingsWindowTest, SoundChoicesPlayAPreviewAtTheChosenVolume) {
    open();
    window->selectPage(4);
    struct Step { std::string_view control; Qt::Key key; const char* sound; };
    const Step steps[] = {{breaksSoundVolumeKey, Qt::Key_PageUp, "Glass"},
                          {soundPairKey, Qt::Key_Down, "Submarine"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.sound);
        const auto before = played.size();
        auto* widget = control<QWidget>(step.control);
        widget->setFocus();
        QTest::keyClick(widget, step.key);
        EXPECT_TRUE(QTest::qWaitFor([&] { return played.size() > before; }, 5000));
        ASSERT_EQ(played.size(), before + 1);
        EXPECT_EQ(played.back().first, step.sound);
        EXPECT_FLOAT_EQ(played.back().second, 0.35f);
    }
}

TEST_F(SettingsWindowTest, ASavedChangeReachesSorvalactlAtOnce) {
    open();
    control<QSpinBox>(microMinutesKey)->setValue(25);
    click("saveButton");

    QProcess ctl;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(directory.path().string()));
    ctl.setProcessEnvironment(environment);
    ctl.start(SORVALACTL_PATH, {"settings", "get", "microMinutes"});
    ASSERT_TRUE(ctl.waitForFinished(20000));
    EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
    EXPECT_EQ(ctl.readAllStandardOutput().trimmed().toStdString(), "25");
}

} // namespace
} // namespace sorvala
