#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/edit_command.h"

namespace orv {

using BackgroundRaws = std::array<std::int32_t, kBackgroundParamCount>;

// Everything the panel's rows, choices and flags hold for one emitter, plus the effect's
// background colour rows.
struct EditedValues {
    EmitterParams params;
    BackgroundRaws background{};
    bool operator==(const EditedValues&) const = default;
};

EditedValues ValuesOf(const Effect& effect, const Emitter& emitter);
BackgroundRaws BackgroundOf(const Effect& effect);
void SetBackground(Effect& effect, const BackgroundRaws& background);

// A change of an emitter's raw values, choices and flags and of the background colour: a slider,
// a typed number, a combo, a check box, the preview's double-click and selection commands, the
// panel's reset. Only the rows that change are re-derived, so the particles keep running as they
// do when a slider moves.
class ValuesEdit final : public EditCommand {
public:
    enum class Restart { kNo, kYes };  // kYes: the reset, which restarts the emitter as endless

    // `mergeRow`: successive edits of this row of the same emitter may become one step.
    ValuesEdit(std::u16string name, Emitter& emitter, EditedValues before, EditedValues after,
               std::optional<std::size_t> mergeRow = std::nullopt, Restart restart = Restart::kNo);

    void Apply(DocumentState& state) override;
    void Revert(DocumentState& state) override;
    Emitter* FocusAfter(DocumentState&, bool) const override { return &emitter_; }
    std::u16string Name() const override { return name_; }
    bool MergeWith(const EditCommand& next) override;
    bool IsObsolete() const override { return before_ == after_; }

private:
    void Put(DocumentState& state, const EditedValues& values);

    std::u16string name_;
    Emitter& emitter_;
    EditedValues before_;
    EditedValues after_;
    std::optional<std::size_t> mergeRow_;
    Restart restart_;
};

}  // namespace orv
