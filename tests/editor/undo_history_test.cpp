#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/undo_history.h"

namespace orv {
namespace {

// A step that adds to a counter; `file` says whether it counts as a change of the file.
class CountStep final : public EditCommand {
public:
    CountStep(int& counter, int amount, bool file, bool merges = false)
        : counter_(counter), amount_(amount), file_(file), merges_(merges) {}
    void Apply(DocumentState&) override { counter_ += amount_; }
    void Revert(DocumentState&) override { counter_ -= amount_; }
    Emitter* FocusAfter(DocumentState&, bool) const override { return nullptr; }
    std::u16string Name() const override { return u"count"; }
    bool ChangesFile() const override { return file_; }
    bool MergeWith(const EditCommand& next) override {
        const auto* other = dynamic_cast<const CountStep*>(&next);
        if (!merges_ || other == nullptr) return false;
        amount_ += other->amount_;
        return true;
    }
    bool IsObsolete() const override { return amount_ == 0; }

private:
    int& counter_;
    int amount_;
    bool file_;
    bool merges_;
};

class UndoHistoryTest : public ::testing::Test {
protected:
    void Do(int amount, bool file = true, bool merges = false) {
        auto step = std::make_unique<CountStep>(counter_, amount, file, merges);
        step->Apply(state_);
        history_.Record(std::move(step), merges);
    }
    DocumentState state_;
    int counter_ = 0;
    UndoHistory history_{3};
};

TEST_F(UndoHistoryTest, KeepsTheNewestStepsAndForgetsASavedPositionThatFellOut) {
    Do(1);
    history_.MarkSaved();
    for (int i = 0; i < 4; ++i) Do(10);
    EXPECT_EQ(history_.UndoCount(), 3u);
    while (history_.Undo(state_) != nullptr) {
    }
    EXPECT_EQ(counter_, 11);
    EXPECT_TRUE(history_.IsModified());
}

TEST_F(UndoHistoryTest, StepsOutsideTheFileLeaveItUnmodified) {
    Do(1, false);
    EXPECT_FALSE(history_.IsModified());
    Do(1, true);
    EXPECT_TRUE(history_.IsModified());
    history_.Undo(state_);
    EXPECT_FALSE(history_.IsModified());
    history_.MarkSaved();
    history_.Undo(state_);
    EXPECT_FALSE(history_.IsModified());
    history_.Redo(state_);
    history_.Redo(state_);
    EXPECT_TRUE(history_.IsModified());
}

TEST_F(UndoHistoryTest, ANewStepDropsTheUndoneOnesAndMergingStopsAtUndoAndSave) {
    Do(1);
    Do(2);
    history_.Undo(state_);
    Do(5);
    EXPECT_EQ(history_.RedoCount(), 0u);
    EXPECT_EQ(counter_, 6);

    Do(1, true, true);
    Do(1, true, true);
    EXPECT_EQ(history_.UndoCount(), 3u);
    history_.MarkSaved();
    Do(1, true, true);
    EXPECT_EQ(history_.UndoCount(), 3u) << "the oldest step made room";
    Do(-1, true, true);
    EXPECT_EQ(history_.UndoCount(), 2u) << "the continued step cancelled out and was dropped";
    EXPECT_FALSE(history_.IsModified());
    history_.Undo(state_);
    history_.Redo(state_);
    Do(1, true, true);
    Do(1, true, true);
    EXPECT_EQ(history_.UndoCount(), 3u) << "no merging across an undo";
    EXPECT_EQ(history_.RedoCount(), 0u);
    EXPECT_EQ(counter_, 10);
}

}  // namespace
}  // namespace orv
