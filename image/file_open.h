#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace orv {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file named by a UTF-16 path with an fopen mode; null when the path cannot be
// converted or the system refuses the file.
FilePtr OpenFile(const std::u16string& path, const char* mode);

// Closes the file and reports whether every buffered byte reached it; a full disk often shows
// only here, after the last write call claimed success.
bool CloseFileChecked(FilePtr file);

}  // namespace orv
