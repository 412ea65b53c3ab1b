#include "editor/values_edit.h"

#include <utility>

#include "engine/simulation.h"

namespace orv {

EditedValues ValuesOf(const Effect& effect, const Emitter& emitter) {
    return {emitter.params, BackgroundOf(effect)};
}

BackgroundRaws BackgroundOf(const Effect& effect) {
    BackgroundRaws background{};
    for (std::size_t row = kBgR; row <= kBgA; ++row) background[row - kBgR] = effect.BackgroundRaw(row);
    return background;
}

void SetBackground(Effect& effect, const BackgroundRaws& background) {
    for (std::size_t row = kBgR; row <= kBgA; ++row) effect.SetBackgroundRaw(row, background[row - kBgR]);
}

ValuesEdit::ValuesEdit(std::u16string name, Emitter& emitter, EditedValues before, EditedValues after,
                       std::optional<std::size_t> mergeRow, Restart restart)
    : name_(std::move(name)),
      emitter_(emitter),
      before_(std::move(before)),
      after_(std::move(after)),
      mergeRow_(mergeRow),
      restart_(restart) {}

void ValuesEdit::Apply(DocumentState& state) {
    Put(state, after_);
    if (restart_ == Restart::kYes) {
        // As the reset button always did: particles freed, every value re-derived, endless.
        ClearEmitter(emitter_);
        ApplyRawValues(emitter_);
        RestartEmitter(emitter_);
        RearmEmitter(emitter_, 0);
    }
}

void ValuesEdit::Revert(DocumentState& state) {
    Put(state, before_);
}

void ValuesEdit::Put(DocumentState& state, const EditedValues& values) {
    const EmitterParams previous = std::exchange(emitter_.params, values.params);
    for (std::size_t row = 0; row < kEmitterParamCount; ++row) {
        if (previous.raw[row] == values.params.raw[row]) continue;
        SetParam(emitter_, row, values.params.raw[row]);
        // A new duration takes effect once the emitter's particles have died, as with a slider.
        if (row == kDuration) emitter_.runtime.remainingDuration = 0;
    }
    SetBackground(state.effect, values.background);
}

bool ValuesEdit::MergeWith(const EditCommand& next) {
    const auto* other = dynamic_cast<const ValuesEdit*>(&next);
    if (other == nullptr || !mergeRow_ || other->mergeRow_ != mergeRow_ || &other->emitter_ != &emitter_)
        return false;
    after_ = other->after_;
    return true;
}

}  // namespace orv
