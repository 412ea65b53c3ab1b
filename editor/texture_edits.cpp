#include "editor/texture_edits.h"

#include <algorithm>
#include <utility>

#include "editor/step_names.h"

namespace orv {

TexturePtr CopyTexture(const Texture& texture) {
    auto copy = std::make_unique<Texture>();
    copy->kind = texture.kind;
    copy->indexed = texture.indexed;
    copy->palette = texture.palette;
    if (texture.colour) {
        const FrameBuffer& source = *texture.colour;
        FrameBuffer& target = copy->colour.emplace(source.Width(), source.Height());
        for (std::uint32_t y = 0; y < source.Height(); ++y)
            std::copy_n(source.Row(y), source.Width(), target.Row(y));
    }
    return copy;
}

TextureEdit::TextureEdit(std::u16string name, Emitter& emitter, TextureSettings after)
    : name_(std::move(name)), emitter_(emitter), other_(std::move(after)) {}

void TextureEdit::Swap() {
    std::swap(emitter_.texture, other_);
}

BackgroundImageEdit::BackgroundImageEdit(TexturePtr after)
    : name_(after ? step_name::kSetBackgroundImage : step_name::kReleaseBackgroundImage), other_(std::move(after)) {}

}  // namespace orv
