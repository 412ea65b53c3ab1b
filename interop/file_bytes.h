#pragma once

#include <filesystem>
#include <string_view>

#include "interop/embedded_data.h"

namespace orv {

// Largest particle file read.
inline constexpr std::size_t kMaxParticleFileBytes = 256u << 20;

// The whole file. Throws std::runtime_error naming the file when it cannot be read or is larger
// than `limit`.
Bytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit = kMaxParticleFileBytes);

// Replaces `path` with `bytes` once they are all on disk (an interrupted write leaves the old
// file). Throws std::runtime_error naming the file on failure.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace orv
