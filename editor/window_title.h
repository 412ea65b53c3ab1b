#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// The main window's title: "orv - <file name> - MAX FPS <rate>\n", or "orv - MAX FPS <rate>\n"
// without a current file, and just "orv" until a rate was measured. Unsaved changes put "*"
// after the file name, or after "orv" without a file: "orv - fire.orv* - MAX FPS 131\n".
std::u16string WindowTitle(std::u16string_view currentFile, std::optional<std::uint32_t> maxFrameRate,
                           bool modified);

}  // namespace orv
