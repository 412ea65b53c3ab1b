#pragma once

#include <cstddef>
#include <string_view>

#include "effectfile/effect_loading.h"
#include "interop/particle_files.h"
#include "vesk/translatable.h"

namespace orv {

// Caption of the message that lists what an import approximated, clamped or dropped.
inline constexpr char16_t kImportReportCaption[] = ORV_TR_NOOP16("orv", "インポート");

// Opens a .plist, .pex or .p file as the editor's Open (`merge` false) or merge-load (true)
// does with an .orv file: the file's emitters replace or join the effect's, restarted as
// endless; the background stays. When the mapping was not exact, `message` lists every value
// approximated, clamped or dropped. A file that fails to import leaves the effect as it was and
// `message` says why.
LoadOutcome ImportEffect(Effect& effect, std::u16string_view path, bool merge, FrameSize frame);

// Open and merge-load of any effect file: engine files by ImportEffect, others by LoadEffect.
LoadOutcome LoadAnyEffect(Effect& effect, std::u16string_view path, bool merge, FrameSize frame);

}  // namespace orv
