#include "image/file_open.h"

#include <filesystem>

#include "vesk/path_utils.h"

namespace orv {

FilePtr OpenFile(const std::u16string& path, const char* mode) {
    std::filesystem::path native;
    if (!vesk::ToNativePath(path, native) || native.empty()) return nullptr;
    return FilePtr(std::fopen(native.c_str(), mode));
}

bool CloseFileChecked(FilePtr file) {
    std::FILE* raw = file.release();
    const bool flushed = std::fflush(raw) == 0 && std::ferror(raw) == 0;
    const bool closed = std::fclose(raw) == 0;
    return flushed && closed;
}

}  // namespace orv
