#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/edit_command.h"
#include "editor/values_edit.h"

namespace orv {

// Adding an emitter (present after Apply) or deleting one (absent after Apply). The emitter,
// while out of the effect, is held here with its list name, texture and particles.
class EmitterPresenceEdit final : public EditCommand {
public:
    enum class Kind { kAdd, kDelete };

    // kAdd: `entry` is the new emitter, inserted at `index`. kDelete: the emitter at `index` is
    // taken out on Apply; `entry` stays empty until then.
    EmitterPresenceEdit(Kind kind, std::size_t index, Effect::Entry entry, Emitter& emitter, Emitter* previousCurrent);

    void Apply(DocumentState& state) override;
    void Revert(DocumentState& state) override;
    Emitter* FocusAfter(DocumentState& state, bool applied) const override;
    std::u16string Name() const override;

private:
    void Insert(DocumentState& state);
    void Take(DocumentState& state);

    Kind kind_;
    std::size_t index_;
    Effect::Entry held_;
    Emitter& emitter_;
    Emitter* previousCurrent_;
};

// A new list name for an emitter.
class RenameEdit final : public EditCommand {
public:
    RenameEdit(Emitter& emitter, std::u16string before, std::u16string after);
    void Apply(DocumentState& state) override;
    void Revert(DocumentState& state) override;
    Emitter* FocusAfter(DocumentState&, bool) const override { return &emitter_; }
    std::u16string Name() const override;

private:
    Emitter& emitter_;
    std::u16string before_;
    std::u16string after_;
};

// An emitter one place earlier or later in the list.
class MoveEdit final : public EditCommand {
public:
    enum class Direction { kUp, kDown };
    MoveEdit(Emitter& emitter, Direction direction);
    void Apply(DocumentState& state) override;
    void Revert(DocumentState& state) override;
    Emitter* FocusAfter(DocumentState&, bool) const override { return &emitter_; }
    std::u16string Name() const override;

private:
    void Move(DocumentState& state, Direction direction);

    Emitter& emitter_;
    Direction direction_;
};

// A merge-load, recorded once it has happened: the file's emitters appended at the end, its
// background colour, its path as the current file.
// What a merged file changes besides the emitters it appends: the background colour, the seed
// and the current file.
struct FileSide {
    BackgroundRaws background;
    std::optional<std::uint64_t> seed;
    std::u16string path;

    static FileSide Of(const DocumentState& state);
    void RestoreTo(DocumentState& state) const;
};

class MergeLoadEdit final : public EditCommand {
public:
    MergeLoadEdit(std::size_t firstAdded, FileSide before, const DocumentState& after, Emitter* previousCurrent);
    void Apply(DocumentState& state) override;
    void Revert(DocumentState& state) override;
    Emitter* FocusAfter(DocumentState& state, bool applied) const override;
    std::u16string Name() const override;

private:
    std::size_t firstAdded_;
    std::vector<Effect::Entry> held_;  // the appended emitters while reverted
    std::size_t addedCount_;
    FileSide before_;
    FileSide after_;
    Emitter* previousCurrent_;
};

}  // namespace orv
