// SPDX-License-Identifier: MIT
// Shows one notice at once, for screenshots and for trying it by hand:
//   sorvala_notice_preview heads-up|overtime [--seconds N] [--position 0|1|2]
// The heads-up counts down from N seconds (30) with its dim; the overtime badge waits for a shake.
// SORVALA_APPEARANCE=dark|light picks the look.
// The first answer (snooze, skip, overtime dismissed, break due) goes to stdout and ends the
// preview; the notices' log goes to stderr. Once shown, the capsule's size and each of its buttons
// are listed on stdout ("capsule W H", "button TEXT at X Y W H in W H": its box inside the capsule).
#include "core/Clock.h"
#include "core/Logger.h"
#include "core/SettingsKeys.h"
#include "i18n/I18n.h"
#include "platform/QTimerMainLoopTimer.h"
#include "simulation/MemoryPreferences.h"
#include "ui/notices/QtNotices.h"
#include "ui/style/QtDesignTokens.h"

#include "ui/notices/NoticeCapsule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <iostream>

using namespace sorvala;

namespace {

class StderrLogger final : public Logger {
public:
    void log(std::string_view message) override { std::cerr << message << '\n'; }
};

void answer(const char* what) {
    std::cout << what << std::endl;
    QCoreApplication::exit(0);
}

QString option(const QStringList& arguments, const char* name, const char* fallback) {
    const auto at = arguments.indexOf(QLatin1String(name));
    return at > 0 && at + 1 < arguments.size() ? arguments[at + 1] : QLatin1String(fallback);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    Translation::setUp();
    QtDesignTokens::applyAppearanceOverride(application);
    const QStringList arguments = application.arguments();
    SystemClock clock;
    QTimerMainLoopTimer timers(clock);
    StderrLogger log;
    MemoryPreferences store;
    store.set(SettingsSchema::preBreakOverlayKey, true);
    store.set(SettingsSchema::overtimeNudgeKey, true);
    store.set(SettingsSchema::preBreakOverlayPositionKey, option(arguments, "--position", "1").toLongLong());
    const double seconds = option(arguments, "--seconds", "30").toDouble();
    QElapsedTimer since;
    since.start();

    QtNotices notices({.store = store, .log = log, .timers = timers, .banners = nullptr, .play = {}});
    notices.wire({
        .onSnoozeBreak = [] { answer("snooze"); }, .onSkipBreak = [] { answer("skip"); },
        .onUndoAwayReset = {}, .onAwayResetStood = {},
        .onOvertimeDismissed = [] { answer("overtime dismissed"); }, .onWellnessNudgeShown = {},
        .secondsUntilBreak = [&]() -> std::optional<double> {
            const double left = seconds - double(since.elapsed()) / 1000.0;
            if (left > 0)
                return left;
            QTimer::singleShot(0, [] { answer("break due"); });
            return std::nullopt;
        },
        .snoozeAllowed = [] { return true; },
        .overtimeText = [] { return std::optional<std::string>("12 min over"); }, .wellnessKindDue = {},
    });
    const bool overtime = arguments.contains(QStringLiteral("overtime"));
    if (overtime)
        notices.refreshOvertimeTicker();
    else
        notices.show(UserSignal::preBreak(true, 0, 3, std::nullopt, true));
    QTimer::singleShot(500, [&] {
        const NoticeCapsule* capsule = notices.capsule(overtime ? UserSignal::Kind::overtime : UserSignal::Kind::preBreak);
        if (!capsule)
            return;
        std::cout << "capsule " << capsule->width() << ' ' << capsule->height() << std::endl;
        for (const QPushButton* button : capsule->findChildren<QPushButton*>()) {
            const QRect box = button->geometry();
            std::cout << "button " << button->text().toStdString() << " at " << box.x() << ' ' << box.y() << ' '
                      << box.width() << ' ' << box.height() << " in " << capsule->width() << ' ' << capsule->height()
                      << std::endl;
        }
    });
    return application.exec();
}
