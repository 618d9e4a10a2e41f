// SPDX-License-Identifier: MIT
#include "ui/menubar/StatusMenuView.h"
#include "ui/menubar/StatusSource.h"
#include "ui/menubar/TrayIconArt.h"
#include "ui/menubar/TrayMenuBar.h"
#include "ui/style/DeferredIcon.h"

#include "core/Clock.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"
#include "support/WidgetTestSupport.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <gtest/gtest.h>

#include <optional>

namespace sorvala {
namespace {

QAction* find(QMenu& menu, const QString& text) {
    for (auto* action : menu.actions()) {
        if (QString(action->text()).remove(QLatin1Char('&')) == text)
            return action;
        if (action->menu())
            if (auto* inner = find(*action->menu(), text))
                return inner;
    }
    return nullptr;
}

// Which items a state shows is the menu's own table; here a new state reaches the widgets and
// the widgets hand their commands back.
TEST(StatusMenuView, AppliesStatesAndHandsOverCommands) {
    QMenu menu;
    std::optional<MenuCommand> chosen;
    int quits = 0;
    StatusMenu::State state;
    StatusMenuView view(
        menu, StatusMenu::items(state), [&](const MenuCommand& command) { chosen = command; }, [&] { ++quits; });
    ASSERT_NE(find(menu, "Pause Reminders"), nullptr);
    EXPECT_TRUE(find(menu, "Pause Reminders")->isVisible());

    state.statusText = "Paused until 14:30";
    state.paused = true;
    state.launchAtLogin = true;
    view.apply(StatusMenu::items(state));
    ASSERT_NE(find(menu, "Paused until 14:30"), nullptr);
    EXPECT_FALSE(find(menu, "Paused until 14:30")->isEnabled());
    EXPECT_FALSE(find(menu, "Pause Reminders")->isVisible());
    EXPECT_TRUE(find(menu, "Launch at Login")->isChecked());

    find(menu, "For 45 Minutes")->trigger();
    EXPECT_EQ(chosen, MenuCommand::pause(45));
    find(menu, "Quit Sorvala")->trigger();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(find(menu, "Quit Sorvala")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
}

TEST(StatusMenuView, ShortcutsUseQtsNameForTheSuperKey) {
    EXPECT_EQ(StatusMenuView::keySequenceText("Ctrl+Alt+Super+B"), "Ctrl+Alt+Meta+B");
    EXPECT_EQ(QKeySequence(StatusMenuView::keySequenceText("Ctrl+Alt+Super+B")),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::META | Qt::Key_B));
    EXPECT_TRUE(StatusMenuView::keySequenceText("").isEmpty());
}

double coverage(const QImage& image) {
    double alpha = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            alpha += qAlpha(image.pixel(x, y));
    return alpha / (255.0 * image.width() * image.height());
}

TEST(TrayIconArt, MarkMinutesAndDimming) {
    for (const int size : {16, 22, 48}) {
        SCOPED_TRACE(size);
        const auto plain = TrayIconArt::image(size, {}, false, false);
        const auto counting = TrayIconArt::image(size, QStringLiteral("19"), false, false);
        const auto paused = TrayIconArt::image(size, {}, true, false);
        ASSERT_EQ(plain.size(), QSize(size, size));
        EXPECT_GT(coverage(plain), 0.05) << "the mark is drawn";
        EXPECT_NE(counting, plain) << "the minutes are drawn into the icon";
        EXPECT_NE(TrayIconArt::image(size, QStringLiteral("20"), false, false), counting);
        EXPECT_LT(coverage(paused), coverage(plain) * 0.6) << "paused is dimmed";
    }
    // The dark panel's mark is light and the light panel's dark.
    const auto light = TrayIconArt::image(32, {}, false, false);
    const auto dark = TrayIconArt::image(32, {}, false, true);
    EXPECT_LT(qGray(light.pixel(16, 3)), 100);
    EXPECT_GT(qGray(dark.pixel(16, 3)), 150);
}

TEST(TrayIconArt, AnIconDependsOnlyOnWhatItShowsNotOnWhatWasDrawnBefore) {
    // What is kept from one minute to the next must never show through from another look: each
    // look is drawn after every other one and compared with itself drawn after its opposite.
    struct Look {
        QString minutes;
        bool paused, dark;
    };
    std::vector<Look> looks;
    for (const char* minutes : {"", "7", "45", "3h"})
        for (const bool paused : {false, true})
            for (const bool dark : {false, true})
                looks.push_back({QString::fromLatin1(minutes), paused, dark});
    for (const int size : {16, 22, 64}) {
        const auto draw = [size](const Look& look) {
            return TrayIconArt::image(size, look.minutes, look.paused, look.dark);
        };
        std::vector<QImage> alone;
        for (const auto& look : looks) {
            draw({look.minutes.isEmpty() ? QStringLiteral("1") : QString(), !look.paused, !look.dark});
            alone.push_back(draw(look));
        }
        for (const auto& before : looks)
            for (std::size_t i = 0; i < looks.size(); ++i) {
                draw(before);
                EXPECT_EQ(draw(looks[i]), alone[i])
                    << size << " px '" << looks[i].minutes.toStdString() << "' paused " << looks[i].paused
                    << " dark " << looks[i].dark << " after '" << before.minutes.toStdString() << "' paused "
                    << before.paused << " dark " << before.dark;
            }
        // Each switch changes the picture.
        EXPECT_NE(alone[0], alone[1]);
        EXPECT_NE(alone[0], alone[2]);
        EXPECT_NE(alone[0], alone[4]);
        EXPECT_NE(alone[4], alone[8]);
    }
}

TEST(TrayIconArt, AnIdleProgramLoadsNoSvgModule) {
    const auto loaded = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("Svg");
    };
    const QIcon application = deferredIcon(QStringLiteral(":/icons/sorvala.svg"));
    TrayIconArt::icon(QStringLiteral("19"), false, false);
    EXPECT_FALSE(loaded()) << "the tray icon and the application icon made at start";
    EXPECT_FALSE(application.pixmap(32).isNull());
    EXPECT_TRUE(loaded()) << "drawn in a window, the application icon reads its SVG";
}

TEST(StatusSource, KeepsTheProbedLabelForItsLifetimeAndProbesAgainOnceForgotten) {
    const FixedClock clock(Instant::fromSecondsSinceEpoch(1'800'000'000));
    int sweeps = 0;
    std::optional<std::string> cause;
    StatusSource status(clock, {.facts = {},
                                .blockerLabel = [&] { ++sweeps; return cause; },
                                .shortTime = [](Instant) { return std::string("14:30"); }});
    StatusLine::Facts facts;
    facts.secondsUntilNextBreak = 75;
    EXPECT_EQ(status.text(facts, 30), "Next break in 1:15");
    cause = "On a call";
    EXPECT_EQ(status.text(facts, 30), "Next break in 1:15") << "the label read a moment ago still stands";
    EXPECT_EQ(sweeps, 1);
    status.forgetLabel();
    EXPECT_EQ(status.text(facts, 30), "On a call — next break in 1:15");
    EXPECT_EQ(sweeps, 2);
}

/// A tray of its own, 75 seconds before a break, with nothing else of the program around it.
struct TrayAlone : ::testing::Test {
    SystemClock clock;
    MemoryPreferences store;
    RecordingLogger log;
    StatusLine::Facts facts;
    StatusSource status{clock, {.facts = [this] { return facts; },
                                .blockerLabel = [] { return std::optional<std::string>(); },
                                .shortTime = [](Instant) { return std::string("14:30"); }}};

    TrayAlone() { facts.secondsUntilNextBreak = 75; }
};

TEST_F(TrayAlone, AFollowerHearsEachSecondWithTheCountdownOff) {
    std::vector<StatusSource::Shown> heard;
    TrayMenuBar tray(store, log, status, {},
                     {.onCommand = {}, .onLeftClick = {}, .onQuit = {}, .onNoTray = {}, .onTrayFound = {},
                      .onStatus = [&](const StatusSource::Shown& shown) { heard.push_back(shown); }},
                     {.xembedTrayPresent = {}, .hostWaitMs = 0, .menuLeaseMs = 1200});
    tray.refreshCountdownTicker();
    EXPECT_TRUE(heard.empty()) << "a refresh between the seconds";
    ASSERT_TRUE(waitFor([&] { return !heard.empty(); }, 8000)) << "no second heard without the countdown";
    EXPECT_EQ(heard.back().line, "Next break in 1:15");
    EXPECT_EQ(heard.back().title, std::nullopt);
}

TEST_F(TrayAlone, WithNoTrayAtAllTheProgramIsToldAndTheWindowMenuStillWorks) {
    int noTray = 0;
    std::optional<MenuCommand> chosen;
    TrayMenuBar tray(store, log, status, {},
                     {.onCommand = [&](const MenuCommand& command) { chosen = command; }, .onLeftClick = {},
                      .onQuit = {}, .onNoTray = [&] { ++noTray; }, .onTrayFound = {}, .onStatus = {}},
                     {.xembedTrayPresent = {}, .hostWaitMs = 0, .menuLeaseMs = 1200});
    tray.install();
    waitFor([&] { return tray.backend() != TrayMenuBar::Backend::waiting; });
    ASSERT_EQ(tray.backend(), TrayMenuBar::Backend::none);
    EXPECT_EQ(noTray, 1);
    EXPECT_TRUE(log.lines.back().starts_with("no tray available; the drawing window offers the menu instead: "));

    // The drawing window's menu is kept up to date like the tray's and hands over the same way.
    QMenu windowMenu;
    tray.attachMenu(windowMenu);
    emit windowMenu.aboutToShow();
    EXPECT_NE(find(windowMenu, "Next break in 1:15"), nullptr);
    facts.pausedUntil = Instant::distantFuture();
    emit windowMenu.aboutToShow();
    EXPECT_NE(find(windowMenu, "Paused until resumed"), nullptr);
    EXPECT_FALSE(find(windowMenu, "Pause Reminders")->isVisible());
    find(windowMenu, "Resume Reminders")->trigger();
    EXPECT_EQ(chosen, (MenuCommand{MenuCommand::Kind::resume, 0}));

    // The status line moves each second only while a menu is open, whatever a panel says: one
    // that announces an opening twice and its closing once, one that never says it closed.
    emit windowMenu.aboutToShow();
    emit windowMenu.aboutToShow();
    EXPECT_TRUE(tray.refreshingStatusLine());
    emit windowMenu.aboutToHide();
    EXPECT_FALSE(tray.refreshingStatusLine());
    emit windowMenu.aboutToShow();
    EXPECT_TRUE(tray.refreshingStatusLine());
    EXPECT_TRUE(waitFor([&] { return !tray.refreshingStatusLine(); }, 8000))
        << "an opening never closed keeps the refresh running";
}

} // namespace
} // namespace sorvala
