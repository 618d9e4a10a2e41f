// SPDX-License-Identifier: MIT
#include "ui/about/AboutWindow.h"

#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"

#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using namespace UpdatePresentation;

TEST(AboutWindow, ShowsEachCardAsItsModelSays) {
    const Version current{"1.1.0", 10100};
    std::vector<Action> actions;
    AboutWindow window(current, [&](Action action) { actions.push_back(action); });
    const struct { const char* name; State state; } cases[] = {
        {"checking", Checking{current}},
        {"available", Available{current, "1.2.0"}},
        {"downloading", Downloading{"1.2.0", 0.4, downloadingStep}},
        {"failed", Failed{current, downloadFailedMessage()}},
    };
    window.present();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window.render(c.state);
        const Card expected = card(c.state);
        const QStringList shown = shownTexts(window);
        EXPECT_TRUE(shown.contains(QString::fromStdString(expected.title)));
        EXPECT_TRUE(shown.contains(QString::fromStdString(expected.subtitle)));
        EXPECT_TRUE(shown.contains("Sorvala 1.1.0 (build 10100)"));
        ASSERT_EQ(window.buttons().size(), expected.buttons.size());
        for (std::size_t i = 0; i < expected.buttons.size(); ++i)
            EXPECT_EQ(window.buttons()[i]->text().replace(QStringLiteral("&&"), QStringLiteral("&")).toStdString(),
                      expected.buttons[i].title);
        const auto* progress = window.findChild<QProgressBar*>();
        EXPECT_EQ(progress->isVisibleTo(&window), expected.progress.has_value());
        if (expected.progress) {
            EXPECT_EQ(progress->value(), 400);
        }
        saveScreenshot(window, QStringLiteral("about-%1").arg(c.name));
    }

    window.render(Failed{current, "x"});
    window.buttons().front()->click();
    EXPECT_TRUE(window.isVisible());
    window.buttons().back()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(actions, (std::vector<Action>{Action::retry, Action::close}));
}

} // namespace
} // namespace sorvala
