#include "editor/seed_edit.h"

#include "editor/step_names.h"

namespace orv {

SeedEdit::SeedEdit(std::optional<std::uint64_t> before, std::optional<std::uint64_t> after)
    : before_(before), after_(after) {}

std::u16string SeedEdit::Name() const {
    return step_name::kSeed;
}

}  // namespace orv
