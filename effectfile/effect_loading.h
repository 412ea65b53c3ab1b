#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "effectfile/editor_message.h"
#include "engine/effect.h"

namespace orv {

// What a load leaves for the editor to show.
struct LoadOutcome {
    // The file was read and its emitters are in the effect (replacing or appended). When false
    // the effect is exactly as before and `message` says why; the current-file path must not
    // change then, or a later save would overwrite the file that failed to load.
    bool loaded = false;
    // Some emitter received a texture image (the editor refreshes what shows images).
    bool texturesLoaded = false;
    std::vector<std::u16string> listNames;  // the emitter list after the operation
    std::size_t selection = 0;              // the list entry to select and edit
    std::optional<EditorMessage> message;   // to show in a message box
};

// Opens the effect file at `path` and either replaces the effect's emitters (`merge` false) or
// appends the file's emitters to them (`merge` true). Either way the background becomes the
// file's (0 for absent keys; a value outside 0.000..1.000 keeps the previous one), so does the
// seed (a merged file without one keeps the effect's), every
// texture is resolved against the file's folder and loaded, and every new emitter is restarted
// as endless. The file is read and parsed before the effect is touched.
LoadOutcome LoadEffect(Effect& effect, std::u16string_view path, bool merge);

}  // namespace orv
