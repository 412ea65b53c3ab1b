#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>

#include "app/core_text.h"
#include "app/export_dlg.h"
#include "app/interface_translations.h"
#include "app/number_input_dlg.h"
#include "app/popup_menus.h"
#include "app/text_input_dlg.h"
#include "editor/step_names.h"
#include "effectfile/editor_message.h"
#include "tests/app/app_test_support.h"
#include "tests/app_dialogs/shown_texts.h"

// The English interface: every text the window shows is translated, the panel still fits its
// pane, labels keep their numbers, and what is saved does not depend on the language.
namespace orv {
namespace {

using test::JapaneseAmong;
using test::MenuTexts;
using test::ShownTexts;

class EnglishInterfaceTest : public test::EditorTest {
protected:
    InterfaceTranslations english_{InterfaceLanguage::kEnglish};
};

TEST_F(EnglishInterfaceTest, PanelMenusAndParameterNamesAreAllEnglish) {
    ASSERT_EQ(ActiveInterfaceLanguage(), InterfaceLanguage::kEnglish);
    EXPECT_EQ(JapaneseAmong(ShownTexts(Panel())), QStringList());
    EXPECT_EQ(Find<QPushButton>(kIdMenuButton)->text(), QStringLiteral("Menu"));
    EXPECT_EQ(Label(kLifespan)->text(), QStringLiteral("Lifespan :  2.0 s"));

    Find<QComboBox>(kIdTypeCombo)->setCurrentIndex(1);  // an undo step with a name
    const auto mainMenu = Panel().MakeMainMenu();
    EXPECT_EQ(FindCommand(*mainMenu, kCmdUndo)->text(), QStringLiteral("Undo : Emitter type"));
    QStringList texts =
        MenuTexts(*mainMenu) + MenuTexts(*Panel().MakeListMenu()) + MenuTexts(*MakeSelectionMenu(nullptr));
    for (std::size_t row = 0; row < kParamCount; ++row) texts << ParamNameText(row) << ParamLabelText(row, 0);
    for (const char16_t* step : {step_name::kType,
                                 step_name::kBlend,
                                 step_name::kSort,
                                 step_name::kEnableColor,
                                 step_name::kColorConstant,
                                 step_name::kTextureDirection,
                                 step_name::kTexture,
                                 step_name::kDroppedTexture,
                                 step_name::kAdd,
                                 step_name::kDelete,
                                 step_name::kRename,
                                 step_name::kMoveUp,
                                 step_name::kMoveDown,
                                 step_name::kPosition,
                                 step_name::kReset,
                                 step_name::kMergeLoad,
                                 step_name::kSetBackgroundImage,
                                 step_name::kReleaseBackgroundImage,
                                 kReadErrorCaption,
                                 kWriteErrorCaption}) {
        texts << CoreText(step);
    }
    EXPECT_EQ(JapaneseAmong(texts), QStringList());
}

TEST_F(EnglishInterfaceTest, TheEditorsOwnDialogsAreEnglish) {
    CExportDlg exportDlg(nullptr, true);
    CNumberInputDlg numberDlg(nullptr, QStringLiteral("5"), -10, 10, 1);
    CTextInputDlg textDlg(nullptr, QString(), QStringLiteral("emitter 01"));
    for (QWidget* dialog : std::initializer_list<QWidget*>{&exportDlg, &numberDlg, &textDlg}) {
        EXPECT_EQ(JapaneseAmong(ShownTexts(*dialog)), QStringList()) << dialog->metaObject()->className();
    }
    EXPECT_EQ(numberDlg.findChild<QLabel*>(QString::number(kIdNumberRange))->text(),
              QStringLiteral("Range : -1.0 to 1.0"));
}

// Every label of the panel shows its whole text, with every slider at either end, in both
// languages: the English words are longer than the Japanese ones.
TEST_F(EnglishInterfaceTest, NoLabelIsClippedInThePane) {
    frame_->resize(1000, 768);
    frame_->show();
    for (const bool atMaximum : {false, true}) {
        for (std::size_t row = 0; row < kParamCount; ++row) {
            Slider(row)->setValue(atMaximum ? Slider(row)->maximum() : Slider(row)->minimum());
        }
        QCoreApplication::processEvents();
        EXPECT_LE(Panel().minimumSizeHint().width(), CMainFrame::kPanelWidth);
        for (QWidget* widget : Panel().findChildren<QWidget*>()) {
            if (!widget->isVisible()) continue;
            if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QAbstractButton*>(widget)) continue;
            EXPECT_GE(widget->width(), widget->sizeHint().width())
                << ShownTexts(*widget).join(u'|').toStdString()
                << (atMaximum ? " at maximum" : " at minimum");
        }
    }
}

// The numbers of a value label, in order ("-1.5", "2.0").
QStringList Numbers(const QString& label) {
    static const QRegularExpression number(QStringLiteral("-?[0-9]+(\\.[0-9]+)?"));
    QStringList numbers;
    for (auto it = number.globalMatch(label); it.hasNext();) numbers << it.next().captured();
    return numbers;
}

TEST_F(EnglishInterfaceTest, LabelsShowTheSameNumbersAsTheJapaneseOnes) {
    for (std::size_t row = 0; row < kParamCount; ++row) {
        const ParamDescriptor& param = Param(row);
        for (const std::int32_t raw : {param.MinRaw(), param.MaxRaw(), param.DefaultRaw(), -5, 1}) {
            const QString japanese = QString::fromStdString(FormatParamLabel(row, raw));
            EXPECT_EQ(Numbers(ParamLabelText(row, raw)), Numbers(japanese)) << japanese.toStdString();
        }
    }
}

// A translation whose format has other conversions than the code's would make printf read
// arguments that are not there.
class BrokenFormatTranslator final : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override {
        return QString::fromUtf8(source) == QString::fromUtf8(Param(kLifespan).format)
                   ? QStringLiteral("%s%s %n")
                   : QString();
    }
};

TEST(CoreText, AFormatWithOtherConversionsFallsBackToTheCodesOwn) {
    BrokenFormatTranslator broken;
    QCoreApplication::installTranslator(&broken);
    EXPECT_EQ(ParamLabelText(kLifespan, 25), QString::fromStdString(FormatParamLabel(kLifespan, 25)));
    QCoreApplication::removeTranslator(&broken);
}

TEST(CoreText, TranslatesTheSentenceAndKeepsTheDetailLinesWhereTranslationsAreLoaded) {
    EXPECT_EQ(ActiveInterfaceLanguage(), InterfaceLanguage::kJapanese);
    EXPECT_EQ(CoreText(kWriteErrorCaption), QStringLiteral("書き込みエラー"));
    EXPECT_EQ(ParamLabelText(kMaxParticles, 100), QStringLiteral("最大個数 :   100個"));

    const InterfaceTranslations english(InterfaceLanguage::kEnglish);
    EXPECT_EQ(CoreText(u"出力先フォルダを作成できません。\n/tmp/out\n(Permission denied)"),
              QStringLiteral("The output folder cannot be created.\n/tmp/out\n(Permission denied)"));
    EXPECT_EQ(CoreText(kWriteErrorCaption), QStringLiteral("Write error"));
    // Texts that are not the editor's own (a system's reason) pass as they are.
    EXPECT_EQ(CoreText(u"write error: disk full"), QStringLiteral("write error: disk full"));
}

// The same edits saved from each interface: the files are the same byte for byte, default emitter
// names included.
QByteArray SavedAfterEdits(InterfaceLanguage language, const QString& path) {
    const InterfaceTranslations translations(language);
    test::FakeClock clock;
    auto prompts = std::make_unique<test::FakePrompts>();
    test::FakePrompts& answers = *prompts;
    CMainFrame frame(clock.Clock(), std::move(prompts));
    CParamDlgView& panel = frame.Controller();
    answers.texts = {std::nullopt};
    panel.ExecuteCommand(kCmdAddEmitter);  // cancelled: only the proposed name is wanted
    answers.texts = {answers.askedTexts.at(0)};
    panel.ExecuteCommand(kCmdAddEmitter);
    panel.findChild<QComboBox*>(QString::number(kIdBlendCombo))->setCurrentIndex(1);
    panel.findChild<QComboBox*>(QString::number(kIdSortCombo))->setCurrentIndex(3);
    answers.paths = {path};
    panel.ExecuteCommand(kCmdSaveAs);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(SavedFiles, DoNotDependOnTheInterfaceLanguage) {
    const test::SettingsGuard guard;
    CurrentSettings() = Settings::Defaults();
    QTemporaryDir dir;
    const QByteArray japanese =
        SavedAfterEdits(InterfaceLanguage::kJapanese, dir.filePath(QStringLiteral("ja.orv")));
    const QByteArray english =
        SavedAfterEdits(InterfaceLanguage::kEnglish, dir.filePath(QStringLiteral("en.orv")));
    EXPECT_TRUE(japanese.contains("\"emitter 02\"")) << japanese.toStdString();
    EXPECT_EQ(english, japanese);
}

}  // namespace
}  // namespace orv
