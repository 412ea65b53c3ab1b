#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "editor/edit_command.h"
#include "editor/step_names.h"

namespace orv {

// The effect's seed set, changed or removed (the render dialog's "シード固定"); Apply and Revert
// each swap the effect's seed with the one held here.
class SeedEdit final : public EditCommand {
public:
    explicit SeedEdit(std::optional<std::uint64_t> after) : other_(after) {}
    void Apply(DocumentState& state) override { Swap(state); }
    void Revert(DocumentState& state) override { Swap(state); }
    Emitter* FocusAfter(DocumentState&, bool) const override { return nullptr; }
    std::u16string Name() const override { return step_name::kSeed; }

private:
    void Swap(DocumentState& state) {
        const std::optional<std::uint64_t> current = state.effect.Seed();
        state.effect.SetSeed(other_);
        other_ = current;
    }

    std::optional<std::uint64_t> other_;
};

}  // namespace orv
