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

TEST(RenderDialog, RefusesShortLengthsAndAMissingPathThenHandsOverTheChoices) {
    RecordingRenderDlg dialog(60);
    auto* seconds = Child<QLineEdit>(dialog, "seconds");
    auto* path = Child<QLineEdit>(dialog, "outputPath");
    path->setText(QStringLiteral("/tmp/out/fire.png"));
    for (const char* text : {"0", "abc", "-2"}) {
        seconds->setText(QString::fromLatin1(text));
        dialog.accept();
    }
    seconds->setText(QStringLiteral("2"));
    path->clear();
    dialog.accept();
    const QString tooShort = QStringLiteral("出力時間が短すぎます。");
    EXPECT_EQ(dialog.refusals,
              (QStringList{tooShort, tooShort, tooShort, QStringLiteral("出力先が指定されていません。")}));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(seconds->text(), QStringLiteral("2")) << "the entered values are still there to correct";

    path->setText(QStringLiteral("/tmp/out/fire.png"));
    Child<QComboBox>(dialog, "frameRate")->setCurrentIndex(3);
    dialog.accept();
    EXPECT_EQ(dialog.refusals.size(), 4);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Seconds(), 2);
    EXPECT_EQ(dialog.FramesPerSecond(), 15u);
    EXPECT_EQ(dialog.OutputBasePath(), u"/tmp/out/fire.png");
}

}  // namespace
}  // namespace orv
