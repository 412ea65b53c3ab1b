#pragma once

#include <string>

#include "editor/edit_command.h"

namespace orv {

// A picture of its own with the same pixels.
TexturePtr CopyTexture(const Texture& texture);

// An emitter's texture replaced as a whole (the texture dialog's result, a dropped picture);
// Apply and Revert each swap the emitter's texture with the one held here.
class TextureEdit final : public EditCommand {
public:
    TextureEdit(std::u16string name, Emitter& emitter, TextureSettings after);
    void Apply(DocumentState&) override { Swap(); }
    void Revert(DocumentState&) override { Swap(); }
    Emitter* FocusAfter(DocumentState&, bool) const override { return &emitter_; }
    std::u16string Name() const override { return name_; }

private:
    void Swap();

    std::u16string name_;
    Emitter& emitter_;
    TextureSettings other_;
};

// The background image set or released. The image is not part of the file.
class BackgroundImageEdit final : public EditCommand {
public:
    // A null image releases the current one.
    explicit BackgroundImageEdit(TexturePtr after);
    void Apply(DocumentState& state) override { std::swap(state.backgroundImage, other_); }
    void Revert(DocumentState& state) override { std::swap(state.backgroundImage, other_); }
    Emitter* FocusAfter(DocumentState&, bool) const override { return nullptr; }
    std::u16string Name() const override { return name_; }
    bool ChangesFile() const override { return false; }

private:
    std::u16string name_;
    TexturePtr other_;
};

}  // namespace orv
