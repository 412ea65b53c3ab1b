#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/qt_text.h"
#include "app/dialogs/render_dlg.h"
#include "app/dialogs/render_input.h"
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

TEST(RenderSecondsText, ReadsTheNumberTheFirstNineCharactersStartWith) {
    EXPECT_EQ(ParseRenderSeconds(u"10"), 10);
    EXPECT_EQ(ParseRenderSeconds(u"2.5"), 2);
    EXPECT_EQ(ParseRenderSeconds(u"abc"), 0);
    EXPECT_EQ(ParseRenderSeconds(u""), 0);
    EXPECT_EQ(ParseRenderSeconds(u"-3"), -3);
    EXPECT_EQ(ParseRenderSeconds(u"1234567890"), 123456789);
    EXPECT_EQ(ParseRenderSeconds(u"-999999999"), -99999999);
}

TEST(RenderInputRefusalTest, LengthFirstThenPath) {
    EXPECT_EQ(RenderInputRefusal(0, u""), u"出力時間が短すぎます。");
    EXPECT_EQ(RenderInputRefusal(-1, u"/tmp/x.png"), u"出力時間が短すぎます。");
    EXPECT_EQ(RenderInputRefusal(1, u""), u"出力先が指定されていません。");
    EXPECT_FALSE(RenderInputRefusal(1, u"/tmp/x.png"));
}

TEST(OutputFolder, AFileInTheWayIsReported) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("taken")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto refusal = PrepareOutputFolder(ToU16(dir.filePath(QStringLiteral("taken/fire.png"))));
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(ToQString(*refusal).startsWith(QStringLiteral("出力先フォルダを作成できません。")));
}

TEST(RenderDialog, OpensAtTheSettingsRateAndTenSeconds) {
    CRenderDlg dialog(30);
    EXPECT_EQ(Child<QComboBox>(dialog, "frameRate")->currentText(), QStringLiteral("30 FPS"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "seconds")->text(), QStringLiteral("10"));
    EXPECT_TRUE(Child<QLineEdit>(dialog, "outputPath")->text().isEmpty());
    CRenderDlg other(25);
    EXPECT_EQ(Child<QComboBox>(other, "frameRate")->currentText(), QStringLiteral("60 FPS"));
}

TEST(RenderDialog, RefusesShortLengthsAndAMissingPathAndStaysOpen) {
    RecordingRenderDlg dialog(60);
    auto* seconds = Child<QLineEdit>(dialog, "seconds");
    auto* path = Child<QLineEdit>(dialog, "outputPath");
    path->setText(QStringLiteral("/tmp/out/fire.png"));
    for (const QString& text : {QStringLiteral("0"), QStringLiteral("abc"), QStringLiteral("-2")}) {
        seconds->setText(text);
        dialog.accept();
    }
    seconds->setText(QStringLiteral("2"));
    path->clear();
    dialog.accept();
    EXPECT_EQ(dialog.refusals,
              (QStringList{QStringLiteral("出力時間が短すぎます。"), QStringLiteral("出力時間が短すぎます。"),
                           QStringLiteral("出力時間が短すぎます。"),
                           QStringLiteral("出力先が指定されていません。")}));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    // The entered values are still there to correct.
    EXPECT_EQ(seconds->text(), QStringLiteral("2"));
}

TEST(RenderDialog, ConfirmHandsOverLengthPathAndRate) {
    RecordingRenderDlg dialog(60);
    Child<QLineEdit>(dialog, "seconds")->setText(QStringLiteral("2"));
    Child<QLineEdit>(dialog, "outputPath")->setText(QStringLiteral("/tmp/out/fire.png"));
    Child<QComboBox>(dialog, "frameRate")->setCurrentIndex(3);
    dialog.accept();
    EXPECT_TRUE(dialog.refusals.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Seconds(), 2);
    EXPECT_EQ(dialog.FramesPerSecond(), 15u);
    EXPECT_EQ(dialog.OutputBasePath(), u"/tmp/out/fire.png");
}

}  // namespace
}  // namespace orv
