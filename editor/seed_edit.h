#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/edit_command.h"

namespace orv {

// The effect's seed set, changed or removed ("シード固定" and its field).
class SeedEdit final : public EditCommand {
public:
    SeedEdit(std::optional<std::uint64_t> before, std::optional<std::uint64_t> after);

    void Apply(DocumentState& state) override { state.effect.SetSeed(after_); }
    void Revert(DocumentState& state) override { state.effect.SetSeed(before_); }
    Emitter* FocusAfter(DocumentState&, bool) const override { return nullptr; }
    std::u16string Name() const override;

private:
    std::optional<std::uint64_t> before_;
    std::optional<std::uint64_t> after_;
};

}  // namespace orv
