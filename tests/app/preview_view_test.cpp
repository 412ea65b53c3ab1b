#include <gtest/gtest.h>

#include <QSlider>
#include <QTest>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/orv_view.h"
#include "app/param_dlg_view.h"
#include "app/selection_commands.h"
#include "engine/param_table.h"
#include "tests/app/app_test_support.h"

namespace orv {
namespace {

using test::FakePrompts;

class PreviewViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApp();
        CurrentSettings() = Settings::Defaults();
        frame_ = std::make_unique<CMainFrame>(
            test::FakeClock{}.Clock(),
            std::make_unique<FakePrompts>(std::make_shared<FakePrompts::Answers>()));
    }

    CParamDlgView& Panel() { return frame_->Controller(); }
    COrvView& View() { return frame_->View(); }
    Emitter& Current() { return *Panel().CurrentEmitter(); }
    QSlider* Slider(std::size_t row) {
        return Panel().findChild<QSlider*>(QString::number(Param(row).sliderId));
    }
    void Select(PreviewPoint start, PreviewPoint end, int command) {
        View().SetSelection(start, end);
        View().ExecuteSelectionCommand(command);
    }

    test::SettingsGuard guard_;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(PreviewViewTest, SelectionToEmissionArea) {
    Select({-50, -20}, {30, 40}, kCmdSelectionToEmission);
    EXPECT_EQ(Current().params.raw[kOffsetX], -10);
    EXPECT_EQ(Current().params.raw[kOffsetY], 10);
    EXPECT_EQ(Current().params.raw[kXVariance], 400);  // 40.0 pixels
    EXPECT_EQ(Current().params.raw[kYVariance], 300);
    EXPECT_DOUBLE_EQ(Current().values.xVariance, 40.0);
    EXPECT_EQ(Slider(kOffsetX)->value(), 990);
    EXPECT_EQ(Slider(kXVariance)->value(), 400);
}

TEST_F(PreviewViewTest, SelectionSizesAndAmplitudes) {
    Select({5, 5}, {5, 5}, kCmdSelectionToStartSize);
    EXPECT_EQ(Current().params.raw[kStartSize], 0) << "a click without a drag selects width 0";

    Select({100, 0}, {-20, 70}, kCmdSelectionToFinishSize);
    EXPECT_EQ(Current().params.raw[kFinishSize], 1200);
    Select({100, 0}, {-20, 70}, kCmdSelectionToAmplitudes);
    EXPECT_EQ(Current().params.raw[kHorAmplitude], 1200);
    EXPECT_EQ(Current().params.raw[kVerAmplitude], 700);
    EXPECT_EQ(Slider(kHorAmplitude)->value(), 6200) << "plus the zero offset";
    Select({0, 0}, {3, 9}, kCmdSelectionToHorAmplitude);
    EXPECT_EQ(Current().params.raw[kHorAmplitude], 30);
    EXPECT_EQ(Current().params.raw[kVerAmplitude], 700);
    Select({0, 0}, {3, 9}, kCmdSelectionToVerAmplitude);
    EXPECT_EQ(Current().params.raw[kVerAmplitude], 90);
}

TEST_F(PreviewViewTest, SelectionBeyondTheSliderLeavesTheParameter) {
    const std::int32_t before = Current().params.raw[kStartSize];
    Select({-600, 0}, {600, 10}, kCmdSelectionToStartSize);
    EXPECT_EQ(Current().params.raw[kStartSize], before);
}

TEST_F(PreviewViewTest, DoubleClickPositionBeyondTheSliderRange) {
    Panel().SetEmitterPosition(1500, -30);
    EXPECT_EQ(Current().params.raw[kOffsetX], 1500);
    EXPECT_EQ(Current().params.raw[kOffsetY], -30);
    EXPECT_EQ(Slider(kOffsetX)->value(), Param(kOffsetX).defaultPosition) << "the slider cannot follow";
    EXPECT_EQ(Slider(kOffsetY)->value(), 970);
    EXPECT_DOUBLE_EQ(Current().runtime.originX, 1500.0);
}

TEST_F(PreviewViewTest, DoubleClickMovesTheEmitterToTheClickedPoint) {
    frame_->show();
    const QSize client = View().viewport()->size();
    const QPoint point(client.width() / 2 + 37, client.height() / 2 - 21);
    const PreviewPoint expected = View().Centred(point);
    QTest::mouseDClick(View().viewport(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(Current().params.raw[kOffsetX], expected.x);
    EXPECT_EQ(Current().params.raw[kOffsetY], expected.y);
    EXPECT_EQ(Slider(kOffsetX)->value(), expected.x + 1000);
}

TEST(PreviewCoordinates, CentredOnTheFrameWithinTheLargerOfFrameAndClient) {
    // A client wider than the frame: the frame is centred, its centre maps to (0, 0).
    EXPECT_EQ(CentredPoint(500, 300, 0, 0, 1000, 600, 800, 600), (PreviewPoint{0, 0}));
    // A client smaller than the frame, scrolled.
    EXPECT_EQ(CentredPoint(10, 20, 100, 50, 566, 400, 800, 600), (PreviewPoint{-290, -230}));
}

TEST_F(PreviewViewTest, PaintCentresTheFrameOnGrey) {
    frame_->resize(1366, 768);
    frame_->show();
    FrameBuffer* preview = frame_->PreviewBuffer();
    ASSERT_NE(preview, nullptr);
    for (std::uint32_t y = 0; y < preview->Height(); ++y) {
        for (std::uint32_t x = 0; x < preview->Width(); ++x) preview->At(x, y) = 0xFF123456u;
    }
    CurrentSettings().screenWidth = 200;
    CurrentSettings().screenHeight = 100;
    frame_->ResizePreview();
    ASSERT_EQ(frame_->PreviewBuffer()->Width(), 200u);
    EXPECT_EQ(frame_->PreviewBuffer()->At(0, 0), 0u) << "a resized buffer starts cleared";
    for (std::uint32_t y = 0; y < 100; ++y) {
        for (std::uint32_t x = 0; x < 200; ++x) frame_->PreviewBuffer()->At(x, y) = 0xFF123456u;
    }
    const QSize client = View().viewport()->size();
    ASSERT_GT(client.width(), 200);
    ASSERT_GT(client.height(), 100);
    QImage shown(client, QImage::Format_RGB32);
    View().viewport()->render(&shown);  // paints the view as the window system would show it
    const int left = client.width() / 2 - 100;
    const int top = client.height() / 2 - 50;
    for (const QImage* image : std::initializer_list<const QImage*>{&View().Surface(), &shown}) {
        EXPECT_EQ(image->pixel(left, top), 0xFF123456u);
        EXPECT_EQ(image->pixel(left + 199, top + 99), 0xFF123456u);
        EXPECT_EQ(image->pixel(left - 1, top), 0xFF808080u);
        EXPECT_EQ(image->pixel(left + 200, top + 99), 0xFF808080u);
        EXPECT_EQ(image->pixel(left, top + 100), 0xFF808080u);
    }
    EXPECT_EQ(View().Centred(QPoint(client.width() / 2, client.height() / 2)), (PreviewPoint{0, 0}));
}

}  // namespace
}  // namespace orv
