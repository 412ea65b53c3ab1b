#include <QSettings>
#include <tuple>

#include "app/dialogs/option_dlg.h"
#include "app/interface_translations.h"
#include "app/settings_store.h"
#include "editor/settings_rules.h"
#include "tests/app_dialogs/dialog_test_support.h"

// The settings: the rules for stored values, the store itself and the options dialog that edits them.
namespace orv {
namespace {

using test::Child;

auto Fields(const Settings& s) {
    return std::tuple{s.screenWidth,     s.screenHeight, s.fsp,           s.drawType,
                      s.interpolateType, s.sse2Enable,   s.drawingThreads};
}

TEST(SettingsRules, DefaultsUnusableSizesAndSse2) {
    EXPECT_EQ(Fields(SettingsFromStored({}, true)), std::tuple(800u, 600u, 60u, 0u, 0u, true, 0u));

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
