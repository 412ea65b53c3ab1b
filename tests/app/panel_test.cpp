#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/number_input_dlg.h"
#include "app/number_text.h"
#include "app/param_dlg_view.h"
#include "engine/param_table.h"
#include "engine/simulation.h"
#include "tests/app/app_test_support.h"

namespace orv {
namespace {

using test::FakeClock;
using test::FakePrompts;

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApp();
        CurrentSettings() = Settings::Defaults();
        answers_ = std::make_shared<FakePrompts::Answers>();
        frame_ = std::make_unique<CMainFrame>(clock_.Clock(), std::make_unique<FakePrompts>(answers_));
    }

    CParamDlgView& Panel() { return frame_->Controller(); }
    template <typename T>
    T* Find(int id) {
        return Panel().findChild<T*>(QString::number(id));
    }
    QSlider* Slider(std::size_t row) { return Find<QSlider>(Param(row).sliderId); }
    QLabel* Label(std::size_t row) { return Find<QLabel>(Param(row).labelId); }
    Emitter& Current() { return *Panel().CurrentEmitter(); }

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

    test::SettingsGuard guard_;
    FakeClock clock_;
    std::shared_ptr<FakePrompts::Answers> answers_;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(PanelTest, EveryControlIsFoundByItsIdWithTheRowsRangeAndLabel) {
    for (std::size_t row = 0; row < kParamCount; ++row) {
        const ParamDescriptor& param = Param(row);
        QSlider* slider = Slider(row);
        QLabel* label = Label(row);
        ASSERT_NE(slider, nullptr) << row;
        ASSERT_NE(label, nullptr) << row;
        EXPECT_EQ(slider->minimum(), param.sliderMin) << row;
        EXPECT_EQ(slider->maximum(), param.sliderMax) << row;
        EXPECT_EQ(slider->value(), param.defaultPosition) << row;
        EXPECT_EQ(label->text(), QString::fromStdString(FormatParamLabel(row, param.DefaultRaw()))) << row;
        EXPECT_TRUE(slider->focusPolicy() & Qt::TabFocus) << row;
    }
    for (int id : {kIdTypeCombo, kIdBlendCombo, kIdSortCombo}) EXPECT_NE(Find<QComboBox>(id), nullptr) << id;
    for (int id : {kIdEnableColor, kIdColorConstant, kIdTextureDirection})
        EXPECT_NE(Find<QCheckBox>(id), nullptr);
    for (int id : {kIdMenuButton, kIdTextureButton, kIdResetButton})
        EXPECT_NE(Find<QPushButton>(id), nullptr);
    EXPECT_NE(Find<QListWidget>(kIdEmitterList), nullptr);

    EXPECT_EQ(Find<QGroupBox>(kIdGravityGroup)->title(), QStringLiteral("Gravity"));
    EXPECT_EQ(Find<QGroupBox>(kIdRadialGroup)->title(), QStringLiteral("Radial"));
    QStringList captions;
    for (const QGroupBox* group : Panel().findChildren<QGroupBox*>()) captions << group->title();
    for (const char* caption : {"パーティクル設定", "カラー", "背景色", "グループ"}) {
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
    }
    QStringList labels;
    for (const QLabel* label : Panel().findChildren<QLabel*>()) labels << label->text();
    for (const char* caption : {"初期カラー", "初期カラー振れ幅", "最終カラー", "最終カラー振れ幅"}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
    }

    QComboBox* sort = Find<QComboBox>(kIdSortCombo);
    ASSERT_EQ(sort->count(), 5);
    EXPECT_EQ(sort->itemText(2), QStringLiteral("生存時間 短手前"));
    EXPECT_EQ(Find<QComboBox>(kIdBlendCombo)->itemText(1), QStringLiteral("通常合成"));
    EXPECT_EQ(Find<QListWidget>(kIdEmitterList)->item(0)->text(), QStringLiteral("emitter 01"));
}

TEST_F(PanelTest, WholePanelFitsTheFixedPaneOfTheDefaultWindow) {
    EXPECT_EQ(frame_->PanelPane().width(), CMainFrame::kPanelWidth);
    const QSize needed = Panel().minimumSizeHint();
    EXPECT_LE(needed.width(), CMainFrame::kPanelWidth);
    EXPECT_LE(needed.height(), 768);
    frame_->resize(1000, 768);
    EXPECT_EQ(frame_->PanelPane().width(), CMainFrame::kPanelWidth);
}

TEST_F(PanelTest, TabVisitsEveryVisibleControlInReadingOrder) {
    QWidget* start = Slider(kMaxParticles);
    std::vector<QWidget*> visited;
    QWidget* widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(&Panel()) &&
            Panel().isAncestorOf(widget)) {
            visited.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != start && visited.size() < 200);
    ASSERT_GE(visited.size(), 3u);
    EXPECT_EQ(visited[1], Slider(kLifespan));
    EXPECT_EQ(visited[2], Slider(kLifespanVariance));
    // 55 sliders (the radial rows are hidden), 3 combo boxes, 3 check boxes, the list, 3 buttons.
    EXPECT_EQ(visited.size(), 55u + 3 + 3 + 1 + 3);
    EXPECT_EQ(visited.back(), Find<QPushButton>(kIdResetButton));
}

TEST_F(PanelTest, LifespanNumberInput) {
    auto dialog = Panel().MakeNumberInputDlg(kLifespan);
    EXPECT_EQ(dialog->Edit()->text(), QStringLiteral("2.0"));
    EXPECT_EQ(dialog->RangeLabel()->text(), QStringLiteral("入力範囲 : 0.0 ～ 100.0"));
    EXPECT_EQ(TypeNumber(kLifespan, QStringLiteral("3.75")), 37);
    EXPECT_EQ(TypeNumber(kLifespan, QStringLiteral("-1")), std::nullopt);

    Panel().ApplyNumberInput(kLifespan, 37);
    EXPECT_EQ(Slider(kLifespan)->value(), 37);
    EXPECT_EQ(Current().params.raw[kLifespan], 37);
    EXPECT_DOUBLE_EQ(Current().values.lifespan, 3.7);
    EXPECT_EQ(Label(kLifespan)->text(), QString::fromStdString(FormatParamLabel(kLifespan, 37)));
}

TEST_F(PanelTest, RotationSpeedNumberInputAcrossTheZeroOffset) {
    auto dialog = Panel().MakeNumberInputDlg(kRotPerSec);
    EXPECT_EQ(dialog->RangeLabel()->text(), QStringLiteral("入力範囲 : -1080.0 ～ 1080.0"));
    EXPECT_EQ(dialog->Edit()->text(), QStringLiteral("0.0"));
    const auto raw = TypeNumber(kRotPerSec, QStringLiteral("-90"));
    ASSERT_EQ(raw, -900);
    Panel().ApplyNumberInput(kRotPerSec, *raw);
    EXPECT_EQ(Slider(kRotPerSec)->value(), 9900);
    EXPECT_EQ(Current().params.raw[kRotPerSec], -900);
}

TEST_F(PanelTest, NumberParsingStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(TypeNumber(kMaxParticles, QStringLiteral("12abc")), 12);
    EXPECT_EQ(TypeNumber(kMaxParticles, QStringLiteral("abc")), std::nullopt) << "no digits read 0, below 1";
    EXPECT_EQ(TypeNumber(kMaxParticles, QStringLiteral("99999999999999999999")), std::nullopt);
    EXPECT_EQ(ParseRawNumber(u"1.2345", 3), 1234);
    EXPECT_EQ(ParseRawNumber(u"-.5", 2), -50);
    EXPECT_EQ(ParseRawNumber(u"", 1), 0);
}

TEST_F(PanelTest, NegativeValueBelowOneKeepsItsSignInTheDialog) {
    Panel().ApplyNumberInput(kXGravity, -5);
    EXPECT_EQ(Panel().MakeNumberInputDlg(kXGravity)->Edit()->text(), QStringLiteral("-0.5"));
    EXPECT_EQ(FormatRawNumber(-15, 1), u"-1.5");
    EXPECT_EQ(FormatRawNumber(300, 3), u"0.300");
}

TEST_F(PanelTest, ColourFlagsEnableTheirRows) {
    QCheckBox* enableColor = Find<QCheckBox>(kIdEnableColor);
    QCheckBox* colorConstant = Find<QCheckBox>(kIdColorConstant);
    enableColor->click();
    EXPECT_FALSE(Current().params.enableColor);
    for (std::size_t row :
         {kStartColorR, kStartColorG, kStartColorB, kFinishColorR, kStartColorRVar, kFinishColorBVar}) {
        EXPECT_FALSE(Slider(row)->isEnabled()) << row;
        EXPECT_FALSE(Label(row)->isEnabled()) << row;
    }
    for (std::size_t row : {kStartColorA, kFinishColorA, kStartColorAVar, kFinishColorAVar}) {
        EXPECT_TRUE(Slider(row)->isEnabled()) << row;
    }

    enableColor->click();
    colorConstant->click();
    EXPECT_TRUE(Current().params.colorConstant);
    for (std::size_t row :
         {kFinishColorR, kFinishColorG, kFinishColorB, kFinishColorRVar, kFinishColorGVar}) {
        EXPECT_FALSE(Slider(row)->isEnabled()) << row;
    }
    for (std::size_t row : {kStartColorR, kStartColorBVar, kFinishColorA})
        EXPECT_TRUE(Slider(row)->isEnabled());

    Find<QCheckBox>(kIdTextureDirection)->click();
    EXPECT_TRUE(Current().params.textureDirectionBefore);
    for (std::size_t row = kStartRot; row <= kRotPerSecVariance; ++row)
        EXPECT_FALSE(Slider(row)->isEnabled());
}

TEST_F(PanelTest, SelectingARadialEmitterShowsTheRadialGroup) {
    answers_->texts = {QStringLiteral("ring")};
    Panel().ExecuteCommand(kCmdAddEmitter);
    Find<QComboBox>(kIdTypeCombo)->setCurrentIndex(1);
    ASSERT_EQ(Panel().GetEffect().EmitterAt(1).params.type, kRadial);

    QListWidget* list = Find<QListWidget>(kIdEmitterList);
    list->setCurrentRow(0);
    EXPECT_FALSE(Find<QGroupBox>(kIdGravityGroup)->isHidden());
    EXPECT_TRUE(Find<QGroupBox>(kIdRadialGroup)->isHidden());

    list->setCurrentRow(1);
    EXPECT_EQ(Panel().CurrentEmitter(), &Panel().GetEffect().EmitterAt(1));
    EXPECT_TRUE(Find<QGroupBox>(kIdGravityGroup)->isHidden());
    EXPECT_FALSE(Find<QGroupBox>(kIdRadialGroup)->isHidden());
    EXPECT_EQ(Find<QComboBox>(kIdTypeCombo)->currentText(), QStringLiteral("Radial"));
}

TEST_F(PanelTest, ShowingAnEmitterKeepsSlidersForValuesBeyondTheirRange) {
    Emitter& emitter = Current();
    SetParam(emitter, kOffsetX, 1500);
    SetParam(emitter, kSpeed, 123);
    Panel().ShowEmitter(emitter);
    EXPECT_EQ(Slider(kOffsetX)->value(), Param(kOffsetX).defaultPosition);
    EXPECT_EQ(Slider(kSpeed)->value(), 123);
    EXPECT_EQ(emitter.params.raw[kOffsetX], 1500);
}

TEST_F(PanelTest, ResetReturnsEverySliderIncludingTheBackground) {
    Slider(kBgR)->setValue(500);
    Slider(kBgA)->setValue(1000);
    EXPECT_EQ(Panel().GetEffect().BackgroundRaw(kBgR), 500);
    Slider(kStartSize)->setValue(5);
    Find<QComboBox>(kIdBlendCombo)->setCurrentIndex(1);
    Find<QCheckBox>(kIdEnableColor)->click();

    Find<QPushButton>(kIdResetButton)->click();
    EXPECT_EQ(Slider(kBgR)->value(), 0);
    EXPECT_EQ(Slider(kBgA)->value(), 0);
    EXPECT_EQ(Panel().GetEffect().BackgroundRaw(kBgR), 0);
    EXPECT_EQ(Panel().GetEffect().BackgroundColour(), 0u);
    EXPECT_EQ(Current().params.raw[kStartSize], Param(kStartSize).DefaultRaw());
    EXPECT_EQ(Current().params.blendingMode, kAdditive);
    EXPECT_TRUE(Current().params.enableColor);
    EXPECT_TRUE(Slider(kStartColorR)->isEnabled());
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

TEST_F(PanelTest, TickSetsTheFrameRateTitleAndRearmsTheTimer) {
    EXPECT_TRUE(Panel().TimerActive());
    EXPECT_EQ(Panel().TimerInterval(), 16);
    Panel().OnTick();
    for (int tick = 0; tick < 100; ++tick) {
        clock_.Advance(16);
        Panel().OnTick();
    }
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("orv - MAX FPS 100000"));
    EXPECT_TRUE(Panel().TimerActive());
    EXPECT_GE(Panel().TimerInterval(), 1);
}

}  // namespace
}  // namespace orv
