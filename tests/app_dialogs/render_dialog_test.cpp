#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

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

TEST(RenderInput, SecondsFromTheFirstNineCharactersAndLengthRefusedBeforePath) {
    const std::pair<std::u16string_view, std::int32_t> seconds[] = {{u"10", 10},
                                                                    {u"2.5", 2},
                                                                    {u"abc", 0},
                                                                    {u"", 0},
                                                                    {u"-3", -3},
                                                                    {u"1234567890", 123456789},
                                                                    {u"-999999999", -99999999}};
    for (auto [text, value] : seconds) EXPECT_EQ(ParseRenderSeconds(text), value);
    EXPECT_EQ(RenderInputRefusal(0, u""), u"出力時間が短すぎます。");
    EXPECT_EQ(RenderInputRefusal(-1, u"/tmp/x.png"), u"出力時間が短すぎます。");
    EXPECT_EQ(RenderInputRefusal(1, u""), u"出力先が指定されていません。");
    EXPECT_FALSE(RenderInputRefusal(1, u"/tmp/x.png"));
}

TEST(RenderDialog, OpensAtTheSettingsRateAndTenSeconds) {
    CRenderDlg dialog(30);
    EXPECT_EQ(Child<QComboBox>(dialog, "frameRate")->currentText(), QStringLiteral("30 FPS"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "seconds")->text(), QStringLiteral("10"));
    EXPECT_TRUE(Child<QLineEdit>(dialog, "outputPath")->text().isEmpty());
    CRenderDlg other(25);
    EXPECT_EQ(Child<QComboBox>(other, "frameRate")->currentText(), QStringLiteral("60 FPS"));
}

TEST(RenderInput, SeedAndStartTextsAsTheCommandLineTakesThem) {
    const std::pair<std::u16string_view, std::optional<std::uint64_t>> seeds[] = {
        {u"0", 0}, {u"18446744073709551615", UINT64_MAX}, {u"18446744073709551616", std::nullopt},
        {u"-1", std::nullopt}, {u"", std::nullopt}, {u"１２", std::nullopt}, {u"12 ", std::nullopt}};
    for (auto [text, seed] : seeds) EXPECT_EQ(ParseSeedText(text), seed);
    const std::pair<std::u16string_view, std::optional<double>> starts[] = {
        {u"1.5", 1.5}, {u"0", 0.0}, {u"-1", std::nullopt}, {u"1e3", std::nullopt}, {u"２", std::nullopt}};
    for (auto [text, start] : starts) EXPECT_EQ(ParseStartText(text), start);
}

// Each refusal names what is wrong and keeps the dialog open with the entered values to correct.
TEST(RenderDialog, RefusesEachBadFieldAndKeepsWhatWasEntered) {
    struct Case {
        const char* field;
        const char* text;
        const char* refusal;
        bool whole;  // the refusal is this text, not only its start
    };
    for (const Case& c : {Case{"seconds", "0", "出力時間が短すぎます。", true},
                          Case{"seconds", "abc", "出力時間が短すぎます。", true},
                          Case{"seconds", "-2", "出力時間が短すぎます。", true},
                          Case{"outputPath", "", "出力先が指定されていません。", true},
                          Case{"seed", "18446744073709551616", "シードは", false},
                          Case{"start", "-1", "開始時間は", false}}) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        RecordingRenderDlg dialog(60, nullptr, {}, 99);  // the effect's seed: the seed field is read
        Child<QLineEdit>(dialog, "seconds")->setText(QStringLiteral("2"));
        Child<QLineEdit>(dialog, "outputPath")->setText(QStringLiteral("/tmp/out/fire.png"));
        Child<QLineEdit>(dialog, c.field)->setText(QString::fromUtf8(c.text));
        dialog.accept();
        ASSERT_EQ(dialog.refusals.size(), 1);
        const QString refusal = QString::fromUtf8(c.refusal);
        EXPECT_TRUE(c.whole ? dialog.refusals[0] == refusal : dialog.refusals[0].startsWith(refusal))
            << dialog.refusals[0].toStdString();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(Child<QLineEdit>(dialog, c.field)->text(), QString::fromUtf8(c.text));
    }
}

// Unchecked, the seed goes and its field is not read; an empty start is no start.
TEST(RenderDialog, ShowsTheEffectsSeedAndHandsOverTheChoices) {
    struct Case {
        std::optional<std::uint64_t> effectSeed;
        bool fixed;
        const char *seed, *start;
        std::optional<std::uint64_t> chosenSeed;
        std::optional<double> chosenStart;
    };
    for (const Case& c : {Case{99, false, "x", " ", std::nullopt, std::nullopt},
                          Case{std::nullopt, true, "18446744073709551615", "0.25", UINT64_MAX, 0.25}}) {
        SCOPED_TRACE(c.seed);
        RecordingRenderDlg dialog(
            60, nullptr, RenderPreferences{.loop = c.effectSeed.has_value(), .start = u"2"}, c.effectSeed);
        auto* fixed = Child<QCheckBox>(dialog, "fixedSeed");
        EXPECT_EQ(fixed->isChecked(), c.effectSeed.has_value());
        if (c.effectSeed) {
            EXPECT_EQ(Child<QLineEdit>(dialog, "seed")->text(), QStringLiteral("99"));
        }
        EXPECT_EQ(Child<QLineEdit>(dialog, "start")->text(), QStringLiteral("2"));
        EXPECT_EQ(Child<QCheckBox>(dialog, "loop")->isChecked(), c.effectSeed.has_value());
        Child<QLineEdit>(dialog, "outputPath")->setText(QStringLiteral("/tmp/out/fire.png"));
        Child<QComboBox>(dialog, "frameRate")->setCurrentIndex(3);
        fixed->setChecked(c.fixed);
        EXPECT_EQ(Child<QLineEdit>(dialog, "seed")->isEnabled(), c.fixed);
        Child<QLineEdit>(dialog, "seed")->setText(QString::fromLatin1(c.seed));
        Child<QLineEdit>(dialog, "start")->setText(QString::fromLatin1(c.start));
        dialog.accept();
        EXPECT_TRUE(dialog.refusals.isEmpty());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(std::tuple(dialog.Seconds(), dialog.FramesPerSecond(), dialog.OutputBasePath()),
                  std::tuple(10, 15u, std::u16string(u"/tmp/out/fire.png")));
        EXPECT_EQ(std::pair(dialog.Seed(), dialog.StartSeconds()), std::pair(c.chosenSeed, c.chosenStart));
        EXPECT_EQ(dialog.Preferences().loop, c.effectSeed.has_value());
        EXPECT_EQ(dialog.Preferences().start, QString::fromLatin1(c.start).trimmed().toStdU16String());
    }
}

}  // namespace
}  // namespace orv
