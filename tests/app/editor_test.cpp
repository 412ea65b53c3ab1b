#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/number_input_dlg.h"
#include "app/orv_view.h"
#include "app/popup_menus.h"
#include "editor/number_text.h"
#include "editor/selection_commands.h"
#include "effectfile/effect_writer.h"
#include "engine/simulation.h"
#include "image/png_writer.h"
#include "render/frame_composition.h"
#include "tests/app/app_test_support.h"

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
        if (refused || dialog->result() != QDialog::Accepted) return std::nullopt;
        return dialog->Result();
    }
    void Select(PreviewPoint start, PreviewPoint end, int command) {
        frame_->View().SetSelection(start, end);
        frame_->View().ExecuteSelectionCommand(command);
    }
};

TEST_F(PanelTest, EveryControlByItsIdFittingThePaneInTabOrder) {
    for (std::size_t row = 0; row < kParamCount; ++row) {
        ASSERT_TRUE(Slider(row) && Label(row)) << row;
        EXPECT_EQ(std::tuple(Slider(row)->minimum(), Slider(row)->maximum(), Slider(row)->value()),
                  std::tuple(Param(row).sliderMin, Param(row).sliderMax, Param(row).defaultPosition))
            << row;
    }
    // The choices are listed in value order.
    ASSERT_EQ(Find<QComboBox>(kIdSortCombo)->count(), 5);
    EXPECT_EQ(Find<QComboBox>(kIdSortCombo)->itemText(2), QStringLiteral("生存時間 短手前"));
    EXPECT_EQ(Find<QComboBox>(kIdBlendCombo)->itemText(1), QStringLiteral("通常合成"));

    // All of it fits the fixed pane of the default window.
    EXPECT_LE(Panel().minimumSizeHint().width(), CMainFrame::kPanelWidth);
    EXPECT_LE(Panel().minimumSizeHint().height(), 768);
    frame_->resize(1000, 768);
    EXPECT_EQ(frame_->PanelPane().width(), CMainFrame::kPanelWidth);

    // Tab visits every visible control in reading order.
    std::vector<QWidget*> visited;
    QWidget* widget = Slider(kMaxParticles);
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(&Panel()) &&
            Panel().isAncestorOf(widget))
            visited.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != Slider(kMaxParticles) && visited.size() < 200);
    ASSERT_GE(visited.size(), 3u);
    EXPECT_EQ(visited[1], Slider(kLifespan));
    EXPECT_EQ(visited[2], Slider(kLifespanVariance));
    // 55 sliders (the radial rows are hidden), 3 combo boxes, 3 check boxes, the list, 3 buttons.
    EXPECT_EQ(visited.size(), 55u + 3 + 3 + 1 + 3);
    EXPECT_EQ(visited.back(), Find<QPushButton>(kIdResetButton));
}

TEST_F(PanelTest, NumberInputRangesAndParsing) {
    auto lifespan = Panel().MakeNumberInputDlg(kLifespan);
    EXPECT_EQ(lifespan->Edit()->text(), QStringLiteral("2.0"));
    EXPECT_EQ(lifespan->RangeLabel()->text(), QStringLiteral("入力範囲 : 0.0 ～ 100.0"));
    EXPECT_EQ(TypeNumber(kLifespan, QStringLiteral("3.75")), 37);
    EXPECT_EQ(TypeNumber(kLifespan, QStringLiteral("-1")), std::nullopt);
    Panel().ApplyNumberInput(kLifespan, 37);
    EXPECT_EQ(std::pair(Slider(kLifespan)->value(), Current().params.raw[kLifespan]), std::pair(37, 37));
    EXPECT_DOUBLE_EQ(Current().values.lifespan, 3.7);

    // Across the zero offset of the rotation speed.
    auto rotation = Panel().MakeNumberInputDlg(kRotPerSec);
    EXPECT_EQ(rotation->RangeLabel()->text(), QStringLiteral("入力範囲 : -1080.0 ～ 1080.0"));
    EXPECT_EQ(rotation->Edit()->text(), QStringLiteral("0.0"));
    ASSERT_EQ(TypeNumber(kRotPerSec, QStringLiteral("-90")), -900);
    Panel().ApplyNumberInput(kRotPerSec, -900);
    EXPECT_EQ(std::pair(Slider(kRotPerSec)->value(), Current().params.raw[kRotPerSec]),
              std::pair(9900, -900));

    // Parsing stops at the first other character.
    EXPECT_EQ(TypeNumber(kMaxParticles, QStringLiteral("12abc")), 12);
    EXPECT_EQ(TypeNumber(kMaxParticles, QStringLiteral("abc")), std::nullopt) << "no digits read 0, below 1";
    EXPECT_EQ(TypeNumber(kMaxParticles, QStringLiteral("99999999999999999999")), std::nullopt);
    EXPECT_EQ(ParseRawNumber(u"-.5", 2), -50);

    // A negative value below one keeps its sign.
    Panel().ApplyNumberInput(kXGravity, -5);
    EXPECT_EQ(Panel().MakeNumberInputDlg(kXGravity)->Edit()->text(), QStringLiteral("-0.5"));
}

TEST_F(PanelTest, ColourFlagsEnableTheirRows) {
    const auto expectEnabled = [this](std::initializer_list<std::size_t> rows, bool enabled) {
        for (std::size_t row : rows) {
            EXPECT_EQ(Slider(row)->isEnabled(), enabled) << row;
            EXPECT_EQ(Label(row)->isEnabled(), enabled) << row;
        }
    };
    Find<QCheckBox>(kIdEnableColor)->click();
    EXPECT_FALSE(Current().params.enableColor);
    expectEnabled(
        {kStartColorR, kStartColorG, kStartColorB, kFinishColorR, kStartColorRVar, kFinishColorBVar}, false);
    expectEnabled({kStartColorA, kFinishColorA, kStartColorAVar, kFinishColorAVar}, true);

    Find<QCheckBox>(kIdEnableColor)->click();
    Find<QCheckBox>(kIdColorConstant)->click();
    EXPECT_TRUE(Current().params.colorConstant);
    expectEnabled({kFinishColorR, kFinishColorG, kFinishColorB, kFinishColorRVar, kFinishColorGVar}, false);
    expectEnabled({kStartColorR, kStartColorBVar, kFinishColorA}, true);

    Find<QCheckBox>(kIdTextureDirection)->click();
    EXPECT_TRUE(Current().params.textureDirectionBefore);
    for (std::size_t row = kStartRot; row <= kRotPerSecVariance; ++row)
        EXPECT_FALSE(Slider(row)->isEnabled());
}

TEST_F(PanelTest, SelectingARadialEmitterShowsTheRadialGroup) {
    prompts_->texts = {QStringLiteral("ring")};
    Panel().ExecuteCommand(kCmdAddEmitter);
    Find<QComboBox>(kIdTypeCombo)->setCurrentIndex(1);
    ASSERT_EQ(TheEffect().EmitterAt(1).params.type, kRadial);

    List()->setCurrentRow(0);
    EXPECT_FALSE(Find<QGroupBox>(kIdGravityGroup)->isHidden());
    EXPECT_TRUE(Find<QGroupBox>(kIdRadialGroup)->isHidden());
    List()->setCurrentRow(1);
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(1));
    EXPECT_TRUE(Find<QGroupBox>(kIdGravityGroup)->isHidden());
    EXPECT_FALSE(Find<QGroupBox>(kIdRadialGroup)->isHidden());
    EXPECT_EQ(Find<QComboBox>(kIdTypeCombo)->currentText(), QStringLiteral("Radial"));
}

TEST_F(PanelTest, ValuesBeyondTheSliderRangeSurviveDoubleClickAndShowing) {
    Panel().SetEmitterPosition(1500, -30);
    EXPECT_EQ(Raws({kOffsetX, kOffsetY}), (std::vector{1500, -30}));
    // The x slider cannot follow.
    EXPECT_EQ(SliderValues({kOffsetX, kOffsetY}), (std::vector{Param(kOffsetX).defaultPosition, 970}));
    EXPECT_DOUBLE_EQ(Current().runtime.originX, 1500.0);

    SetParam(Current(), kSpeed, 123);
    Panel().ShowEmitter(Current());
    EXPECT_EQ(SliderValues({kOffsetX, kSpeed}), (std::vector{Param(kOffsetX).defaultPosition, 123}));
    EXPECT_EQ(Current().params.raw[kOffsetX], 1500);

    const std::int32_t before = Current().params.raw[kStartSize];
    Select({-600, 0}, {600, 10}, kCmdSelectionToStartSize);
    EXPECT_EQ(Current().params.raw[kStartSize], before) << "a selection beyond the slider leaves the row";
}

TEST_F(PanelTest, ResetReturnsEverySliderIncludingTheBackground) {
    Slider(kBgR)->setValue(500);
    Slider(kBgA)->setValue(1000);
    EXPECT_EQ(TheEffect().BackgroundRaw(kBgR), 500);
    Slider(kStartSize)->setValue(5);
    Find<QComboBox>(kIdBlendCombo)->setCurrentIndex(1);
    Find<QCheckBox>(kIdEnableColor)->click();

    // What the values return to is the document's test; the widgets show it.
    Find<QPushButton>(kIdResetButton)->click();
    EXPECT_EQ(SliderValues({kBgR, kBgA, kStartSize}), (std::vector{0, 0, Param(kStartSize).defaultPosition}));
    EXPECT_EQ(TheEffect().BackgroundColour(), 0u);
    EXPECT_EQ(Find<QComboBox>(kIdBlendCombo)->currentIndex(), 0);
    EXPECT_TRUE(Find<QCheckBox>(kIdEnableColor)->isChecked() && Slider(kStartColorR)->isEnabled());
    EXPECT_EQ(Label(kBgR)->text(), QStringLiteral("R : 0.000"));
}

TEST_F(PanelTest, MovingTheDurationSliderStopsEmissionUntilTheParticlesDied) {
    Emitter& emitter = Current();
    SetParam(emitter, kLifespanVariance, 0);  // every particle lives exactly 2.0 s
    Panel().OnTick();                         // starts the timing
    clock_.Advance(500);
    Panel().OnTick();
    const std::int32_t alive = emitter.runtime.liveCount;
    ASSERT_GT(alive, 0);

    Slider(kDuration)->setValue(100);  // 1.00 s
    EXPECT_EQ(emitter.runtime.remainingDuration, 0.0);
    clock_.Advance(500);
    Panel().OnTick();
    EXPECT_EQ(emitter.runtime.liveCount, alive) << "no particle is born while the old ones live";

    // All particles die 2.0 s after their birth; then the emitter is re-armed with 1.00 s.
    for (int tick = 0; tick < 20 && emitter.runtime.remainingDuration == 0.0; ++tick) {
        clock_.Advance(100);
        Panel().OnTick();
    }
    EXPECT_GT(emitter.runtime.remainingDuration, 0.0);
    EXPECT_LE(emitter.runtime.remainingDuration, 1.0);
    clock_.Advance(100);
    Panel().OnTick();
    EXPECT_GT(emitter.runtime.liveCount, 0);
}

TEST_F(PanelTest, SelectionCommands) {
    Select({-50, -20}, {30, 40}, kCmdSelectionToEmission);
    EXPECT_EQ(Raws({kOffsetX, kOffsetY, kXVariance, kYVariance}), (std::vector{-10, 10, 400, 300}));
    EXPECT_DOUBLE_EQ(Current().values.xVariance, 40.0);  // pixels
    EXPECT_EQ(SliderValues({kOffsetX, kXVariance}), (std::vector{990, 400}));

    Select({5, 5}, {5, 5}, kCmdSelectionToStartSize);
    EXPECT_EQ(Current().params.raw[kStartSize], 0) << "a click without a drag selects width 0";
    Select({100, 0}, {-20, 70}, kCmdSelectionToFinishSize);
    EXPECT_EQ(Current().params.raw[kFinishSize], 1200);
    Select({100, 0}, {-20, 70}, kCmdSelectionToAmplitudes);
    EXPECT_EQ(Raws({kHorAmplitude, kVerAmplitude}), (std::vector{1200, 700}));
    EXPECT_EQ(Slider(kHorAmplitude)->value(), 6200) << "plus the zero offset";
    Select({0, 0}, {3, 9}, kCmdSelectionToHorAmplitude);
    EXPECT_EQ(Raws({kHorAmplitude, kVerAmplitude}), (std::vector{30, 700}));
    Select({0, 0}, {3, 9}, kCmdSelectionToVerAmplitude);
    EXPECT_EQ(Current().params.raw[kVerAmplitude], 90);
}

TEST_F(PanelTest, ViewCentresTheFrameOnGreyAndMovesTheEmitterOnDoubleClick) {
    frame_->resize(1366, 768);
    frame_->show();
    ClearFrame(*frame_->PreviewBuffer(), 0xFF123456u, false);
    CurrentSettings().screenWidth = 200;
    CurrentSettings().screenHeight = 100;
    frame_->ResizePreview();
    FrameBuffer& preview = *frame_->PreviewBuffer();
    ASSERT_EQ(preview.Width(), 200u);
    EXPECT_EQ(preview.At(0, 0), 0u) << "a resized buffer starts cleared";
    ClearFrame(preview, 0xFF123456u, false);
    COrvView& view = frame_->View();
    const QSize client = view.viewport()->size();
    ASSERT_TRUE(client.width() > 200 && client.height() > 100);
    QImage shown(client, QImage::Format_RGB32);
    view.viewport()->render(&shown);  // paints the view as the window system would show it
    const int left = client.width() / 2 - 100;
    const int top = client.height() / 2 - 50;
    for (const QImage* image : {&view.Surface(), static_cast<const QImage*>(&shown)}) {
        EXPECT_EQ(image->pixel(left, top), 0xFF123456u);
        EXPECT_EQ(image->pixel(left + 199, top + 99), 0xFF123456u);
        EXPECT_EQ(image->pixel(left - 1, top), 0xFF808080u);
        EXPECT_EQ(image->pixel(left + 200, top + 99), 0xFF808080u);
        EXPECT_EQ(image->pixel(left, top + 100), 0xFF808080u);
    }
    EXPECT_EQ(view.Centred(QPoint(client.width() / 2, client.height() / 2)), (PreviewPoint{0, 0}));

    const QPoint point(client.width() / 2 + 37, client.height() / 2 - 21);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(Raws({kOffsetX, kOffsetY}), (std::vector{37, -21}));
    EXPECT_EQ(Slider(kOffsetX)->value(), 1037);

    // A client wider than the frame: the frame is centred, its centre maps to (0, 0).
    EXPECT_EQ(CentredPoint(500, 300, 0, 0, 1000, 600, 800, 600), (PreviewPoint{0, 0}));
    // A client smaller than the frame, scrolled.
    EXPECT_EQ(CentredPoint(10, 20, 100, 50, 566, 400, 800, 600), (PreviewPoint{-290, -230}));
}

using Names = std::vector<QString>;

class EditorCommandsTest : public test::EditorTest {
protected:
    QString PathOf(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    void AddEmitters(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            prompts_->texts.push_back(QString::fromLatin1(name));
            Panel().ExecuteCommand(kCmdAddEmitter);
        }
    }
    void Run(int command, std::optional<QString> path) {
        prompts_->paths = {std::move(path)};
        Panel().ExecuteCommand(command);
    }

    // An effect file with emitters of the given names and a background red of `bgRed`.
    QString WriteEffectFile(const char* file, std::initializer_list<const char*> names, std::int32_t bgRed) {
        Effect effect;
        effect.RemoveAllEmitters();
        for (const char* name : names) effect.AddEmitter(ToU16(QString::fromLatin1(name)));
        effect.SetBackgroundRaw(kBgR, bgRed);
        EXPECT_FALSE(SaveEffect(effect, ToU16(PathOf(file))));
        return PathOf(file);
    }
    QString WritePng(const char* file, std::uint32_t colour) {
        Texture picture;
        picture.colour.emplace(4, 4);
        ClearFrame(*picture.colour, colour, false);
        EXPECT_TRUE(SavePng(ToU16(PathOf(file)), picture));
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

    QTemporaryDir dir_;
};

TEST_F(EditorCommandsTest, AddProposesTheNextNumberAndRenameTakesTheHighlightedEmitter) {
    AddEmitters({"b", "c"});
    prompts_->texts = {std::nullopt, QString()};  // cancelled, then an empty name
    for (int i = 0; i < 2; ++i) Panel().ExecuteCommand(kCmdAddEmitter);
    ASSERT_EQ(prompts_->askedTexts.size(), 4u);
    EXPECT_EQ(prompts_->askedTexts[2], QStringLiteral("emitter 04"));
    EXPECT_EQ(ListTexts(), (Names{"emitter 01", "b", "c"}));
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(2)) << "the added emitter becomes current";
    EXPECT_EQ(List()->currentRow(), 2);

    prompts_->texts = {QStringLiteral("smoke")};
    List()->setCurrentRow(0);
    Panel().ExecuteCommand(kCmdRenameEmitter);
    EXPECT_EQ(prompts_->askedTexts.back(), QStringLiteral("emitter 01"));
    EXPECT_EQ(ListTexts(), (Names{"smoke", "b", "c"}));
    EXPECT_EQ(List()->currentRow(), 0);
    Panel().ExecuteCommand(kCmdRenameEmitter);
    EXPECT_EQ(prompts_->askedTexts.back(), QStringLiteral("smoke"));
}

TEST_F(EditorCommandsTest, DeleteKeepsOneEmitterAndTheListMenuGreysIt) {
    EXPECT_FALSE(FindCommand(*Panel().MakeListMenu(), kCmdDeleteEmitter)->isEnabled());
    AddEmitters({"b", "c"});
    EXPECT_TRUE(FindCommand(*Panel().MakeListMenu(), kCmdDeleteEmitter)->isEnabled());
    List()->clearSelection();
    EXPECT_TRUE(FindCommand(*Panel().MakeListMenu(), kCmdDeleteEmitter)->isEnabled());

    List()->setCurrentRow(2);
    Panel().ExecuteCommand(kCmdDeleteEmitter);
    EXPECT_EQ(ListTexts(), (Names{"emitter 01", "b"}));
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(0));
    EXPECT_EQ(List()->currentRow(), 0);
    Panel().ExecuteCommand(kCmdDeleteEmitter);
    Panel().ExecuteCommand(kCmdDeleteEmitter);
    EXPECT_EQ(ListTexts(), (Names{"b"}));
    EXPECT_EQ(Panel().CurrentEmitter(), &TheEffect().EmitterAt(0));
    EXPECT_FALSE(FindCommand(*Panel().MakeListMenu(), kCmdDeleteEmitter)->isEnabled());
}

TEST_F(EditorCommandsTest, MoveUpAndDownStopAtTheEndsAndKeepTheMovedEmitterHighlighted) {
    AddEmitters({"b", "c"});
    List()->setCurrentRow(0);
    Emitter* current = Panel().CurrentEmitter();
    Panel().ExecuteCommand(kCmdMoveEmitterDown);
    EXPECT_EQ(ListTexts(), (Names{"b", "emitter 01", "c"}));
    EXPECT_EQ(List()->currentRow(), 1);
    EXPECT_EQ(List()->selectedItems().size(), 1);
    EXPECT_EQ(Panel().CurrentEmitter(), current);

    Panel().ExecuteCommand(kCmdMoveEmitterUp);
    EXPECT_EQ(ListTexts(), (Names{"emitter 01", "b", "c"}));
}

TEST_F(EditorCommandsTest, SaveWithoutPathDoesNothingAndSaveAsSetsIt) {
    Panel().ExecuteCommand(kCmdSave);
    EXPECT_EQ(prompts_->pathQuestions, 0);
    EXPECT_TRUE(Panel().CurrentFilePath().empty());

    const QString path = PathOf("saved.orv");
    Run(kCmdSaveAs, path);
    EXPECT_EQ(prompts_->proposedSaves.back(), QStringLiteral("untitled.orv")) << "not the hidden \".orv\"";
    EXPECT_EQ(ToQString(Panel().CurrentFilePath()), path);
    EXPECT_TRUE(QFile::exists(path));

    Run(kCmdSaveAs, std::nullopt);
    EXPECT_EQ(prompts_->proposedSaves.back(), path);
    EXPECT_EQ(ToQString(Panel().CurrentFilePath()), path) << "cancelling keeps the path";
    Run(kCmdSaveAs, PathOf("missing/folder/x.orv"));
    EXPECT_EQ(prompts_->captions, Names{QStringLiteral("書き込みエラー")});

    Panel().ExecuteCommand(kCmdNew);
    Run(kCmdSaveAs, std::nullopt);
    EXPECT_EQ(prompts_->proposedSaves.back(), PathOf("missing/folder/untitled.orv")) << "the folder last used";
}

TEST_F(EditorCommandsTest, OpenReplacesMergeAppendsAndNewKeepsTheBackground) {
    const QString a = WriteEffectFile("a.orv", {"a1", "a2"}, 250);
    const QString b = WriteEffectFile("b.orv", {"b1"}, 500);
    Run(kCmdOpen, a);
    EXPECT_EQ(ListTexts(), (Names{"a1", "a2"}));
    EXPECT_EQ(ToQString(Panel().CurrentFilePath()), a);
    EXPECT_EQ(Slider(kBgR)->value(), 250);
    EXPECT_TRUE(Panel().TimerActive());

    Run(kCmdMergeLoad, b);
    EXPECT_EQ(ListTexts(), (Names{"a1", "a2", "b1"}));
    EXPECT_EQ(Slider(kBgR)->value(), 500) << "the background comes from the loaded file";

    Panel().ExecuteCommand(kCmdNew);
    EXPECT_EQ(ListTexts(), (Names{"emitter 01"}));
    EXPECT_EQ(Slider(kBgR)->value(), 500) << "the background stays";
}

TEST_F(EditorCommandsTest, DropHandlesOnlyTheFirstFile) {
    const QString first = WriteEffectFile("first.ORV", {"f1", "f2"}, 0);
    const QString second = WriteEffectFile("second.orv", {"s1"}, 0);
    Drop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second), QUrl::fromLocalFile(PathOf("x.png"))});
    EXPECT_EQ(ListTexts(), (Names{"f1", "f2"}));
    EXPECT_EQ(ToQString(Panel().CurrentFilePath()), first);

    // A picture becomes the current emitter's texture.
    Panel().ExecuteCommand(kCmdNew);
    const QString png = WritePng("tex.png", 0xFF336699u);
    AddEmitters({"b"});
    Drop({QUrl::fromLocalFile(png), QUrl::fromLocalFile(second)});
    EXPECT_EQ(TheEffect().EmitterAt(1).texture.FileName(), ToU16(png));
    EXPECT_EQ(TheEffect().EmitterAt(0).texture.Image(), nullptr);
    EXPECT_TRUE(Panel().CurrentFilePath().empty());
}

TEST_F(EditorCommandsTest, EngineFilesOpenMergeAndDropWithOneReportAndBrokenFilesChangeNothing) {
    const QString good = WriteEffectFile("good.orv", {"g"}, 0);
    Run(kCmdOpen, good);
    const auto write = [this](const char* name, const char* text) {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return PathOf(name);
    };
    Run(kCmdOpen, write("broken.orv", "{ \"emitters\": [ "));
    EXPECT_EQ(prompts_->captions, Names{QStringLiteral("読込みエラー")});
    EXPECT_EQ(ToQString(Panel().CurrentFilePath()), good) << "a later save must not overwrite the broken file";
    EXPECT_EQ(ListTexts(), (Names{"g"}));
    const QString plist = write("rain.plist",
                                "<plist><dict><key>configName</key><string>rain</string>"
                                "<key>maxParticles</key><real>9000</real><key>emissionRate</key><real>77</real>"
                                "</dict></plist>");
    const QString pex = write("exact.pex", "<particleEmitterConfig><maxParticles value=\"50\"/><duration value=\"-1\"/>"
                                              "<blendFuncSource value=\"770\"/><blendFuncDestination value=\"1\"/>"
                                              "</particleEmitterConfig>");

    Run(kCmdMergeLoad, plist);
    EXPECT_EQ(ListTexts(), (Names{"g", "rain"}));
    // One message lists what the mapping could not carry over; the .orv stays the current file.
    ASSERT_EQ(prompts_->captions, (Names{QStringLiteral("読込みエラー"), QStringLiteral("インポート")}));
    EXPECT_TRUE(prompts_->messages.back().contains(QStringLiteral("maxParticles 9000")));
    EXPECT_TRUE(prompts_->messages.back().contains(QStringLiteral("emissionRate 77")));
    EXPECT_EQ(ToQString(Panel().CurrentFilePath()), good);

    // An exact file shows nothing, replaces the effect and is not the file Save writes to.
    Drop({QUrl::fromLocalFile(pex)});
    EXPECT_EQ(ListTexts(), (Names{"exact"}));
    EXPECT_EQ(prompts_->captions.size(), 2u);
    EXPECT_TRUE(Panel().CurrentFilePath().empty());
    EXPECT_EQ(Current().params.raw[kMaxParticles], 50);

    // A broken file leaves the effect as it was.
    Run(kCmdOpen, write("broken.pex", "<particleEmitterConfig><speed value="));
    EXPECT_EQ(prompts_->captions.back(), QStringLiteral("読込みエラー"));
    EXPECT_EQ(ListTexts(), (Names{"exact"}));
}

TEST_F(EditorCommandsTest, ExportWritesTheCurrentOrEveryEmitter) {
    AddEmitters({"b"});
    prompts_->exportChoice = ExportChoice{false, false};
    Run(kCmdExport, PathOf("one.pex"));
    EXPECT_TRUE(QFile::exists(PathOf("one.pex")));
    EXPECT_EQ(prompts_->proposedSaves.back(), QStringLiteral("effect.plist"));

    prompts_->exportChoice = ExportChoice{true, true};
    Run(kCmdExport, PathOf("fx.plist"));
    EXPECT_TRUE(QFile::exists(PathOf("fx-emitter 01.plist")));
    EXPECT_TRUE(QFile::exists(PathOf("fx-b.plist")));
    EXPECT_FALSE(QFile::exists(PathOf("fx.plist")));

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
    Run(kCmdSetBackgroundImage, WritePng("bg.png", 0xFF00FF00u));
    ASSERT_NE(Panel().BackgroundImage(), nullptr);
    FrameBuffer& preview = *frame_->PreviewBuffer();
    EXPECT_EQ(preview.At(0, 0), 0xFF00FF00u) << "the background is redrawn at once";

    Panel().ExecuteCommand(kCmdReleaseBackgroundImage);
    EXPECT_EQ(Panel().BackgroundImage(), nullptr);
    EXPECT_EQ(preview.At(0, 0), TheEffect().BackgroundColour());
}

}  // namespace
}  // namespace orv
