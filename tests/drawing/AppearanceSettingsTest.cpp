// SPDX-License-Identifier: MIT
#include "drawing/AppearanceKeys.h"
#include "drawing/Settings.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace sorvala {
namespace {

using Ink = Settings::Ink;
using Theme = Settings::Theme;
using Style = Settings::Style;
using namespace AppearanceKeys;

const std::set<int> everyDrawing{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

TEST(AppearanceRead, NothingStoredEnablesEveryDrawingAndWritesNothing) {
    MemoryPreferences store;
    EXPECT_EQ(Settings::load(store, 12).enabledDrawings, everyDrawing);
    EXPECT_TRUE(store.storedValues().empty()) << "loading registers defaults, it writes nothing";
}

TEST(AppearanceRead, StoredValuesOutOfRangeAreCorrected) {
    struct Case { const char* name; std::string_view key; PreferenceValue stored; Settings expected; };
    auto with = [](auto change) { Settings s = Settings::load(*std::make_unique<MemoryPreferences>(), 12); change(s); return s; };
    const Case cases[] = {
        {"slow speed rises to 1", speedKey, 0.5, with([](Settings& s) { s.speed = 1.0; })},
        {"speed above 10 is the default", speedKey, 12.0, with([](Settings& s) { s.speed = 3.0; })},
        {"speed 10 stays", speedKey, 10.0, with([](Settings& s) { s.speed = 10.0; })},
        {"speed that is no number is the default", speedKey, std::numeric_limits<double>::quiet_NaN(),
         with([](Settings& s) { s.speed = 3.0; })},
        {"speed written as text by the other program", speedKey, std::string("7.5"), with([](Settings& s) { s.speed = 7.5; })},
        {"unknown ink code 12", inkKey, std::int64_t{12}, with([](Settings& s) { s.ink = Ink::classic; })},
        {"negative ink code", inkKey, std::int64_t{-3}, with([](Settings& s) { s.ink = Ink::classic; })},
        {"unknown theme code", themeKey, std::int64_t{7}, with([](Settings& s) { s.theme = Theme::paper; })},
        {"unknown style code", styleKey, std::int64_t{5}, with([](Settings& s) { s.style = Style::pencil; })},
        {"pinned drawing", drawingKey, std::int64_t{4}, with([](Settings& s) { s.pinnedDrawing = 4; })},
        {"negative pin is none", drawingKey, std::int64_t{-7}, with([](Settings&) {})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryPreferences store;
        store.set(c.key, c.stored);
        EXPECT_EQ(Settings::load(store, 12), c.expected);
    }
}

TEST(AppearanceRead, EnabledDrawingsFromMaskAndCount) {
    EXPECT_EQ(Settings::enabledDrawingsFor(0, 12, 12), everyDrawing) << "unchecking all re-enables every drawing";
    EXPECT_EQ(Settings::enabledDrawingsFor(0b101, 12, 12), (std::set<int>{0, 2}));
    EXPECT_EQ(Settings::enabledDrawingsFor(0b101, 10, 12), (std::set<int>{0, 2, 10, 11}))
        << "drawings added after the mask was written are on";
    EXPECT_EQ(Settings::enabledDrawingsFor(-1, 12, 12), everyDrawing);
    EXPECT_EQ(Settings::enabledDrawingsFor(0b1000, 70, 70), (std::set<int>{3})) << "no bit beyond 63 is read";
}

TEST(AppearanceWrite, SaveReadsBackTheSame) {
    MemoryPreferences store;
    Settings settings = Settings::load(store, 12);
    settings.theme = Theme::random;
    settings.speed = 6.5;
    settings.style = Style::brush;
    settings.ink = Ink::chalk;
    settings.pinnedDrawing = 9;
    settings.enabledDrawings = {1, 5, 11};
    settings.save(store, 12);
    EXPECT_EQ(Settings::load(store, 12), settings);
    EXPECT_EQ(store.integer(enabledDrawingsKey), 0b100000100010);
    EXPECT_EQ(store.integer(enabledDrawingsCountKey), 12);

    settings.pinnedDrawing.reset();
    settings.save(store, 12);
    EXPECT_EQ(store.integer(drawingKey), -1);
}

TEST(AppearanceMigrationOnce, CopiesPresentKeysOnlyTheFirstTime) {
    MemoryPreferences store;
    AppearanceMigration::migrateAppearance({{"theme", std::int64_t{1}}, {"unrelated", true}}, store);
    EXPECT_TRUE(store.boolean(appearanceMigratedKey));
    EXPECT_EQ(store.integer(themeKey), 1);
    EXPECT_FALSE(store.object("unrelated").has_value());
    EXPECT_FALSE(store.object(speedKey).has_value());

    AppearanceMigration::migrateAppearance({{"theme", std::int64_t{0}}, {"ink", std::int64_t{3}}}, store);
    EXPECT_EQ(store.integer(themeKey), 1);
    EXPECT_FALSE(store.object(inkKey).has_value());

    MemoryPreferences fresh;
    AppearanceMigration::migrateAppearance(AppearanceMigration::retiredScreenSaverAppearance(), fresh);
    EXPECT_EQ(fresh.storedValues().size(), 1u) << "the retired domain is absent on Linux: only the mark is written";
}

TEST(AppearanceResolve, RandomChoicesTakeBit17) {
    EXPECT_EQ(Appearance::resolvedStyle(Style::random, 0), Style::pencil);
    EXPECT_EQ(Appearance::resolvedStyle(Style::random, 1u << 17), Style::brush);
    EXPECT_EQ(Appearance::resolvedStyle(Style::pencil, 1u << 17), Style::pencil);
    EXPECT_EQ(Appearance::themeFromRandomBits(~(std::uint64_t{1} << 17)), Theme::paper);
    EXPECT_EQ(Appearance::resolved(Theme::system, true), Theme::dark);
    EXPECT_EQ(Appearance::resolved(Theme::system, false), Theme::paper);
    EXPECT_EQ(Appearance::resolved(Theme::dark, false), Theme::dark);

    std::set<Ink> seen;
    for (std::uint64_t pick = 0; pick < 10; ++pick)
        seen.insert(Appearance::resolvedInk(Ink::randomPerDrawing, pick));
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(seen.count(Ink::randomPerDrawing), 0u);
    EXPECT_EQ(seen.count(Ink::multicolor), 0u);
    EXPECT_EQ(Appearance::resolvedInk(Ink::multicolor, 3), Ink::multicolor);
}

} // namespace
} // namespace sorvala
