#pragma once

#include <string>
#include <string_view>

namespace orv {

// Creates the folder that a render's frames go to (the folder part of the output base path,
// with its parents). A base without a folder part means the current folder: nothing to create.
struct OutputFolderResult {
    enum class Outcome { kReady, kInvalidName, kCannotCreate };
    Outcome outcome = Outcome::kReady;
    std::u16string folder;  // the folder part of the base path
    std::string reason;     // for kCannotCreate, the system's reason when it gave one (UTF-8)
};
OutputFolderResult CreateOutputFolder(std::u16string_view outputBasePath);

}  // namespace orv
