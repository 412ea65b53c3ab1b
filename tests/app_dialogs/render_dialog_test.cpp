#include "app/dialogs/render_dlg.h"
#include "editor/render_input.h"
#include "tests/app_dialogs/dialog_test_support.h"

namespace orv {
namespace {

using test::Child;

// The render dialog with its refusals collected instead of shown.
class RecordingRenderDlg : public CRenderDlg {
public:
    using CRenderDlg::CRenderDlg;
    QStringList refusals;

protected:
    void ShowRefusal(const QString& text) override { refusals << text; }
};

// Seconds from the first nine characters (seeds and starts are the refusals' test below).
TEST(RenderInput, SecondsTexts) {
    using Case = std::pair<std::u16string_view, std::int32_t>;
    for (auto [text, value] :
         {Case{u"10", 10}, Case{u"2.5", 2}, Case{u"abc", 0}, Case{u"", 0}, Case{u"-3", -3},
          Case{u"1234567890", 123456789}, Case{u"-999999999", -99999999}})
        EXPECT_EQ(ParseRenderSeconds(text), value);
}

// Each refusal names what is wrong and keeps the dialog open with the entered values to correct.
// (Which numbers the seed and the start take is the command line's test; here texts that only a
// dialog sees: full-width digits, spaces, an empty seed.)
TEST(RenderDialog, RefusesEachBadFieldAndKeepsWhatWasEntered) {
    struct Case {
        const char* field;
        const char* text;
        const char* refusal;  // the refusal or its start
    };
    for (const Case& c :
         {Case{"seconds", "0", "出力時間が短すぎます。"}, Case{"seconds", "-2", "出力時間が短すぎます。"},
          Case{"outputPath", "", "出力先が指定されていません。"}, Case{"seed", "", "シードは"},
          Case{"seed", "１２", "シードは"}, Case{"seed", "12 ", "シードは"},
          Case{"start", "２", "開始時間は"}}) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        RecordingRenderDlg dialog(60, nullptr, {}, 99);  // the effect's seed: the seed field is read
        test::Fill(dialog, {{"seconds", QStringLiteral("2")},
                            {"outputPath", QStringLiteral("/tmp/out/fire.png")},
                            {c.field, QString::fromUtf8(c.text)}});
        dialog.accept();
        ASSERT_EQ(dialog.refusals.size(), 1);
        EXPECT_TRUE(dialog.refusals[0].startsWith(QString::fromUtf8(c.refusal)))
            << dialog.refusals[0].toStdString();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(Child<QLineEdit>(dialog, c.field)->text(), QString::fromUtf8(c.text));
    }
}

// It opens at the settings' rate (60 for a rate it does not offer) and ten seconds. Unchecked, the
// seed goes and its field is not read; an empty start is no start.
TEST(RenderDialog, ShowsTheEffectsSeedAndHandsOverTheChoices) {
    struct Case {
        std::uint32_t settingsRate;
        const char* rateShown;
        std::optional<std::uint64_t> effectSeed;
        bool fixed;
        const char *seed, *start;
        std::optional<std::uint64_t> chosenSeed;
        std::optional<double> chosenStart;
    };
    for (const Case& c :
         {Case{30, "30 FPS", 99, false, "x", " ", std::nullopt, std::nullopt},
          Case{25, "60 FPS", std::nullopt, true, "18446744073709551615", "0.25", UINT64_MAX, 0.25}}) {
        SCOPED_TRACE(c.seed);
        RecordingRenderDlg dialog(c.settingsRate, nullptr,
                                  RenderPreferences{.loop = c.effectSeed.has_value(), .start = u"2"},
                                  c.effectSeed);
        auto* fixed = Child<QCheckBox>(dialog, "fixedSeed");
        EXPECT_EQ(std::tuple(Child<QComboBox>(dialog, "frameRate")->currentText(), fixed->isChecked(),
                             Child<QLineEdit>(dialog, "start")->text(),
                             Child<QCheckBox>(dialog, "loop")->isChecked()),
                  std::tuple(QString::fromLatin1(c.rateShown), c.effectSeed.has_value(), QStringLiteral("2"),
                             c.effectSeed.has_value()));
        if (c.effectSeed) {
            EXPECT_EQ(Child<QLineEdit>(dialog, "seed")->text(), QStringLiteral("99"));
        }
        Child<QComboBox>(dialog, "frameRate")->setCurrentIndex(3);
        fixed->setChecked(c.fixed);
        EXPECT_EQ(Child<QLineEdit>(dialog, "seed")->isEnabled(), c.fixed);
        test::Fill(dialog, {{"outputPath", QStringLiteral("/tmp/out/fire.png")},
                            {"seed", QString::fromLatin1(c.seed)},
                            {"start", QString::fromLatin1(c.start)}});
        dialog.accept();
        EXPECT_TRUE(dialog.refusals.isEmpty());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(
            std::tuple(dialog.Seconds(), dialog.FramesPerSecond(), dialog.OutputBasePath(), dialog.Seed(),
                       dialog.StartSeconds(), dialog.Preferences().loop, dialog.Preferences().start),
            std::tuple(10, 15u, std::u16string(u"/tmp/out/fire.png"), c.chosenSeed, c.chosenStart,
                       c.effectSeed.has_value(), QString::fromLatin1(c.start).trimmed().toStdU16String()));
    }
}

}  // namespace
}  // namespace orv
