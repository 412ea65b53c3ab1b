#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include "app/dialogs/option_dlg.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

using test::Child;

void Confirm(QWidget& dialog) {
    static_cast<QDialog&>(dialog).accept();
}

TEST(OptionChoicesTest, AnUnsupportedDrawTypeShowsAsZeroAndIsReplacedOnOk) {
    Settings settings;
    settings.drawType = 2;
    const OptionChoices choices = OptionChoicesFromSettings(settings);
    EXPECT_EQ(choices.drawType, 0u);
    const SettingsChange change = ApplyOptionChoices(settings, choices);
    EXPECT_EQ(settings.drawType, 0u);
    EXPECT_TRUE(change.any);
    EXPECT_FALSE(change.fpsChanged || change.sizeChanged);
}

TEST(OptionChoicesTest, OutOfRangeTypesAreNotStoredButCountAsChanges) {
    Settings settings;
    OptionChoices choices = OptionChoicesFromSettings(settings);
    choices.interpolateType = 5;
    EXPECT_TRUE(ApplyOptionChoices(settings, choices).any);
    EXPECT_EQ(settings.interpolateType, 0u);
}

TEST(OptionChoicesTest, ReportsWhatChanged) {
    Settings settings;
    OptionChoices choices = OptionChoicesFromSettings(settings);
    EXPECT_FALSE(ApplyOptionChoices(settings, choices).any);

    choices.height = 480;
    SettingsChange change = ApplyOptionChoices(settings, choices);
    EXPECT_TRUE(change.sizeChanged && change.any);
    EXPECT_FALSE(change.fpsChanged);
    EXPECT_EQ(settings.screenWidth, 800u);
    EXPECT_EQ(settings.screenHeight, 480u);

    choices.framesPerSecond = 15;
    change = ApplyOptionChoices(settings, choices);
    EXPECT_TRUE(change.fpsChanged && change.any);
    EXPECT_FALSE(change.sizeChanged);
    EXPECT_EQ(settings.fsp, 15u);
}

TEST(OptionDialog, Sse2CannotBeChosenWithoutTheProcessorFeature) {
    COptionDlg dialog(OptionChoices{}, false);
    EXPECT_FALSE(Child<QCheckBox>(dialog, "sse2")->isEnabled());
}

TEST(OptionDialog, EmptyOrZeroSizesKeepTheirValues) {
    COptionDlg dialog(OptionChoices{}, true);
    Child<QLineEdit>(dialog, "width")->setText(QString());
    Child<QLineEdit>(dialog, "height")->setText(QStringLiteral("0"));
    dialog.accept();
    EXPECT_EQ(dialog.Choices().width, 800u);
    EXPECT_EQ(dialog.Choices().height, 600u);
}

TEST(SettingsCommand, AStoredRateOf25ShowsAs60AndIsStoredAs60) {
    test::SettingsGuard guard;
    CurrentSettings() = Settings::Defaults();
    CurrentSettings().fsp = 25;
    int saves = 0;
    QString shown;
    test::WhenModalShown([&shown](QWidget& dialog) {
        shown = Child<QComboBox>(dialog, "frameRate")->currentText();
        Confirm(dialog);
    });
    const SettingsChange change = RunSettingsCommand(nullptr, [&saves] { ++saves; });
    EXPECT_EQ(shown, QStringLiteral("60 FPS"));
    EXPECT_EQ(CurrentSettings().fsp, 60u);
    EXPECT_TRUE(change.fpsChanged);
    EXPECT_EQ(saves, 1);
}

TEST(SettingsCommand, OkWithoutChangesSavesNothing) {
    test::SettingsGuard guard;
    CurrentSettings() = Settings::Defaults();
    int saves = 0;
    test::WhenModalShown(Confirm);
    const SettingsChange change = RunSettingsCommand(nullptr, [&saves] { ++saves; });
    EXPECT_FALSE(change.any);
    EXPECT_EQ(saves, 0);
}

TEST(SettingsCommand, CancelChangesNothing) {
    test::SettingsGuard guard;
    CurrentSettings() = Settings::Defaults();
    int saves = 0;
    test::WhenModalShown([](QWidget& dialog) {
        Child<QComboBox>(dialog, "frameRate")->setCurrentIndex(3);
        static_cast<QDialog&>(dialog).reject();
    });
    EXPECT_FALSE(RunSettingsCommand(nullptr, [&saves] { ++saves; }).any);
    EXPECT_EQ(CurrentSettings().fsp, 60u);
    EXPECT_EQ(saves, 0);
}

TEST(SettingsCommand, TheDrawingCodeFollowsTheSse2Choice) {
    if (!ProcessorHasSse2()) GTEST_SKIP() << "no SSE2 on this processor";
    test::SettingsGuard guard;
    CurrentSettings() = Settings::Defaults();
    SetActiveSse2(true);
    int saves = 0;
    test::WhenModalShown([](QWidget& dialog) {
        Child<QCheckBox>(dialog, "sse2")->setChecked(false);
        Confirm(dialog);
    });
    EXPECT_TRUE(RunSettingsCommand(nullptr, [&saves] { ++saves; }).any);
    EXPECT_FALSE(CurrentSettings().sse2Enable);
    EXPECT_FALSE(ActiveSse2());
    EXPECT_EQ(saves, 1);
}

}  // namespace
}  // namespace orv
