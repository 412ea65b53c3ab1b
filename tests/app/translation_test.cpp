#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

#include "app/core_text.h"
#include "app/dialogs/option_dlg.h"
#include "app/dialogs/progress_dlg.h"
#include "app/dialogs/render_dlg.h"
#include "app/dialogs/texture_dlg.h"
#include "app/export_dlg.h"
#include "app/interface_translations.h"
#include "app/number_input_dlg.h"
#include "app/text_input_dlg.h"
#include "editor/step_names.h"
#include "effectfile/editor_message.h"
#include "tests/app/app_test_support.h"

// The English interface: every text the window shows is translated, the panel still fits its
// pane, labels keep their numbers, and the names it proposes do not depend on the language.
namespace orv {
namespace {

// Every text that `root` and the widgets inside it show: captions, labels, button and group
// texts, list items, special values, tool tips, accessible names and menu entries.
QStringList ShownTexts(QWidget& root) {
    QStringList texts;
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* widget : widgets) {
        for (const char* shown :
             {"windowTitle", "toolTip", "accessibleName", "text", "title", "specialValueText"})
            texts << widget->property(shown).toString();
        for (const QAction* action : widget->actions()) texts << action->text();
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            for (int item = 0; item < combo->count(); ++item) texts << combo->itemText(item);
    }
    texts.removeAll(QString());
    return texts;
}

// Kana, kanji or full-width forms: a Japanese text left untranslated.
const QRegularExpression kJapanese(
    QStringLiteral("[\\x{3000}-\\x{30FF}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));

// The numbers of a value label, in order ("-1.5", "2.0").
QStringList Numbers(const QString& label) {
    static const QRegularExpression number(QStringLiteral("-?[0-9]+(\\.[0-9]+)?"));
    QStringList numbers;
    for (auto it = number.globalMatch(label); it.hasNext();) numbers << it.next().captured();
    return numbers;
}

class EnglishInterfaceTest : public test::EditorTest {
protected:
    InterfaceTranslations english_{InterfaceLanguage::kEnglish};
};

// Every text of the panel, its menus and the dialogs, but for the language row, which names each
// language in its own words. Labels show the same numbers as the Japanese ones.
TEST_F(EnglishInterfaceTest, PanelMenusDialogsAndParameterNamesAreAllEnglish) {
    Find<QComboBox>(kIdTypeCombo)->setCurrentIndex(1);  // the undo entry names a step
    QStringList texts = ShownTexts(Panel()) + ShownTexts(*Panel().MakeMainMenu()) +
                        ShownTexts(*Panel().MakeListMenu()) + ShownTexts(*MakeSelectionMenu(nullptr));
    for (std::size_t row = 0; row < kParamCount; ++row) {
        texts << ParamNameText(row);
        for (const std::int32_t raw :
             {Param(row).MinRaw(), Param(row).MaxRaw(), Param(row).DefaultRaw(), -5, 1}) {
            texts << ParamLabelText(row, raw);
            EXPECT_EQ(Numbers(texts.back()), Numbers(QString::fromStdString(FormatParamLabel(row, raw))))
                << row << " " << raw;
        }
    }
    // Whether every text has its translation is the translations' own check; these come through
    // the core's texts at run time (a step's name is in the undo entry, a caption in CoreText's test).
    for (const char16_t* core : {step_name::kReset, step_name::kSeed, kReadErrorCaption})
        texts << CoreText(core);

    texts << ShownTexts(*std::make_unique<CExportDlg>(nullptr, true));
    texts << ShownTexts(*std::make_unique<CNumberInputDlg>(nullptr, QStringLiteral("5"), -10, 10, 1));
    texts << ShownTexts(*std::make_unique<CTextInputDlg>(nullptr, QString(), QStringLiteral("emitter 01")));
    texts << ShownTexts(*std::make_unique<COptionDlg>(OptionChoices{}, LanguageChoice::kAutomatic, true));
    texts << ShownTexts(*std::make_unique<CRenderDlg>(60));
    texts << ShownTexts(*std::make_unique<CTextureDlg>(TextureChoices{}));
    texts << ShownTexts(*std::make_unique<CProgressDlg>());
    texts.removeAll(QStringLiteral("日本語"));
    texts.removeAll(QStringLiteral("言語 / Language"));
    EXPECT_EQ(texts.filter(kJapanese), QStringList());

    // Names the list proposes are saved in the file: they do not depend on the language.
    prompts_->texts = {std::nullopt};
    Panel().ExecuteCommand(kCmdAddEmitter);
    EXPECT_EQ(prompts_->askedTexts, std::vector{QStringLiteral("emitter 02")});
}

// Qt's own texts (standard buttons, file dialogs) speak the interface's language too.
TEST(InterfaceTranslations, QtsOwnTextsFollowTheInterfaceLanguage) {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm")))
        GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
    for (const InterfaceLanguage language : {InterfaceLanguage::kJapanese, InterfaceLanguage::kEnglish}) {
        const InterfaceTranslations translations(language);
        const QString cancel =
            QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text();
        EXPECT_EQ(cancel.contains(kJapanese), language == InterfaceLanguage::kJapanese)
            << cancel.toStdString();
    }
}

// Every label of the panel shows its whole text, with every slider at either end, in English: its
// labels are the longer ones, most of them several times as many letters as the Japanese.
TEST_F(EnglishInterfaceTest, NoLabelIsClippedInThePane) {
    frame_->resize(1000, 768);
    frame_->show();
    for (const bool atMaximum : {false, true}) {
        for (std::size_t row = 0; row < kParamCount; ++row)
            Slider(row)->setValue(atMaximum ? Slider(row)->maximum() : Slider(row)->minimum());
        QCoreApplication::processEvents();
        const QSize least = Panel().minimumSizeHint();
        EXPECT_TRUE(least.width() <= CMainFrame::kPanelWidth && least.height() <= 768) << least.width();
        EXPECT_EQ(frame_->PanelPane().width(), CMainFrame::kPanelWidth);
        for (QWidget* widget : Panel().findChildren<QWidget*>()) {
            const bool text = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget);
            if (!widget->isVisible() || !text) continue;
            EXPECT_GE(widget->width(), widget->sizeHint().width())
                << ShownTexts(*widget).join(u'|').toStdString()
                << (atMaximum ? " at maximum" : " at minimum");
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

// (Without translations the texts pass as they are: the editor's messages and labels show it.)
TEST(CoreText, TranslatesTheSentenceKeepsTheDetailLinesAndRefusesFormatsWithOtherConversions) {
    const InterfaceTranslations english(InterfaceLanguage::kEnglish);
    EXPECT_EQ(CoreText(u"出力先フォルダを作成できません。\n/tmp/out\n(Permission denied)"),
              QStringLiteral("The output folder cannot be created.\n/tmp/out\n(Permission denied)"));
    EXPECT_EQ(CoreText(kWriteErrorCaption), QStringLiteral("Write error"));
    // Texts that are not the editor's own (a system's reason) pass as they are.
    EXPECT_EQ(CoreText(u"write error: disk full"), QStringLiteral("write error: disk full"));

    BrokenFormatTranslator broken;  // asked before the English one
    QCoreApplication::installTranslator(&broken);
    EXPECT_EQ(ParamLabelText(kLifespan, 25), QString::fromStdString(FormatParamLabel(kLifespan, 25)));
    QCoreApplication::removeTranslator(&broken);
}

}  // namespace
}  // namespace orv
