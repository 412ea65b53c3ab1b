#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>

#include "editor/edit_command.h"

namespace orv {

// The undo history: the steps done (before the position) and undone (after it), the position the
// file was last saved at, and whether the next edit may continue the last step.
class UndoHistory {
public:
    static constexpr std::size_t kDefaultLimit = 1000;

    // Keeps the `limit` most recent steps (at least 1).
    explicit UndoHistory(std::size_t limit = kDefaultLimit);

    // Records a step that has just been applied; the undone steps are dropped. A `continuing`
    // edit is merged into the last step when that step accepts it and nothing else happened
    // since; a merge that leaves the step changing nothing drops the step.
    void Record(std::unique_ptr<EditCommand> applied, bool continuing);

    // Reverts the last step done / applies the next step undone; null when there is none.
    EditCommand* Undo(DocumentState& state);
    EditCommand* Redo(DocumentState& state);

    const EditCommand* NextUndo() const;
    const EditCommand* NextRedo() const;
    std::size_t UndoCount() const { return position_; }
    std::size_t RedoCount() const { return steps_.size() - position_; }

    // Forgets every step; the state as it is counts as saved.
    void Clear();
    // The state as it is now was saved.
    void MarkSaved();
    // The next edit starts a step of its own (a drag ended, a value was typed).
    void EndMerging() { mergeOpen_ = false; }

    // Some step between the saved position and the current one changes the file, or the saved
    // position is gone from the history.
    bool IsModified() const;

private:
    void Trim();

    std::deque<std::unique_ptr<EditCommand>> steps_;
    std::size_t position_ = 0;           // steps_[0, position_) are applied
    std::optional<std::size_t> saved_ = 0;  // the position the file matches
    bool mergeOpen_ = false;
    std::size_t limit_;
};

}  // namespace orv
