#include "app/dialogs/option_dlg.h"
#include "app/interface_translations.h"
#include "app/settings_store.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

using test::Child;

TEST(OptionChoicesTest, ReportsWhatChangedAndStoresOnlySupportedTypes) {
    // (No change, and a change of the rate, are the settings command's tests.)
    Settings settings;
    OptionChoices choices = OptionChoicesFromSettings(settings);
    choices.height = 480;
    SettingsChange change = ApplyOptionChoices(settings, choices);
    EXPECT_EQ(std::tuple(settings.screenWidth, settings.screenHeight, change.sizeChanged, change.any,
                         change.fpsChanged),
              std::tuple(800u, 480u, true, true, false));

    // Out-of-range types are not stored but count as changes.
    choices.interpolateType = 5;
    EXPECT_TRUE(ApplyOptionChoices(settings, choices).any);
    EXPECT_EQ(settings.interpolateType, 0u);
    // An unsupported stored draw type shows as 0 and is replaced on OK.
    settings.drawType = 2;
    choices = OptionChoicesFromSettings(settings);
    EXPECT_EQ(choices.drawType, 0u);
    change = ApplyOptionChoices(settings, choices);
    EXPECT_EQ(std::tuple(settings.drawType, change.any, change.fpsChanged, change.sizeChanged),
              std::tuple(0u, true, false, false));
}

// The settings command on default settings, its dialog answered by the test; saves are counted.
class SettingsCommand : public testing::Test {
protected:
    void SetUp() override { CurrentSettings() = Settings::Defaults(); }
    SettingsChange Run(std::function<void(QWidget&)> answer) {
        test::WhenModalShown(std::move(answer));
        return RunSettingsCommand(nullptr, [this] { ++saves_; });
    }
    test::SettingsGuard guard_;
    int saves_ = 0;
};

// A stored rate of 25 shows as 60 and is stored as 60; zero drawing threads show as automatic;
// empty or zero sizes keep their values; the drawing code follows the SSE2 choice at once.
TEST_F(SettingsCommand, OddRatesShowAs60TheDrawingThreadsAreStoredAndSse2FollowsTheChoice) {
    CurrentSettings().fsp = 25;
    SetActiveSse2(true);
    const SettingsChange change = Run([&](QWidget& dialog) {
        auto* threads = Child<QSpinBox>(dialog, "drawingThreads");
        EXPECT_EQ(std::tuple(Child<QComboBox>(dialog, "frameRate")->currentText(), threads->text(),
                             threads->maximum()),
                  std::tuple(QStringLiteral("60 FPS"), QStringLiteral("自動"),
                             static_cast<int>(kMaxDrawingThreads)));
        threads->setValue(3);
        Child<QCheckBox>(dialog, "sse2")->setChecked(false);
        test::Fill(dialog, {{"width", QString()}, {"height", QStringLiteral("0")}});
        test::Confirm(dialog);
    });
    const Settings& settings = CurrentSettings();
    EXPECT_EQ(std::tuple(settings.screenWidth, settings.screenHeight, settings.fsp, settings.drawingThreads,
                         settings.sse2Enable, ActiveSse2()),
              std::tuple(800u, 600u, 60u, 3u, false, false));
    EXPECT_EQ(std::tuple(change.fpsChanged, change.any, change.sizeChanged, saves_),
              std::tuple(true, true, false, 1));

    // OK without changes, or Cancel after one, saves nothing.
    EXPECT_FALSE(Run(test::Confirm).any);
    EXPECT_FALSE(Run([](QWidget& dialog) {
                     Child<QComboBox>(dialog, "frameRate")->setCurrentIndex(3);
                     static_cast<QDialog&>(dialog).reject();
                 }).any);
    EXPECT_EQ(std::pair(CurrentSettings().fsp, saves_), std::pair(60u, 1));
}

TEST_F(SettingsCommand, TheLanguageChoiceIsStoredForTheNextStartAndShownAgain) {
    SaveLanguageChoice(LanguageChoice::kAutomatic);
    int shown = -1;
    const auto choose = [&](int index) {
        return Run([&, index](QWidget& dialog) {
            auto* language = Child<QComboBox>(dialog, "language");
            shown = language->currentIndex();
            language->setCurrentIndex(index);
            index == 2 ? test::Confirm(dialog) : static_cast<QDialog&>(dialog).reject();
        });
    };
    // Automatic, Japanese, English. The settings record does not change, and the interface itself
    // keeps its language until the next start.
    EXPECT_FALSE(choose(2).any);
    EXPECT_EQ(std::tuple(shown, LoadLanguageChoice(), saves_, ActiveInterfaceLanguage()),
              std::tuple(0, LanguageChoice::kEnglish, 0, InterfaceLanguage::kJapanese));
    choose(1);
    EXPECT_EQ(std::pair(shown, LoadLanguageChoice()), std::pair(2, LanguageChoice::kEnglish))
        << "cancel stores nothing";
    SaveLanguageChoice(LanguageChoice::kAutomatic);
}

}  // namespace
}  // namespace orv
