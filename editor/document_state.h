#pragma once

#include <string>

#include "engine/effect.h"
#include "image/texture.h"

namespace orv {

// What the editor's edits change: the effect, the background image shown behind it and the file
// the effect belongs to.
struct DocumentState {
    Effect effect;
    TexturePtr backgroundImage;
    std::u16string filePath;  // empty while no file is current
};

}  // namespace orv
