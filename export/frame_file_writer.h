#pragma once

#include <optional>
#include <string>

#include "image/png_compression.h"
#include "render/frame_buffer.h"

namespace orv {

// Writes one rendered frame as a PNG file. Returns nothing when every byte reached the file, else
// the text that tells the user which file and why (UTF-8). A file this call created but could not
// finish is removed, so a failed frame leaves no truncated picture behind.
std::optional<std::string> WriteFrameFile(const std::u16string& fileName, const FrameBuffer& frame,
                                          PngCompression compression);

// Removes a frame file written earlier; a file that is already gone is no error.
void RemoveFrameFile(const std::u16string& fileName);

}  // namespace orv
