#include "export/output_folder.h"

#include <filesystem>
#include <system_error>

#include "vesk/path_utils.h"

namespace orv {

OutputFolderResult CreateOutputFolder(std::u16string_view outputBasePath) {
    OutputFolderResult result;
    result.folder = vesk::GetDirectoryPart(outputBasePath);
    if (result.folder.empty()) return result;

    std::filesystem::path native;
    if (!vesk::ToNativePath(result.folder, native)) {
        result.outcome = OutputFolderResult::Outcome::kInvalidName;
        return result;
    }
    std::error_code error;
    if (std::filesystem::is_directory(native, error)) return result;
    std::filesystem::create_directories(native, error);
    // Another process may have made it meanwhile; what counts is that it is there now.
    if (std::filesystem::is_directory(native)) return result;
    result.outcome = OutputFolderResult::Outcome::kCannotCreate;
    if (error) result.reason = error.message();
    return result;
}

}  // namespace orv
