#include <QSettings>
#include <tuple>

#include "app/settings_store.h"
#include "editor/settings_rules.h"
#include "tests/app/app_test_support.h"

namespace orv {
namespace {

auto Fields(const Settings& s) {
    return std::tuple{s.screenWidth,     s.screenHeight, s.fsp,           s.drawType,
                      s.interpolateType, s.sse2Enable,   s.drawingThreads};
}

TEST(SettingsRules, DefaultsUnusableSizesAndSse2) {
    EXPECT_EQ(Fields(SettingsFromStored({}, true)), std::tuple(800u, 600u, 60u, 0u, 0u, true, 0u));
    EXPECT_FALSE(SettingsFromStored({}, false).sse2Enable);

    StoredSettingValues stored;
    for (auto [side, kept] : {std::pair{0u, false}, {10000u, false}, {9999u, true}, {1u, true}}) {
        stored.screenWidth = stored.screenHeight = side;
        const Settings settings = SettingsFromStored(stored, true);
        EXPECT_EQ(std::pair(settings.screenWidth, settings.screenHeight),
                  kept ? std::pair(side, side) : std::pair(800u, 600u));
    }

    // A thread count that would start thousands of threads keeps the default.
    for (const unsigned threads : {1u, kMaxDrawingThreads, kMaxDrawingThreads + 1, 4000000000u}) {
        stored.drawingThreads = threads;
        EXPECT_EQ(SettingsFromStored(stored, true).drawingThreads,
                  threads > kMaxDrawingThreads ? 0u : threads);
    }

    // An odd rate is kept, so the options dialog sees the change when it stores 60 (the preview's
    // timer runs it at 60).
    stored.fsp = 25;
    EXPECT_EQ(SettingsFromStored(stored, true).fsp, 25u);

    // SSE2 only where the processor has it.
    for (auto [value, hasSse2, on] : {std::tuple{1u, false, false}, {0u, true, false}, {7u, true, true}}) {
        stored.sse2Enable = value;
        EXPECT_EQ(SettingsFromStored(stored, hasSse2).sse2Enable, on) << value << hasSse2;
    }
}

TEST(SettingsStore, MissingValuesGiveDefaultsAndSavedOnesRoundTripUnderTheirNames) {
    test::SettingsGuard guard;
    // Changes of the store show at once in every QSettings of the process.
    QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
    store.clear();
    CurrentSettings().screenWidth = 123;
    LoadSettings();
    EXPECT_EQ(Fields(CurrentSettings()), Fields(Settings::Defaults()));
    EXPECT_EQ(ActiveSse2(), ProcessorHasSse2());

    CurrentSettings() = {640, 480, 20, 1, 1, false, 0};
    SaveSettings();
    // The default thread count is not written: a store that never changed it stays as it was.
    EXPECT_FALSE(store.contains(QStringLiteral("DrawingThreads")));
    CurrentSettings().drawingThreads = 3;
    SaveSettings();
    const std::pair<const char*, unsigned> names[] = {
        {"ScreenWidth", 640},   {"ScreenHeight", 480}, {"FSP", 20},          {"DrawType", 1},
        {"InterpolateType", 1}, {"SSE2Enable", 0},     {"DrawingThreads", 3}};
    for (auto [name, value] : names)
        EXPECT_EQ(store.value(QString::fromLatin1(name)).toUInt(), value) << name;
    CurrentSettings() = Settings::Defaults();
    LoadSettings();
    EXPECT_EQ(Fields(CurrentSettings()), std::tuple(640u, 480u, 20u, 1u, 1u, false, 3u));
    EXPECT_FALSE(ActiveSse2());

    // An unreadable value keeps its default (unusable ones are the rules' test).
    store.setValue(QStringLiteral("FSP"), QStringLiteral("fast"));
    LoadSettings();
    EXPECT_EQ(CurrentSettings().fsp, 60u);
    store.clear();
}

}  // namespace
}  // namespace orv
