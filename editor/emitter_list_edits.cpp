#include "editor/emitter_list_edits.h"

#include <utility>

#include "editor/step_names.h"

namespace orv {

namespace {

// The emitter if it is in the effect, else the first one.
Emitter* PresentOrFirst(DocumentState& state, Emitter* emitter) {
    if (emitter != nullptr && state.effect.IndexOf(*emitter)) return emitter;
    return &state.effect.EmitterAt(0);
}

}  // namespace

// ---- Add and delete --------------------------------------------------------------------------

EmitterPresenceEdit::EmitterPresenceEdit(Kind kind, std::size_t index, Effect::Entry entry, Emitter& emitter,
                                         Emitter* previousCurrent)
    : kind_(kind), index_(index), held_(std::move(entry)), emitter_(emitter), previousCurrent_(previousCurrent) {}

void EmitterPresenceEdit::Apply(DocumentState& state) {
    if (kind_ == Kind::kAdd) {
        Insert(state);
    } else {
        Take(state);
    }
}

void EmitterPresenceEdit::Revert(DocumentState& state) {
    if (kind_ == Kind::kAdd) {
        Take(state);
    } else {
        Insert(state);
    }
}

void EmitterPresenceEdit::Insert(DocumentState& state) {
    if (held_.emitter) state.effect.InsertEmitter(index_, std::move(held_));
}

void EmitterPresenceEdit::Take(DocumentState& state) {
    if (const auto index = state.effect.IndexOf(emitter_)) held_ = state.effect.TakeEmitter(*index);
}

// A deletion leaves the first emitter current, as the delete command does; its undo shows the
// emitter that came back. Undoing an add returns to the emitter edited before.
Emitter* EmitterPresenceEdit::FocusAfter(DocumentState& state, bool applied) const {
    const bool present = (kind_ == Kind::kAdd) == applied;
    if (present) return &emitter_;
    return kind_ == Kind::kAdd ? PresentOrFirst(state, previousCurrent_) : &state.effect.EmitterAt(0);
}

std::u16string EmitterPresenceEdit::Name() const {
    return kind_ == Kind::kAdd ? step_name::kAdd : step_name::kDelete;
}

// ---- Rename ----------------------------------------------------------------------------------

RenameEdit::RenameEdit(Emitter& emitter, std::u16string before, std::u16string after)
    : emitter_(emitter), before_(std::move(before)), after_(std::move(after)) {}

void RenameEdit::Apply(DocumentState& state) {
    if (const auto index = state.effect.IndexOf(emitter_)) state.effect.RenameEmitter(*index, after_);
}

void RenameEdit::Revert(DocumentState& state) {
    if (const auto index = state.effect.IndexOf(emitter_)) state.effect.RenameEmitter(*index, before_);
}

std::u16string RenameEdit::Name() const {
    return step_name::kRename;
}

// ---- Up and down -----------------------------------------------------------------------------

MoveEdit::MoveEdit(Emitter& emitter, Direction direction) : emitter_(emitter), direction_(direction) {}

void MoveEdit::Apply(DocumentState& state) {
    Move(state, direction_);
}

void MoveEdit::Revert(DocumentState& state) {
    Move(state, direction_ == Direction::kUp ? Direction::kDown : Direction::kUp);
}

void MoveEdit::Move(DocumentState& state, Direction direction) {
    const auto index = state.effect.IndexOf(emitter_);
    if (!index) return;
    if (direction == Direction::kUp) {
        state.effect.MoveEmitterUp(*index);
    } else {
        state.effect.MoveEmitterDown(*index);
    }
}

std::u16string MoveEdit::Name() const {
    return direction_ == Direction::kUp ? step_name::kMoveUp : step_name::kMoveDown;
}

// ---- Merge-load ------------------------------------------------------------------------------

FileSide FileSide::Of(const DocumentState& state) {
    return {BackgroundOf(state.effect), state.effect.Seed(), state.filePath};
}

void FileSide::RestoreTo(DocumentState& state) const {
    SetBackground(state.effect, background);
    state.effect.SetSeed(seed);
    state.filePath = path;
}

MergeLoadEdit::MergeLoadEdit(std::size_t firstAdded, FileSide before, const DocumentState& after,
                             Emitter* previousCurrent)
    : firstAdded_(firstAdded),
      addedCount_(after.effect.Count() - firstAdded),
      before_(std::move(before)),
      after_(FileSide::Of(after)),
      previousCurrent_(previousCurrent) {}

void MergeLoadEdit::Apply(DocumentState& state) {
    for (std::size_t i = 0; i < held_.size(); ++i) state.effect.InsertEmitter(firstAdded_ + i, std::move(held_[i]));
    held_.clear();
    after_.RestoreTo(state);
}

void MergeLoadEdit::Revert(DocumentState& state) {
    held_.clear();
    for (std::size_t i = 0; i < addedCount_; ++i) held_.push_back(state.effect.TakeEmitter(firstAdded_));
    before_.RestoreTo(state);
}

Emitter* MergeLoadEdit::FocusAfter(DocumentState& state, bool applied) const {
    return applied ? &state.effect.EmitterAt(0) : PresentOrFirst(state, previousCurrent_);
}

std::u16string MergeLoadEdit::Name() const {
    return step_name::kMergeLoad;
}

}  // namespace orv
