#include "editor/undo_history.h"

#include <algorithm>
#include <utility>

namespace orv {

UndoHistory::UndoHistory(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {}

void UndoHistory::Record(std::unique_ptr<EditCommand> command, bool continuing) {
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
    if (saved_ && *saved_ > position_) saved_.reset();

    if (continuing && mergeOpen_ && position_ > 0 && steps_.back()->MergeWith(*command)) {
        if (steps_.back()->IsObsolete()) {
            steps_.pop_back();
            --position_;
            // The step the drag continued is gone; what comes next starts a step of its own
            // rather than merging into the unrelated step now on top.
            mergeOpen_ = false;
        }
        return;
    }
    steps_.push_back(std::move(command));
    ++position_;
    Trim();
    mergeOpen_ = continuing;
}

void UndoHistory::Trim() {
    while (steps_.size() > limit_) {
        steps_.pop_front();
        --position_;
        if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
    }
}

EditCommand* UndoHistory::Undo(DocumentState& state) {
    mergeOpen_ = false;
    if (position_ == 0) return nullptr;
    EditCommand* step = steps_[--position_].get();
    step->Revert(state);
    return step;
}

EditCommand* UndoHistory::Redo(DocumentState& state) {
    mergeOpen_ = false;
    if (position_ == steps_.size()) return nullptr;
    EditCommand* step = steps_[position_++].get();
    step->Apply(state);
    return step;
}

const EditCommand* UndoHistory::NextUndo() const {
    return position_ == 0 ? nullptr : steps_[position_ - 1].get();
}

const EditCommand* UndoHistory::NextRedo() const {
    return position_ == steps_.size() ? nullptr : steps_[position_].get();
}

void UndoHistory::Clear() {
    steps_.clear();
    position_ = 0;
    saved_ = 0;
    mergeOpen_ = false;
}

void UndoHistory::MarkSaved() {
    saved_ = position_;
    mergeOpen_ = false;
}

bool UndoHistory::IsModified() const {
    if (!saved_) return true;
    const std::size_t from = std::min(*saved_, position_);
    const std::size_t to = std::max(*saved_, position_);
    for (std::size_t i = from; i < to; ++i) {
        if (steps_[i]->ChangesFile()) return true;
    }
    return false;
}

}  // namespace orv
