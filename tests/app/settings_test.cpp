#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

#include "app/settings_rules.h"
#include "app/settings_store.h"
#include "engine/settings.h"
#include "tests/app/app_test_support.h"

namespace orv {
namespace {

using test::SettingsGuard;

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApp();
        Store().clear();
    }
    void TearDown() override { Store().clear(); }

    static QSettings& Store() {
        static QSettings store(QStringLiteral("brantsoft"), QStringLiteral("orv"));
        return store;
    }

    SettingsGuard guard_;
};

TEST(SettingsRules, DefaultsAndUnusableSizes) {
    const Settings none = SettingsFromStored({}, true);
    EXPECT_EQ(none.screenWidth, 800u);
    EXPECT_EQ(none.screenHeight, 600u);
    EXPECT_EQ(none.fsp, 60u);
    EXPECT_EQ(none.drawType, 0u);
    EXPECT_EQ(none.interpolateType, 0u);
    EXPECT_TRUE(none.sse2Enable);
    EXPECT_FALSE(SettingsFromStored({}, false).sse2Enable);

    StoredSettingValues stored;
    stored.screenWidth = 0;
    stored.screenHeight = 10000;
    EXPECT_EQ(SettingsFromStored(stored, true).screenWidth, 800u);
    EXPECT_EQ(SettingsFromStored(stored, true).screenHeight, 600u);
    stored.screenWidth = 9999;
    stored.screenHeight = 1;
    EXPECT_EQ(SettingsFromStored(stored, true).screenWidth, 9999u);
    EXPECT_EQ(SettingsFromStored(stored, true).screenHeight, 1u);
}

TEST(SettingsRules, Sse2OnlyWhereTheProcessorHasIt) {
    StoredSettingValues stored;
    stored.sse2Enable = 1;
    EXPECT_FALSE(SettingsFromStored(stored, false).sse2Enable);
    stored.sse2Enable = 0;
    EXPECT_FALSE(SettingsFromStored(stored, true).sse2Enable);
    stored.sse2Enable = 7;
    EXPECT_TRUE(SettingsFromStored(stored, true).sse2Enable);
}

TEST(SettingsRules, OddFrameRateIsKeptButPreviewRunsAtSixty) {
    StoredSettingValues stored;
    stored.fsp = 25;
    const Settings settings = SettingsFromStored(stored, true);
    EXPECT_EQ(settings.fsp, 25u) << "kept, so the options dialog sees the change when it stores 60";
    EXPECT_EQ(PreviewFps(settings.fsp), 60u);
    EXPECT_EQ(PreviewFps(15), 15u);
}

TEST_F(SettingsStoreTest, MissingStoreGivesDefaults) {
    CurrentSettings().screenWidth = 123;
    CurrentSettings().fsp = 15;
    LoadSettings();
    EXPECT_EQ(CurrentSettings().screenWidth, 800u);
    EXPECT_EQ(CurrentSettings().screenHeight, 600u);
    EXPECT_EQ(CurrentSettings().fsp, 60u);
    EXPECT_EQ(CurrentSettings().sse2Enable, ProcessorHasSse2());
    EXPECT_EQ(ActiveSse2(), ProcessorHasSse2());
}

TEST_F(SettingsStoreTest, SaveThenLoadRoundTripsUnderTheValueNames) {
    Settings& settings = CurrentSettings();
    settings.screenWidth = 640;
    settings.screenHeight = 480;
    settings.fsp = 20;
    settings.drawType = 1;
    settings.interpolateType = 1;
    settings.sse2Enable = false;
    SaveSettings();

    Store().sync();
    EXPECT_EQ(Store().value(QStringLiteral("ScreenWidth")).toUInt(), 640u);
    EXPECT_EQ(Store().value(QStringLiteral("ScreenHeight")).toUInt(), 480u);
    EXPECT_EQ(Store().value(QStringLiteral("FSP")).toUInt(), 20u);
    EXPECT_EQ(Store().value(QStringLiteral("DrawType")).toUInt(), 1u);
    EXPECT_EQ(Store().value(QStringLiteral("InterpolateType")).toUInt(), 1u);
    EXPECT_EQ(Store().value(QStringLiteral("SSE2Enable")).toUInt(), 0u);

    settings = Settings::Defaults();
    LoadSettings();
    EXPECT_EQ(settings.screenWidth, 640u);
    EXPECT_EQ(settings.screenHeight, 480u);
    EXPECT_EQ(settings.fsp, 20u);
    EXPECT_EQ(settings.drawType, 1u);
    EXPECT_EQ(settings.interpolateType, 1u);
    EXPECT_FALSE(settings.sse2Enable);
    EXPECT_FALSE(ActiveSse2());
}

TEST_F(SettingsStoreTest, UnreadableValuesKeepTheirDefaults) {
    Store().setValue(QStringLiteral("FSP"), QStringLiteral("fast"));
    Store().setValue(QStringLiteral("ScreenWidth"), 0);
    Store().setValue(QStringLiteral("ScreenHeight"), 720);
    Store().sync();
    LoadSettings();
    EXPECT_EQ(CurrentSettings().fsp, 60u);
    EXPECT_EQ(CurrentSettings().screenWidth, 800u);
    EXPECT_EQ(CurrentSettings().screenHeight, 720u);
}

}  // namespace
}  // namespace orv
