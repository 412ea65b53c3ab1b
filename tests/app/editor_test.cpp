#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/number_input_dlg.h"
#include "editor/selection_commands.h"
#include "image/png_writer.h"
#include "render/frame_composition.h"
#include "tests/app/app_test_support.h"
#include "tests/support/temp_folder.h"

// The panel's rules, the preview view and the editor's commands, driven through the window.
namespace orv {
namespace {

class PanelTest : public test::EditorTest {
protected:
    // Runs the number dialog of a row on typed text: the accepted raw value, or nothing when the
    // dialog refused it.
    std::optional<std::int32_t> TypeNumber(std::size_t row, const QString& text) {
        auto dialog = Panel().MakeNumberInputDlg(row);
        bool refused = false;
        dialog->SetRefusalHandler([&refused] { refused = true; });
        dialog->Edit()->setText(text);
        dialog->accept();
        return refused || dialog->result() != QDialog::Accepted ? std::nullopt
                                                                : std::optional(dialog->Result());
    }
};

TEST_F(PanelTest, EveryControlByItsIdInTabOrder) {
    // (Every row's slider is found by its id in the clipping test.) Tab visits every visible control in
    // reading order (the fit is the clipping test's).
    std::vector<QWidget*> visited;
    QWidget* widget = Slider(kMaxParticles);
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(&Panel()) &&
            Panel().isAncestorOf(widget))
            visited.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != Slider(kMaxParticles) && visited.size() < 200);
    // 55 sliders (the radial rows are hidden), 3 combo boxes, 3 check boxes, the list, 3 buttons.
    ASSERT_EQ(visited.size(), 55u + 3 + 3 + 1 + 3);
    EXPECT_EQ(std::tuple(visited[1], visited[2], visited.back()),
              std::tuple(Slider(kLifespan), Slider(kLifespanVariance), Find<QPushButton>(kIdResetButton)));
}

TEST_F(PanelTest, NumberInputRangesAndParsing) {
    // The range shown, here across the zero offset of the rotation speed; parsing stops at the first
    // other character, and no digits read 0.
    EXPECT_EQ(Panel().MakeNumberInputDlg(kRotPerSec)->RangeLabel()->text(),
              QStringLiteral("入力範囲 : -1080.0 ～ 1080.0"));
    using Typed = std::tuple<std::size_t, const char*, std::optional<std::int32_t>>;
    for (const auto& [row, text, raw] :
         {Typed{kLifespan, "3.75", 37}, Typed{kLifespan, "-1", std::nullopt}, Typed{kRotPerSec, "-90", -900},
          Typed{kMaxParticles, "12abc", 12}, Typed{kMaxParticles, "abc", std::nullopt},
          Typed{kMaxParticles, "99999999999999999999", std::nullopt}, Typed{kXGravity, "-.5", -5}})
        EXPECT_EQ(TypeNumber(row, QString::fromLatin1(text)), raw) << text;

    Panel().ApplyNumberInput(kRotPerSec, -900);
    EXPECT_EQ(std::pair(Slider(kRotPerSec)->value(), Current().params.raw[kRotPerSec]),
              std::pair(9900, -900));
    EXPECT_EQ(Panel().MakeNumberInputDlg(kRotPerSec)->Edit()->text(), QStringLiteral("-90.0"));
}

TEST_F(PanelTest, ColourFlagsEnableTheirRows) {
    struct Case {
        int box;
        std::vector<std::size_t> disabled, enabled;
    };
    // Rows at either end of those each flag greys, and rows beside them that it leaves.
    for (const Case& c :
         {Case{kIdEnableColor, {kStartColorR, kFinishColorBVar}, {kStartColorA, kFinishColorAVar}},
          Case{kIdColorConstant, {kFinishColorR, kFinishColorRVar}, {kStartColorBVar, kFinishColorA}},
          Case{kIdTextureDirection, {kStartRot, kRotPerSecVariance}, {kSpeed}}}) {
        Find<QCheckBox>(c.box)->click();
        for (std::size_t row : c.disabled)
            EXPECT_FALSE(Slider(row)->isEnabled() || Label(row)->isEnabled()) << row;
        for (std::size_t row : c.enabled)
            EXPECT_TRUE(Slider(row)->isEnabled() && Label(row)->isEnabled()) << row;
        Find<QCheckBox>(c.box)->click();
    }
    EXPECT_TRUE(Current().params.enableColor && !Current().params.colorConstant);
}

TEST_F(PanelTest, SelectingARadialEmitterShowsTheRadialGroup) {
    AddEmitters({"ring"});
    Find<QComboBox>(kIdTypeCombo)->setCurrentIndex(1);
    ASSERT_EQ(TheEffect().EmitterAt(1).params.type, kRadial);

    // Back to the gravity emitter and again to the radial one: the groups and the type follow.
    for (const int row : {0, 1}) {
        List()->setCurrentRow(row);
        EXPECT_EQ(std::tuple(Find<QGroupBox>(kIdGravityGroup)->isHidden(),
                             Find<QGroupBox>(kIdRadialGroup)->isHidden(),
                             Find<QComboBox>(kIdTypeCombo)->currentIndex()),
                  std::tuple(row == 1, row == 0, row));
    }
}

TEST_F(PanelTest, ValuesBeyondTheSliderRangeSurviveDoubleClickAndShowing) {
    Panel().SetEmitterPosition(1500, -30);
    SetParam(Current(), kSpeed, 123);
    Panel().ShowEmitter(Current());
    EXPECT_EQ(Raws({kOffsetX, kOffsetY}), (std::vector{1500, -30}));
    // The x slider cannot follow (the double click shows the sliders following the position).
    EXPECT_EQ(SliderValues({kOffsetX, kOffsetY, kSpeed}),
              (std::vector{Param(kOffsetX).defaultPosition, 970, 123}));
}

TEST_F(PanelTest, ResetReturnsEverySliderIncludingTheBackground) {
    Slider(kBgR)->setValue(500);
    Slider(kStartSize)->setValue(5);
    Find<QComboBox>(kIdBlendCombo)->setCurrentIndex(1);
    Find<QCheckBox>(kIdEnableColor)->click();
    // What the values return to is the document's test; the widgets show it.
    Find<QPushButton>(kIdResetButton)->click();
    EXPECT_EQ(std::tuple(SliderValues({kBgR, kStartSize}), Find<QComboBox>(kIdBlendCombo)->currentIndex(),
                         Find<QCheckBox>(kIdEnableColor)->isChecked(), Slider(kStartColorR)->isEnabled()),
              std::tuple(std::vector{0, Param(kStartSize).defaultPosition}, 0, true, true));
}

// Widths and heights of the selection in tenths of a pixel; a click without a drag selects width
// 0, a selection wider than the slider leaves the row; amplitudes' sliders carry a zero offset.
TEST_F(PanelTest, SelectionCommands) {
    struct Case {
        PreviewPoint start, end;
        int command;
        std::vector<std::size_t> rows;
        std::vector<std::int32_t> raws;
    };
    const std::vector<std::size_t> emission{kOffsetX, kOffsetY, kXVariance, kYVariance};
    for (const Case& c :
         {Case{{-50, -20}, {30, 40}, kCmdSelectionToEmission, emission, {-10, 10, 400, 300}},
          Case{{-600, 0}, {600, 10}, kCmdSelectionToStartSize, {kStartSize}, {700}},  // too wide: left alone
          Case{{5, 5}, {5, 5}, kCmdSelectionToStartSize, {kStartSize}, {0}},
          Case{{100, 0}, {-20, 70}, kCmdSelectionToFinishSize, {kFinishSize}, {1200}},
          Case{{100, 0}, {-20, 70}, kCmdSelectionToAmplitudes, {kHorAmplitude, kVerAmplitude}, {1200, 700}},
          Case{{0, 0}, {3, 9}, kCmdSelectionToHorAmplitude, {kHorAmplitude, kVerAmplitude}, {30, 700}},
          Case{{0, 0}, {3, 9}, kCmdSelectionToVerAmplitude, {kVerAmplitude}, {90}}}) {
        frame_->View().SetSelection(c.start, c.end);
        frame_->View().ExecuteSelectionCommand(c.command);
        EXPECT_EQ(Raws(c.rows), c.raws) << c.command;
    }
    EXPECT_EQ(SliderValues({kOffsetX, kXVariance, kHorAmplitude}), (std::vector{990, 400, 5030}));
}

TEST_F(PanelTest, ViewCentresTheFrameOnGreyAndMovesTheEmitterOnDoubleClick) {
    frame_->resize(1366, 768);
    frame_->show();
    ClearFrame(*frame_->PreviewBuffer(), 0xFF123456u, false);
    CurrentSettings().screenWidth = 200;
    CurrentSettings().screenHeight = 100;
    frame_->ResizePreview();
    FrameBuffer& preview = *frame_->PreviewBuffer();
    EXPECT_EQ(preview.At(0, 0), 0u) << "a resized buffer starts cleared";
    ClearFrame(preview, 0xFF123456u, false);
    COrvView& view = frame_->View();
    const QSize client = view.viewport()->size();
    ASSERT_TRUE(client.width() > 200 && client.height() > 100);
    QImage shown(client, QImage::Format_RGB32);
    view.viewport()->render(&shown);  // paints the view as the window system would show it
    const int left = client.width() / 2 - 100, top = client.height() / 2 - 50;
    // The frame's corners, then grey just left of, right of and below it. (The view paints its
    // surface: what is shown covers it.)
    EXPECT_EQ(
        (std::vector{shown.pixel(left, top), shown.pixel(left + 199, top + 99), shown.pixel(left - 1, top),
                     shown.pixel(left + 200, top + 99), shown.pixel(left, top + 100)}),
        (std::vector<QRgb>{0xFF123456u, 0xFF123456u, 0xFF808080u, 0xFF808080u, 0xFF808080u}));

    const QPoint point(client.width() / 2 + 37, client.height() / 2 - 21);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(Raws({kOffsetX, kOffsetY}), (std::vector{37, -21}));
    EXPECT_EQ(Slider(kOffsetX)->value(), 1037);

    // A client smaller than the frame, scrolled.
    EXPECT_EQ(CentredPoint(10, 20, 100, 50, 566, 400, 800, 600), (PreviewPoint{-290, -230}));
}

using Names = std::vector<QString>;
using Shown = std::pair<Names, int>;

class EditorCommandsTest : public test::EditorTest {
protected:
    QString WriteText(const char* file, const std::string& text) {
        test::WriteFileBytes(PathOf(file).toStdString(), text);
        return PathOf(file);
    }

    void Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame_.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame_.get(), &drop);
    }
};

// The list edits themselves are the document's tests; here the list follows, with the edited
// emitter highlighted and current (a move is the highlight's test).
TEST_F(EditorCommandsTest, ListCommandsKeepTheEditedEmitterHighlightedAndTheMenuGreysDelete) {
    const auto canDelete = [this] {
        return FindCommand(*Panel().MakeListMenu(), kCmdDeleteEmitter)->isEnabled();
    };
    // (Refusing an empty name or the last emitter's deletion is the document's test.)
    prompts_->texts = {QStringLiteral("b"), QStringLiteral("c"), std::nullopt};
    for (int i = 0; i < 3; ++i) Panel().ExecuteCommand(kCmdAddEmitter);  // the last one cancelled
    EXPECT_EQ(prompts_->askedTexts.at(2), QStringLiteral("emitter 04"));
    EXPECT_EQ(ListShown(), (Shown{{"emitter 01", "b", "c"}, 2}));
    List()->clearSelection();
    EXPECT_TRUE(canDelete());

    prompts_->texts = {QStringLiteral("smoke")};
    List()->setCurrentRow(0);
    Panel().ExecuteCommand(kCmdRenameEmitter);
    EXPECT_EQ(prompts_->askedTexts.back(), QStringLiteral("emitter 01"));

    List()->setCurrentRow(2);
    Panel().ExecuteCommand(kCmdDeleteEmitter);
    EXPECT_EQ(ListShown(), (Shown{{"smoke", "b"}, 0}));
    Panel().ExecuteCommand(kCmdDeleteEmitter);
    EXPECT_EQ(std::pair(ListTexts(), canDelete()), std::pair(Names{"b"}, false));
}

// (Save without a current file does nothing: the document's test.)
TEST_F(EditorCommandsTest, SaveAsProposesANameAndSetsThePath) {
    const QString path = PathOf("saved.orv");
    Run(kCmdSaveAs, path);
    // The name proposed and the current file. (That the file is written is the unsaved changes' test.)
    const auto saving = [this] {
        return std::pair(prompts_->proposedSaves.back(), ToQString(Panel().CurrentFilePath()));
    };
    EXPECT_EQ(saving(), std::pair(QStringLiteral("untitled.orv"), path)) << "not the hidden \".orv\"";
    Run(kCmdSaveAs, std::nullopt);
    EXPECT_EQ(saving(), std::pair(path, path)) << "cancelling keeps the path";
    Run(kCmdSaveAs, PathOf("missing/folder/x.orv"));
    EXPECT_EQ(prompts_->captions, Names{QStringLiteral("書き込みエラー")});

    Panel().ExecuteCommand(kCmdNew);
    Run(kCmdSaveAs, std::nullopt);
    EXPECT_EQ(prompts_->proposedSaves.back(), PathOf("missing/folder/untitled.orv"))
        << "the folder last used";
}

// What opening, merging and New do to the document, and what the mapping of an engine file carries
// over and reports, are their own tests; here the list and the sliders follow, a drop opens only
// its first file and a dropped picture is the current emitter's texture.
TEST_F(EditorCommandsTest, OpenMergeNewAndDropShowTheirEffectAndEngineFilesReportOnce) {
    const QString a = WriteText("a.ORV", R"({"bg_r": 0.25, "emitter": [{"name": "a1"}, {"name": "a2"}]})");
    const QString b = WriteText("b.orv", R"({"bg_r": 0.5, "emitter": [{"name": "b1"}]})");
    Run(kCmdOpen, a);
    EXPECT_EQ(std::tuple(ListTexts(), Slider(kBgR)->value(), Panel().TimerActive()),
              std::tuple(Names{"a1", "a2"}, 250, true));
    Run(kCmdOpen, WriteText("broken.orv", "{ \"emitters\": [ "));
    // (That a failed open keeps the current file is the document's test.)
    EXPECT_EQ(prompts_->captions, Names{QStringLiteral("読込みエラー")});
    Run(kCmdMergeLoad, b);

    // One message lists what the mapping could not carry over; the .orv stays the current file.
    Run(kCmdMergeLoad, WriteText("rain.plist",
                                 "<plist><dict><key>configName</key><string>rain</string>"
                                 "<key>maxParticles</key><real>9000</real></dict></plist>"));
    EXPECT_EQ(ListTexts(), (Names{"a1", "a2", "b1", "rain"}));
    ASSERT_EQ(prompts_->captions, (Names{QStringLiteral("読込みエラー"), QStringLiteral("インポート")}));
    EXPECT_TRUE(prompts_->messages.back().contains(QStringLiteral("maxParticles 9000")));
    EXPECT_EQ(ToQString(Panel().CurrentFilePath()), b) << "the file merged last";

    Drop({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b), QUrl::fromLocalFile(PathOf("x.png"))});
    EXPECT_EQ(std::pair(ListTexts(), ToQString(Panel().CurrentFilePath())), std::pair(Names{"a1", "a2"}, a));
    // An exact engine file shows nothing, replaces the effect and is not the file Save writes to.
    Drop({QUrl::fromLocalFile(WriteText("exact.pex",
                                        "<particleEmitterConfig><maxParticles value=\"50\"/>"
                                        "<duration value=\"-1\"/><blendFuncSource value=\"770\"/>"
                                        "<blendFuncDestination value=\"1\"/></particleEmitterConfig>"))});
    EXPECT_EQ(std::tuple(ListTexts(), prompts_->captions.size(), Panel().CurrentFilePath()),
              std::tuple(Names{"exact"}, 2u, std::u16string()));

    Panel().ExecuteCommand(kCmdNew);
    const QString png = QStringLiteral(ORV_SOURCE_DIR "/examples/textures/flame.png");
    AddEmitters({"b"});
    Drop({QUrl::fromLocalFile(png), QUrl::fromLocalFile(b)});
    EXPECT_EQ(ListTexts(), (Names{"emitter 01", "b"}));
    EXPECT_EQ(TheEffect().EmitterAt(1).texture.FileName(), ToU16(png));
    EXPECT_EQ(TheEffect().EmitterAt(0).texture.Image(), nullptr);
}

TEST_F(EditorCommandsTest, ExportWritesTheCurrentOrEveryEmitter) {
    AddEmitters({"b"});
    prompts_->exportChoice = ExportChoice{false, false};
    Run(kCmdExport, PathOf("one.pex"));
    prompts_->exportChoice = ExportChoice{true, true};
    Run(kCmdExport, PathOf("fx.plist"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files),
              (QStringList{"fx-b.plist", "fx-emitter 01.plist", "one.pex"}));

    prompts_->exportChoice = std::nullopt;  // cancelled: no file question
    const int questions = prompts_->pathQuestions;
    Panel().ExecuteCommand(kCmdExport);
    EXPECT_EQ(prompts_->pathQuestions, questions);
    prompts_->exportChoice = ExportChoice{};
    Run(kCmdExport, PathOf("missing/folder/x.plist"));
    EXPECT_EQ(prompts_->captions.back(), QStringLiteral("書き込みエラー"));
}

TEST_F(EditorCommandsTest, BackgroundImageCommands) {
    Run(kCmdSetBackgroundImage, PathOf("not-there.png"));
    EXPECT_EQ(Panel().BackgroundImage(), nullptr);
    // The preview is redrawn at once, with the picture and again without it.
    Texture picture;
    picture.colour.emplace(4, 4);
    ClearFrame(*picture.colour, 0xFF00FF00u, false);
    ASSERT_TRUE(SavePng(ToU16(PathOf("bg.png")), picture));
    Run(kCmdSetBackgroundImage, PathOf("bg.png"));
    FrameBuffer& preview = *frame_->PreviewBuffer();
    EXPECT_EQ(preview.At(0, 0), 0xFF00FF00u);
    Panel().ExecuteCommand(kCmdReleaseBackgroundImage);
    EXPECT_EQ(preview.At(0, 0), TheEffect().BackgroundColour());
}

}  // namespace
}  // namespace orv
