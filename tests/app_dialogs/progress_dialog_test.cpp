#include <QPushButton>
#include <QSettings>
#include <map>

#include "app/dialogs/progress_dlg.h"
#include "app/dialogs/render_dlg.h"
#include "app/dialogs/render_preferences.h"
#include "editor/step_names.h"
#include "effectfile/effect_loading.h"
#include "effectfile/effect_writer.h"
#include "engine/random.h"
#include "tests/app_dialogs/dialog_test_support.h"
#include "tests/cli/program_run.h"
#include "tests/support/temp_folder.h"

namespace orv {
namespace {

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
        EXPECT_EQ(std::pair(dialog.isVisible(), test::Child<QPushButton>(dialog, "cancel")->isEnabled()),
                  std::pair(true, false));
        // Under the bar: frames written of the total, and the time left.
        const QString count = test::Child<QLabel>(dialog, "frameCount")->text();
        EXPECT_TRUE(count.contains(QStringLiteral(" / 60000 フレーム　残り ")) &&
                    !count.startsWith(QStringLiteral("0 /")))
            << count.toStdString();
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
        test::Child<QComboBox>(dialog, "compression")->setCurrentIndex(2);
        test::Child<QSpinBox>(dialog, "threads")->setValue(3);
        for (const char* box : {"fixedSeed", "loop"}) test::Child<QCheckBox>(dialog, box)->setChecked(true);
        test::Fill(dialog, {{"seconds", QStringLiteral("1")},
                            {"seed", QStringLiteral("0")},  // a seed like any other
                            {"start", QStringLiteral("0.4")},
                            {"outputPath", dir_.filePath(QStringLiteral("editor/sub/f"))}});
        test::Confirm(dialog);
    });
    RunRenderCommand(nullptr, document_);
    // The seed is the effect's now, an edit that can be undone.
    EXPECT_EQ(effect_.Seed(), std::optional<std::uint64_t>(0));
    EXPECT_EQ(document_.UndoName(), std::u16string(step_name::kSeed));
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
        auto* compression = test::Child<QComboBox>(dialog, "compression");
        EXPECT_EQ(std::tuple(compression->currentIndex(), test::Child<QSpinBox>(dialog, "threads")->text(),
                             test::Child<QCheckBox>(dialog, "loop")->isChecked(),
                             test::Child<QLineEdit>(dialog, "start")->text()),
                  std::tuple(2, QStringLiteral("3"), true, QStringLiteral("0.4")));
        test::Child<QComboBox>(dialog, "format")->setCurrentIndex(4);
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
