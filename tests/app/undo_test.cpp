#include <QApplication>
#include <QKeySequence>
#include <QTimer>

#include "tests/app/app_test_support.h"

// Undo and redo from the keyboard and the menu, the unsaved-changes mark and question and the
// list's highlight, driven through the window.
namespace orv {
namespace {

class UndoTest : public test::EditorTest {
protected:
    // The texts and enabled states of menu 205's first two entries.
    std::vector<std::pair<QString, bool>> HistoryEntries() {
        const std::unique_ptr<QMenu> menu = Panel().MakeMainMenu();
        return {{menu->actions().at(0)->text(), menu->actions().at(0)->isEnabled()},
                {menu->actions().at(1)->text(), menu->actions().at(1)->isEnabled()}};
    }
    // Closes the list menu a right click opens, once it shows.
    void ClickAndCloseMenu(QWidget* widget, Qt::MouseButton button, QPoint at) {
        if (button == Qt::RightButton) {
            QTimer::singleShot(50, [] {
                if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            });
        }
        QTest::mouseClick(widget, button, Qt::NoModifier, at);
    }
};

// (How edits group into steps is the document's test; here the slider's keys and drags reach it.)
TEST_F(UndoTest, KeyboardStepsAreOneStepThatTheShortcutsUndoAndRedo) {
    ShowActive();
    QSlider* slider = Slider(kMaxParticles);
    slider->setFocus();
    const int start = slider->value();
    // Three arrow steps on one row are one step, which each shortcut undoes or redoes.
    const std::pair<const char*, int> keys[] = {{"Right", 1},       {"Right", 2},  {"Right", 3},
                                                {"Ctrl+Z", 0},      {"Ctrl+Y", 3}, {"Ctrl+Z", 0},
                                                {"Ctrl+Shift+Z", 3}};
    for (auto [key, steps] : keys) {
        const QKeyCombination pressed = QKeySequence::fromString(QString::fromLatin1(key))[0];
        QTest::keyClick(slider, pressed.key(), pressed.keyboardModifiers());
        EXPECT_EQ(std::pair(slider->value(), Current().params.raw[kMaxParticles]),
                  std::pair(start + steps, start + steps))
            << key;
    }

    // A drag is one step from press to release; the next press starts another.
    slider->setSliderDown(true);
    for (int i = 1; i <= 5; ++i) slider->setValue(start + 3 + i * 10);
    slider->setSliderDown(false);
    QTest::keyClick(slider, Qt::Key_Right);
    for (const int expected : {start + 53, start + 3}) {
        Panel().ExecuteCommand(kCmdUndo);
        EXPECT_EQ(slider->value(), expected);
    }
}

TEST_F(UndoTest, TheMenuNamesTheStepsAndTheTitleMarksUnsavedChangesUntilSavedOrUndone) {
    using Entries = std::vector<std::pair<QString, bool>>;
    EXPECT_EQ(HistoryEntries(), (Entries{{"元に戻す", false}, {"やり直し", false}}));
    Slider(kMaxParticles)->setValue(Slider(kMaxParticles)->value() + 1);
    Find<QComboBox>(kIdBlendCombo)->setCurrentIndex(1);
    Panel().ExecuteCommand(kCmdUndo);
    EXPECT_EQ(HistoryEntries(), (Entries{{"元に戻す : 最大個数", true}, {"やり直し : ブレンド方法", true}}));
    EXPECT_EQ(Find<QComboBox>(kIdBlendCombo)->currentIndex(), 0);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("orv*")) << "at once, not after 100 ticks";
    Ticks(101);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("orv* - MAX FPS 100000"));
    Panel().ExecuteCommand(kCmdUndo);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("orv - MAX FPS 100000"));

    Panel().OpenEffectPath(ToU16(test::kFire));
    Slider(kMaxParticles)->setValue(Slider(kMaxParticles)->value() + 1);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("orv - fire.orv* - MAX FPS 100000"));
    Run(kCmdSaveAs, PathOf("copy.orv"));
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("orv - copy.orv - MAX FPS 100000"));
}

// One row per answer: whether New went ahead, what was saved.
TEST_F(UndoTest, ReplacingOrClosingAModifiedEffectAsksFirst) {
    struct Case {
        const char* what;
        SaveChoice answer;
        std::optional<QString> savePath;  // what Save As is answered
        bool proceeds;
    };
    const QString saved = PathOf("kept.orv");
    for (const Case& c : {Case{"cancel", SaveChoice::kCancel, std::nullopt, false},
                          Case{"discard", SaveChoice::kDiscard, std::nullopt, true},
                          Case{"save as", SaveChoice::kSave, saved, true},
                          Case{"save as cancelled", SaveChoice::kSave, std::nullopt, false},
                          Case{"save failed", SaveChoice::kSave, PathOf("none/x.orv"), false}}) {
        SCOPED_TRACE(c.what);
        SetUp();
        Panel().ExecuteCommand(kCmdNew);
        EXPECT_EQ(prompts_->saveQuestions, 0) << "nothing to lose, no question";
        AddEmitters({"b"});
        prompts_->saveChoices = {c.answer};
        Run(kCmdNew, c.savePath);
        EXPECT_EQ(std::tuple(prompts_->saveQuestions, TheEffect().Count(), Panel().Document().IsModified()),
                  std::tuple(1, c.proceeds ? 1u : 2u, !c.proceeds));
    }
    EXPECT_TRUE(QFile::exists(saved));

    // Closing, the drop of an effect file and Open ask the same question.
    Slider(kBgB)->setValue(100);
    const int pathQuestions = prompts_->pathQuestions;
    frame_->show();
    prompts_->saveChoices = {SaveChoice::kCancel, SaveChoice::kCancel, SaveChoice::kCancel};
    EXPECT_FALSE(frame_->close());  // the window stays
    Panel().OpenDroppedFile(ToU16(test::kFire));
    Panel().ExecuteCommand(kCmdOpen);
    EXPECT_EQ(std::pair(prompts_->saveQuestions, prompts_->pathQuestions), std::pair(4, pathQuestions))
        << "Open was abandoned before its dialog";
    EXPECT_NE(ToQString(Panel().CurrentFilePath()), test::kFire);
    prompts_->saveChoices = {SaveChoice::kDiscard};
    EXPECT_TRUE(frame_->close());
}

TEST_F(UndoTest, TheHighlightAlwaysMarksTheEditedEmitter) {
    ShowActive();
    AddEmitters({"b", "c"});
    QListWidget* list = List();
    const QPoint empty(5, list->viewport()->height() - 3);
    ASSERT_EQ(list->itemAt(empty), nullptr);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        ClickAndCloseMenu(list->viewport(), button, empty);
        ASSERT_EQ(list->selectedItems().size(), 1);
        EXPECT_EQ(list->row(list->selectedItems().constFirst()), 2);
    }
    ClickAndCloseMenu(list->viewport(), Qt::RightButton, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(ListShown().second, 2) << "the right button only opens the menu";
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(list->selectedItems().size(), 1) << "Ctrl+click cannot take the highlight away";

    Panel().ExecuteCommand(kCmdMoveEmitterUp);
    EXPECT_EQ(ListShown().second, 1);
    Panel().ExecuteCommand(kCmdUndo);
    EXPECT_EQ(ListShown().second, 2);
}

}  // namespace
}  // namespace orv
