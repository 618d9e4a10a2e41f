// SPDX-License-Identifier: MIT
#include "ui/about/AboutWindow.h"
#include "ui/breakscreen/BreakContent.h"
#include "ui/gallery/GalleryCommands.h"
#include "ui/notices/NoticeCapsule.h"
#include "ui/onboarding/OnboardingWindow.h"
#include "ui/report/ReportIssueWindow.h"
#include "ui/reports/ReportsWindow.h"
#include "ui/settings/ApplicationChooser.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/stats/StatsWindow.h"

#include "app/SettingsSchema.h"
#include "breakscreen/MicroBreakPrompts.h"
#include "i18n/I18n.h"
#include "platform/IssueReportSender.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"
#include "support/TextFitChecks.h"
#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"
#include "support/ZoneCalendar.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace sorvala {
namespace {

/// The pseudo language (or SORVALA_LAYOUT_LANGUAGE, for screenshots of a real one) for the
/// test's length; English again after it.
class PseudoLanguageLayout : public testing::Test {
protected:
    void SetUp() override {
        setenv("SORVALA_LOCALE_DIR", SORVALA_TEST_LOCALE_DIR, 1);
        Translation::setUp();
        Translation::useLanguage(
            qEnvironmentVariable("SORVALA_LAYOUT_LANGUAGE", QStringLiteral("pseudo")).toStdString());
        ASSERT_NE(i18n("Skip this break"), "Skip this break") << "no catalogue: this would check English";
        SettingsSchema::registerDefaults(store);
        appendHistory(history, {{berlin.at("2026-12-05T10:00:00"), BreakEvent::Kind::long_,
                                 BreakEvent::Outcome::taken, 300.0}});
    }
    void TearDown() override { Translation::useLanguage(""); }

    /// Shows `window` at its own size, lets it settle and reports what does not fit.
    static void expectEverythingFits(QWidget& window, const QString& where) {
        window.show();
        waitFor([] { return false; }, 60);
        for (const auto& fault : textFitFaults(window))
            ADD_FAILURE() << qPrintable(where + ": " + fault);
        saveScreenshot(window, where);
    }

    MemoryPreferences store;
    RecordingLogger log;
    ZoneCalendar berlin{"Europe/Berlin"};
    FixedClock clock{berlin.at("2026-12-06T10:00:00")};
    TemporaryDirectory folder;
    std::filesystem::path history = folder.path() / "break-events.jsonl";
};

TEST_F(PseudoLanguageLayout, EveryWindowFitsItsLongerTexts) {
    AboutWindow about({"1.1.0", 10100}, [](UpdatePresentation::Action) {});
    expectEverythingFits(about, "about");
    ReportsWindow reports({history, berlin, log});
    reports.showAndRaise(); // reads the history
    expectEverythingFits(reports, "reports");
    StatsWindow stats({history, berlin, clock, store, log});
    stats.toggle();
    expectEverythingFits(stats, "stats");
    IssueReportSender sender(log, "", 1000);
    const auto noLogs = [] { return std::vector<std::filesystem::path>{}; };
    ReportIssueWindow report({log, berlin, clock, sender, noLogs, "7", "abc", std::string("desk")});
    expectEverythingFits(report, "report");
    expectEverythingFits(*saverInstallNotice({}, nullptr), "saver installed");
    ApplicationChooser chooser({}, {}, nullptr);
    expectEverythingFits(chooser, "application chooser");
}

TEST_F(PseudoLanguageLayout, EverySettingsPageFits) {
    SettingsWindow window({store, log});
    auto* sidebar = window.findChild<QListWidget*>(QStringLiteral("sidebar"));
    ASSERT_NE(sidebar, nullptr);
    for (int page = 0; page < sidebar->count(); ++page) {
        sidebar->setCurrentRow(page);
        expectEverythingFits(window, QStringLiteral("settings-%1").arg(page));
    }
}

TEST_F(PseudoLanguageLayout, EveryOnboardingPageFits) {
    OnboardingWindow window({store, log, [] { return OnboardingFlow::NotificationState::denied; }, [] {}});
    window.present();
    for (int page = 0; page < 5 && window.isVisible(); ++page) {
        expectEverythingFits(window, QStringLiteral("onboarding-%1").arg(page));
        window.advance();
    }
}

TEST_F(PseudoLanguageLayout, BreakScreensAndCapsulesFit) {
    const BreakContentStyle style{BreakPalette::resolve(false), Qt::white, true};
    for (const QSize size : {QSize(800, 600), QSize(1920, 1080)}) {
        const auto where = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        LongBreakContent long_(store, style, {.skipVisible = true}, {}, nullptr);
        long_.resize(size);
        expectEverythingFits(long_, QStringLiteral("long-break-") + where);
        MicroBreakContent micro(style, {.prompt = MicroBreakPrompts::all().front(), .restSeconds = 20,
                                        .skipVisible = true, .escapeHintVisible = true}, {}, nullptr);
        micro.resize(size);
        expectEverythingFits(micro, QStringLiteral("micro-break-") + where);
        // The ring's own texts stay inside its circle (radius 0.4 of its square) on their line.
        const QLabel* countdown = labelReading(micro, QStringLiteral("0:20"));
        ASSERT_NE(countdown, nullptr);
        const QWidget* ring = countdown->parentWidget();
        const double radius = 0.4 * ring->width();
        for (const auto* label : ring->findChildren<QLabel*>()) {
            const double rise = std::abs(label->geometry().center().y() - ring->rect().center().y());
            EXPECT_LE(label->width() / 2.0, std::sqrt(std::max(0.0, radius * radius - rise * rise)))
                << qPrintable(where + ": " + label->text());
        }
    }
    const Notice capsules[] = {Notice::preBreakCapsule(true),
                               Notice::wellnessCapsule(WellnessNudge::Kind::posture),
                               Notice::wellnessCapsule(WellnessNudge::Kind::blink)};
    for (const auto& notice : capsules) {
        NoticeCapsule capsule(notice, {});
        expectEverythingFits(capsule,
                             QStringLiteral("capsule-") + QString::fromStdString(notice.body).left(12));
    }
}

} // namespace
} // namespace sorvala
