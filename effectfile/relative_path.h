#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv {

// The folder text that leads from folder `fromDir` to folder `toDir`: "." when they are the same,
// otherwise a relative folder ending with a separator ("tex/", "../other/"). No result when the
// two have no common root (one absolute and one relative; on Windows, different drives). Both
// are compared lexically, without touching the file system.
std::optional<std::u16string> RelativeFolderPath(std::u16string_view fromDir, std::u16string_view toDir);

// How the texture at `texturePath` is named from the effect file at `effectPath`: its bare file
// name when both share a folder, the relative folder followed by the file name otherwise, and
// `texturePath` unchanged when no relative form exists. Separators are left as they are.
std::u16string MakeRelativePath(std::u16string_view effectPath, std::u16string_view texturePath);

}  // namespace orv
