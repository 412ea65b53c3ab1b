#include <QPushButton>
#include <QSettings>
#include <map>

#include "app/dialogs/progress_dlg.h"
#include "app/dialogs/render_dlg.h"
#include "app/dialogs/render_preferences.h"
#include "editor/render_input.h"
#include "effectfile/effect_loading.h"
#include "effectfile/effect_writer.h"
#include "engine/random.h"
#include "tests/app_dialogs/dialog_test_support.h"
#include "tests/cli/program_run.h"
#include "tests/support/temp_folder.h"

// The render dialog, its progress dialog and the render command that runs them.
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
    // The field, what is typed there, and the refusal or its start.
    using Case = std::tuple<const char*, const char*, const char*>;
    for (const auto& [field, text, refusal] :
         {Case{"seconds", "0", "出力時間が短すぎます。"}, Case{"seconds", "-2", "出力時間が短すぎます。"},
          Case{"outputPath", "", "出力先が指定されていません。"}, Case{"seed", "", "シードは"},
          Case{"seed", "１２", "シードは"}, Case{"seed", "12 ", "シードは"},
          Case{"start", "２", "開始時間は"}}) {
        SCOPED_TRACE(std::string(field) + " " + text);
        RecordingRenderDlg dialog(60, nullptr, {}, 99);  // the effect's seed: the seed field is read
        test::Fill(dialog, {{"seconds", QStringLiteral("2")},
                            {"outputPath", QStringLiteral("/tmp/out/fire.png")},
                            {field, QString::fromUtf8(text)}});
        dialog.accept();
        ASSERT_EQ(dialog.refusals.size(), 1);
        EXPECT_TRUE(dialog.refusals[0].startsWith(QString::fromUtf8(refusal)))
            << dialog.refusals[0].toStdString();
        EXPECT_EQ(std::pair(dialog.result(), Child<QLineEdit>(dialog, field)->text()),
                  std::pair(int{QDialog::Rejected}, QString::fromUtf8(text)));
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
        EXPECT_EQ(
            std::tuple(Child<QComboBox>(dialog, "frameRate")->currentText(), fixed->isChecked(),
                       Child<QLineEdit>(dialog, "seed")->text(), Child<QLineEdit>(dialog, "start")->text(),
                       Child<QCheckBox>(dialog, "loop")->isChecked()),
            std::tuple(QString::fromLatin1(c.rateShown), c.effectSeed.has_value(),
                       QString::number(c.effectSeed.value_or(0)), QStringLiteral("2"),
                       c.effectSeed.has_value()));
        Child<QComboBox>(dialog, "frameRate")->setCurrentIndex(3);
        fixed->setChecked(c.fixed);
        EXPECT_EQ(Child<QLineEdit>(dialog, "seed")->isEnabled(), c.fixed);
        test::Fill(dialog, {{"outputPath", QStringLiteral("/tmp/out/fire.png")},
                            {"seed", QString::fromLatin1(c.seed)},
                            {"start", QString::fromLatin1(c.start)}});
        dialog.accept();
        EXPECT_EQ(std::pair(dialog.refusals, dialog.result()),
                  std::pair(QStringList(), int{QDialog::Accepted}));
        EXPECT_EQ(
            std::tuple(dialog.Seconds(), dialog.FramesPerSecond(), dialog.OutputBasePath(), dialog.Seed(),
                       dialog.StartSeconds(), dialog.Preferences().loop, dialog.Preferences().start),
            std::tuple(10, 15u, std::u16string(u"/tmp/out/fire.png"), c.chosenSeed, c.chosenStart,
                       c.effectSeed.has_value(), QString::fromLatin1(c.start).trimmed().toStdU16String()));
    }
}

class RenderJobTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QSettings(QStringLiteral("brantsoft"), QStringLiteral("orv")).clear();  // no remembered choices
        // Small frames keep the sequences quick to write.
        CurrentSettings().screenWidth = 16;
        CurrentSettings().screenHeight = 12;
    }
    RenderJobConfig Config(const QString& base, std::uint32_t seconds, std::uint32_t fps) const {
        return {.framesPerSecond = fps,
                .outputBasePath = ToU16(dir_.filePath(base)),
                .seconds = seconds,
                .settings = TakeSettingsSnapshot()};
    }
    // The PNG files of a folder with their bytes.
    std::map<QString, std::string> Frames(const QString& folder) const {
        std::map<QString, std::string> frames;
        for (const QString& name :
             QDir(dir_.filePath(folder)).entryList({QStringLiteral("*.png")}, QDir::Files))
            frames[name] = test::ReadFileBytes(QDir(dir_.filePath(folder)).filePath(name).toStdString());
        return frames;
    }

    test::SettingsGuard guard_;
    QTemporaryDir dir_;
    EditorDocument document_;
    Effect& effect_ = document_.GetEffect();
};

// Cancel, Esc and the close box each stop the job after the frame it is on; the frames written
// so far stay and the dialog closes when the job ends.
class CancelTest : public RenderJobTest, public testing::WithParamInterface<int> {};

TEST_P(CancelTest, StopsAfterTheCurrentFrame) {
    CProgressDlg dialog;
    bool cancelled = false;
    QObject::connect(&dialog, &CProgressDlg::positionChanged, &dialog, [&](int position) {
        if (position == 0 || cancelled) return;
        cancelled = true;
        if (GetParam() == 0) dialog.reject();
        if (GetParam() == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
        if (GetParam() == 2) dialog.close();
        // Asking to stop does not close the dialog: the job does.
        EXPECT_EQ(std::pair(dialog.isVisible(), Child<QPushButton>(dialog, "cancel")->isEnabled()),
                  std::pair(true, false));
        // (The count and time left under the bar are seen at once on the screen.)
    });
    // Far more frames than can be written before the first progress message is handled.
    const RenderOutcome outcome = dialog.Run(effect_, Config(QStringLiteral("fire.png"), 1000, 60));
    EXPECT_EQ(std::tuple(cancelled, outcome.failure, dialog.isVisible()),
              std::tuple(true, std::nullopt, false));
    ASSERT_TRUE(outcome.framesWritten > 0 && outcome.framesWritten < 60000u) << outcome.framesWritten;
    // (That they are an unbroken run from the first is the job's own test.)
    EXPECT_EQ(Frames(QString()).size(), outcome.framesWritten);
}

INSTANTIATE_TEST_SUITE_P(ByButtonEscAndCloseBox, CancelTest, testing::Values(0, 1, 2));

// A title too long for any file system, so that no frame can be written, and a file where the
// output folder should be.
TEST_F(RenderJobTest, FailuresAreReportedOnce) {
    ASSERT_TRUE(QFile(dir_.filePath(QStringLiteral("taken"))).open(QIODevice::WriteOnly));
    for (const auto& [base, report] :
         {std::pair(QString(300, u'x') + QStringLiteral(".png"), "0 枚"),
          std::pair(QStringLiteral("taken/fire.png"), "出力先フォルダを作成できません。")}) {
        QStringList reports;
        RunRenderJob(nullptr, effect_, Config(base, 2, 30),
                     [&reports](const QString& text) { reports << text; });
        ASSERT_EQ(reports.size(), 1);
        EXPECT_TRUE(reports.first().contains(QString::fromUtf8(report))) << reports.first().toStdString();
    }
    EXPECT_TRUE(Frames(QString()).empty());
}

// The editor's render of a seeded loop with a start offset, chosen in the dialog, writes the very
// files orv-render writes for the saved effect with the same settings, into folders it creates.
// The next render's dialog opens with the choices of this one.
TEST_F(RenderJobTest, ASeededLoopFromTheDialogIsWhatOrvRenderWritesAndItsChoicesAreKept) {
    ASSERT_TRUE(
        LoadEffect(effect_, ToU16(QStringLiteral(ORV_SOURCE_DIR "/examples/fire.orv")), false).loaded);
    CurrentSettings().screenWidth = 48;
    CurrentSettings().screenHeight = 64;
    CurrentSettings().fsp = 15;
    for (int i = 0; i < 777; ++i) NextRandom();  // the preview's draws, which a seed makes irrelevant

    // (What the dialog shows at first is the render dialog's test.)
    test::WhenModalShown([&](QWidget& dialog) {
        Child<QComboBox>(dialog, "compression")->setCurrentIndex(2);
        Child<QSpinBox>(dialog, "threads")->setValue(3);
        for (const char* box : {"fixedSeed", "loop"}) Child<QCheckBox>(dialog, box)->setChecked(true);
        test::Fill(dialog, {{"seconds", QStringLiteral("1")},
                            {"seed", QStringLiteral("0")},  // a seed like any other
                            {"start", QStringLiteral("0.4")},
                            {"outputPath", dir_.filePath(QStringLiteral("editor/sub/f"))}});
        test::Confirm(dialog);
    });
    RunRenderCommand(nullptr, document_);
    // The seed is the effect's now. (That setting it is a step that can be undone is the document's test.)
    EXPECT_EQ(effect_.Seed(), std::optional<std::uint64_t>(0));
    const std::map<QString, std::string> frames = Frames(QStringLiteral("editor/sub"));
    ASSERT_EQ(frames.size(), 15u);

    const QString saved = dir_.filePath(QStringLiteral("saved.orv"));
    ASSERT_FALSE(SaveEffect(effect_, ToU16(saved)));
    const test::RunResult run = test::RunProgram(
        ORV_RENDER_EXE,
        {"--quiet", "--loop", "--start=0.4", "--seconds=1", "--fps=15", "--width=48", "--height=64",
         "--png-compression=small",
         CurrentSettings().interpolateType == 1 ? "--interpolate=bilinear" : "--interpolate=nearest",
         ActiveSse2() ? "--sse2=on" : "--sse2=off", saved.toStdString(),
         dir_.filePath(QStringLiteral("cli/f")).toStdString()},
        dir_.path().toStdString());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Frames(QStringLiteral("cli")) == frames);
    EXPECT_NE(frames.begin()->second, frames.rbegin()->second);

    test::WhenModalShown([&](QWidget& dialog) {
        auto* compression = Child<QComboBox>(dialog, "compression");
        EXPECT_EQ(std::tuple(compression->currentIndex(), Child<QSpinBox>(dialog, "threads")->text(),
                             Child<QCheckBox>(dialog, "loop")->isChecked(),
                             Child<QLineEdit>(dialog, "start")->text()),
                  std::tuple(2, QStringLiteral("3"), true, QStringLiteral("0.4")));
        Child<QComboBox>(dialog, "format")->setCurrentIndex(4);
        EXPECT_FALSE(compression->isEnabled()) << "a GIF has no PNG compression";
        test::Fill(dialog, {{"seconds", QStringLiteral("1")},
                            {"outputPath", dir_.filePath(QStringLiteral("gif/spark.png"))}});
        test::Confirm(dialog);
    });
    RunRenderCommand(nullptr, document_);
    EXPECT_EQ(QDir(dir_.filePath(QStringLiteral("gif"))).entryList(QDir::Files), QStringList{"spark.gif"});
    EXPECT_EQ(LoadRenderPreferences().format, OutputFormat::kAnimatedGif);
}

}  // namespace
}  // namespace orv
