#include <QDoubleSpinBox>
#include <QToolButton>

#include "app/preview_transport_bar.h"
#include "tests/app/app_test_support.h"

// The transport bar under the preview, driven through the window: its buttons and keys, the seek,
// the paused preview's redraw after an edit and the seed as a step of the document.
namespace orv {
namespace {

class TransportBarTest : public test::EditorTest {
protected:
    template <typename T>
    T* Bar(const char* name) {
        return frame_->TransportBar().findChild<T*>(QString::fromLatin1(name));
    }
    const PreviewTransport& Transport() { return Panel().Transport(); }
    QString TimeText() { return Bar<QDoubleSpinBox>("seekTime")->text(); }
};

// (Where the bar sits is seen at once on the screen.)
TEST_F(TransportBarTest, TheBarShowsTheTimeSinceTheRestartSeeksAndEditsShowWhilePaused) {
    ShowActive();
    Ticks(1);  // the window's own timer may have started the timing already
    Bar<QToolButton>("restart")->click();
    Ticks(25, 20);
    // The slider follows the time, in frames of 1 / 60 s.
    EXPECT_EQ(std::pair(TimeText(), Bar<QSlider>("seekSlider")->value()),
              std::pair(QStringLiteral("0.50 秒"), 30));

    // Seeking pauses at that time. (Speeds, how a seek is held to the length and what it simulates
    // are the transport's tests.)
    QDoubleSpinBox* seekTime = Bar<QDoubleSpinBox>("seekTime");
    seekTime->setValue(2.5);
    EXPECT_EQ(std::pair(Transport().Playing(), Bar<QSlider>("seekSlider")->value()), std::pair(false, 150));
    Bar<QSlider>("seekSlider")->setValue(60);
    EXPECT_EQ(TimeText(), QStringLiteral("1.00 秒"));
    Bar<QDoubleSpinBox>("seekLength")->setValue(4);
    EXPECT_EQ(Bar<QSlider>("seekSlider")->maximum(), 240);
    seekTime->setFocus();
    seekTime->setValue(9);
    EXPECT_EQ(TimeText(), QStringLiteral("4.00 秒")) << "the field being typed in shows the time reached";

    // Paused, edits and their undo show at the next tick, though the emitter has no texture.
    Slider(kBgR)->setValue(1000);
    Slider(kBgA)->setValue(1000);
    Ticks(1);
    EXPECT_EQ(ShownAtCentre(), 0xFFFF0000u);
    Panel().ExecuteCommand(kCmdUndo);
    Panel().ExecuteCommand(kCmdUndo);
    Ticks(1);
    // Still paused where it was.
    EXPECT_EQ(std::pair(ShownAtCentre() & 0x00FFFFFFu, TimeText()), std::pair(0u, QStringLiteral("4.00 秒")));

    // A new effect starts playing from 0.
    frame_->View().setFocus();
    Panel().ExecuteCommand(kCmdNew);
    EXPECT_EQ(std::pair(Transport().Playing(), TimeText()), std::pair(true, QStringLiteral("0.00 秒")));
}

TEST_F(TransportBarTest,
       SpaceRightAndHomeWorkOnThePreviewButNotInThePanelOrTheSeedFieldWhoseSeedIsAnUndoableEdit) {
    ShowActive();
    COrvView& view = frame_->View();
    Ticks(7);
    view.setFocus();
    const auto press = [](QWidget* widget, std::initializer_list<Qt::Key> keys) {
        for (Qt::Key key : keys) QTest::keyClick(widget, key);
    };
    press(&view, {Qt::Key_Space});
    EXPECT_EQ(std::pair(Transport().Playing(), Bar<QToolButton>("step")->isEnabled()),
              std::pair(false, true));
    const double paused = Transport().Time();
    press(&view, {Qt::Key_Right, Qt::Key_Right});
    EXPECT_DOUBLE_EQ(Transport().Time(), paused + 2.0 / 60);
    press(&view, {Qt::Key_Home});
    EXPECT_EQ(Transport().Time(), 0.0);
    press(&view, {Qt::Key_Space});
    EXPECT_EQ(std::pair(Transport().Playing(), Bar<QToolButton>("step")->isEnabled()),
              std::pair(true, false));

    // A panel slider keeps its arrow keys; Space and Home do not reach the transport either.
    QSlider* slider = Slider(kMaxParticles);
    slider->setFocus();
    press(slider, {Qt::Key_Space, Qt::Key_Right, Qt::Key_Home, Qt::Key_Right});
    // Home took the slider to its start.
    EXPECT_EQ(std::pair(Transport().Playing(), slider->value()), std::pair(true, slider->minimum() + 1));

    // The bar's own fields keep the keys they edit with. The seed is an edit of the effect that can
    // be undone; the field, left, fixes its seed, and text that is no seed is replaced.
    QCheckBox* fixed = Bar<QCheckBox>("fixedSeed");
    QLineEdit* seed = Bar<QLineEdit>("seed");
    fixed->click();
    EXPECT_EQ(TheEffect().Seed(), std::optional<std::uint64_t>(0));
    seed->setFocus();
    seed->setText(QStringLiteral("12"));
    press(seed, {Qt::Key_Home, Qt::Key_Space, Qt::Key_Right, Qt::Key_3});
    EXPECT_EQ(std::pair(seed->text(), Transport().Playing()), std::pair(QStringLiteral(" 132"), true));
    view.setFocus();
    EXPECT_EQ(TheEffect().Seed(), std::optional<std::uint64_t>(132));
    // (Which texts are seeds is the seed parser's test.)
    seed->setFocus();
    seed->setText(QStringLiteral("-5"));
    QTest::keyClick(seed, Qt::Key_Return);
    EXPECT_EQ(std::pair(TheEffect().Seed(), seed->text()),
              std::pair(std::optional<std::uint64_t>(132), QStringLiteral("132")));

    view.setFocus();
    Panel().ExecuteCommand(kCmdUndo);
    EXPECT_EQ(std::pair(seed->text(), fixed->isChecked()), std::pair(QStringLiteral("0"), true));
    Panel().ExecuteCommand(kCmdUndo);
    EXPECT_FALSE(fixed->isChecked());
    Panel().ExecuteCommand(kCmdRedo);
    fixed->click();
    EXPECT_FALSE(TheEffect().Seed());
}

}  // namespace
}  // namespace orv
